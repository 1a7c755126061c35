#include "platform/errors.h"

#include "platform/text.h"

namespace platform {

AppError::AppError(std::wstring message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

std::wstring ErrorText(const std::exception& error)
{
    if (const auto* app = dynamic_cast<const AppError*>(&error))
        return app->message();
    return FromUtf8(error.what());
}

}  // namespace platform
