// The program's error type: a message for the user, shown by the default error handler.
#pragma once

#include <exception>
#include <string>

namespace platform {

class AppError : public std::exception {
public:
    explicit AppError(std::wstring message);
    const std::wstring& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::wstring message_;
    std::string utf8_;
};

// The text to show for any exception: AppError's own message, otherwise what() read as UTF-8.
std::wstring ErrorText(const std::exception& error);

}  // namespace platform
