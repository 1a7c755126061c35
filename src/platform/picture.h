// A bitmap decoded from picture file bytes (JPEG, and whatever else OLE's picture loader
// reads) or from a picture stored in the program's resources. Owns its bitmap.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

class Picture {
public:
    Picture() = default;
    ~Picture();
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // Empty when the bytes are no picture the loader can decode.
    static Picture FromBytes(const void* bytes, size_t size);
    // Empty when the file is missing, unreadable or no picture.
    static Picture FromFile(const std::wstring& path);
    // An RCDATA resource of the running program; empty when absent or undecodable.
    static Picture FromResource(int id);

    bool Empty() const { return bitmap_ == nullptr; }
    HBITMAP Handle() const { return bitmap_; }
    SIZE Size() const;

private:
    explicit Picture(HBITMAP bitmap) : bitmap_(bitmap) {}

    HBITMAP bitmap_ = nullptr;
};

}  // namespace platform
