#include "support/http_test_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <stdexcept>

namespace testing_support {

namespace {

struct WinsockStartup {
    WinsockStartup()
    {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            throw std::runtime_error("WSAStartup failed");
    }
    ~WinsockStartup() { WSACleanup(); }
};

void StartWinsock() { static WinsockStartup startup; }

// A socket listening on 127.0.0.1 at a port the system chose; its port in `port`.
SOCKET ListenOnFreePort(int& port)
{
    StartWinsock();
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
        throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 8) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    return listener;
}

std::wstring UrlOf(int port, const std::string& path)
{
    return L"http://127.0.0.1:" + std::to_wstring(port) + std::wstring(path.begin(), path.end());
}

}  // namespace

HttpTestServer::HttpTestServer()
{
    listener_ = ListenOnFreePort(port_);
    thread_ = std::thread([this] { Run(); });
}

HttpTestServer::~HttpTestServer()
{
    stop_ = true;
    thread_.join();
    closesocket(listener_);
}

void HttpTestServer::Serve(const std::string& path, const std::string& body)
{
    std::lock_guard lock(mutex_);
    bodies_[path] = body;
}

int HttpTestServer::Requests(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    const auto found = requests_.find(path);
    return found == requests_.end() ? 0 : found->second;
}

std::wstring HttpTestServer::Url(const std::string& path) const { return UrlOf(port_, path); }

std::wstring HttpTestServer::UnservedUrl(const std::string& path)
{
    int port = 0;
    closesocket(ListenOnFreePort(port));
    return UrlOf(port, path);
}

void HttpTestServer::Run()
{
    while (!stop_) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval wait{0, 50000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        const SOCKET connection = accept(listener_, nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            continue;
        Answer(connection);
        closesocket(connection);
    }
}

void HttpTestServer::Answer(std::uintptr_t connection)
{
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        request.append(buffer, static_cast<size_t>(n));
    }
    // "GET /path HTTP/1.1"
    const size_t start = request.find(' ') + 1;
    const std::string path = request.substr(start, request.find(' ', start) - start);
    std::string response;
    {
        std::lock_guard lock(mutex_);
        ++requests_[path];
        const auto body = bodies_.find(path);
        if (body == bodies_.end())
            response = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        else
            response = "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nCache-Control: max-age=3600\r\nContent-Length: " +
                       std::to_string(body->second.size()) + "\r\nConnection: close\r\n\r\n" + body->second;
    }
    for (size_t sent = 0; sent < response.size();) {
        const int n = send(connection, response.data() + sent, static_cast<int>(response.size() - sent), 0);
        if (n <= 0)
            return;
        sent += static_cast<size_t>(n);
    }
    shutdown(connection, SD_SEND);
}

}  // namespace testing_support
