// A small HTTP server on 127.0.0.1 inside the test process: it answers GET requests for the
// paths it has been given and 404 for others, one request per connection.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace testing_support {

class HttpTestServer {
public:
    // Listens on a free port; throws std::runtime_error when it cannot.
    HttpTestServer();
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    // Serves `body` at `path` (which starts with "/") from now on.
    void Serve(const std::string& path, const std::string& body);
    // How many requests for `path` have come in.
    int Requests(const std::string& path) const;
    // "http://127.0.0.1:<port>" + path.
    std::wstring Url(const std::string& path) const;

    // An address on 127.0.0.1 at a port where nothing listens.
    static std::wstring UnservedUrl(const std::string& path);

private:
    void Run();
    void Answer(std::uintptr_t connection);

    std::uintptr_t listener_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, std::string> bodies_;
    std::map<std::string, int> requests_;
    std::thread thread_;
};

}  // namespace testing_support
