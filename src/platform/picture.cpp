#include "platform/picture.h"

#include <ocidl.h>
#include <olectl.h>

#include <utility>
#include <vector>

namespace platform {

namespace {

// Picture loaders read at most this much; larger files are no page pictures.
constexpr size_t kLargestPicture = 64u << 20;

// Decodes through IPicture and copies its bitmap, so the result outlives the picture object.
HBITMAP Decode(const void* bytes, size_t size)
{
    if (size == 0 || size > kLargestPicture)
        return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return nullptr;
    void* target = GlobalLock(memory);
    CopyMemory(target, bytes, size);
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    IPicture* picture = nullptr;
    HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || !picture)
        return nullptr;
    HBITMAP copy = nullptr;
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle))) {
        // OLE hands GDI handles over as 32-bit values.
        const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    picture->Release();
    return copy;
}

}  // namespace

Picture::~Picture()
{
    if (bitmap_)
        DeleteObject(bitmap_);
}

Picture::Picture(Picture&& other) noexcept : bitmap_(std::exchange(other.bitmap_, nullptr)) {}

Picture& Picture::operator=(Picture&& other) noexcept
{
    if (this != &other) {
        if (bitmap_)
            DeleteObject(bitmap_);
        bitmap_ = std::exchange(other.bitmap_, nullptr);
    }
    return *this;
}

Picture Picture::FromBytes(const void* bytes, size_t size) { return Picture(Decode(bytes, size)); }

Picture Picture::FromFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    LARGE_INTEGER size{};
    std::vector<char> bytes;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && static_cast<ULONGLONG>(size.QuadPart) <= kLargestPicture) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
            bytes.clear();
    }
    CloseHandle(file);
    return FromBytes(bytes.data(), bytes.size());
}

Picture Picture::FromResource(int id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? FromBytes(bytes, SizeofResource(module, found)) : Picture();
}

SIZE Picture::Size() const
{
    BITMAP info{};
    if (!bitmap_ || !GetObjectW(bitmap_, sizeof info, &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace platform
