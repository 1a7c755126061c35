// The pictures at the top of the welcome, scan, finished and scan-choice pages: the stored
// ones, and pgN.jpg from the program's folder in their place.
#include "ui_test_helpers.h"

#include "main_window_ids.h"
#include "support/test_support.h"

#include <gmock/gmock.h>

#include <map>

namespace ui_testing {
namespace {

// The pixels of a bitmap, top-down, 32 bits each.
std::vector<DWORD> PixelsOf(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return {};
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return pixels;
}

// The bytes of a stored picture, as a file of that name would hold them.
std::string StoredJpeg(int resourceId)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
    if (!found)
        return {};
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return std::string(bytes, SizeofResource(nullptr, found));
}

class PagePicturesTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        form.ProgramFolder = testing_support::TestDir();
    }
    HWND PictureOf(int page) const { return GetDlgItem(form.PageControl1.PageAt(page).Handle(), IDC_PAGE_PICTURE); }
    HBITMAP ShownOn(int page) const
    {
        return reinterpret_cast<HBITMAP>(SendMessageW(PictureOf(page), STM_GETIMAGE, IMAGE_BITMAP, 0));
    }
    std::vector<DWORD> PixelsOn(int page) const { return PixelsOf(ShownOn(page)); }
};

TEST_F(PagePicturesTest, EveryPictureIsStoredDecodedAndLeavesTheTitleFree)
{
    std::map<int, std::vector<DWORD>> seen;
    for (int page : {0, 1, 4, 5}) {
        SCOPED_TRACE(page);
        ASSERT_NE(PictureOf(page), nullptr);
        const std::vector<DWORD> pixels = PixelsOn(page);
        ASSERT_FALSE(pixels.empty()) << "no picture shown";
        for (const auto& [other, otherPixels] : seen)
            EXPECT_NE(pixels, otherPixels) << "same picture as page " << other;
        seen[page] = pixels;

        RECT picture{};
        RECT title{};
        GetWindowRect(PictureOf(page), &picture);
        GetWindowRect(GetDlgItem(form.PageControl1.PageAt(page).Handle(), IDC_PAGE_TITLE), &title);
        RECT overlap{};
        EXPECT_FALSE(IntersectRect(&overlap, &picture, &title)) << "the title runs under the picture";
    }
}

TEST_F(PagePicturesTest, FileInTheProgramFolderReplacesThePictureAtShow)
{
    // pg4.jpg holds the welcome page's picture: the finished page then shows that one.
    testing_support::WriteFileBytes(form.ProgramFolder + L"pg4.jpg", StoredJpeg(IDR_PG1_JPG));
    const std::vector<DWORD> welcome = PixelsOn(0);
    const std::vector<DWORD> storedFinished = PixelsOn(4);
    const std::vector<DWORD> storedChoice = PixelsOn(5);
    ASSERT_NE(welcome, storedFinished);
    Show();
    EXPECT_EQ(PixelsOn(4), welcome);
    EXPECT_EQ(PixelsOn(5), storedChoice) << "no pg5.jpg: the stored picture stays";
    EXPECT_EQ(PixelsOn(0), welcome);
}

TEST_F(PagePicturesTest, FileThatIsNoPictureLeavesTheStoredOne)
{
    const std::string jpeg = StoredJpeg(IDR_PG1_JPG);
    const std::pair<const char*, std::string> damaged[] = {
        {"empty", ""},
        {"text", "this is no picture at all"},
        {"jpeg header only", jpeg.substr(0, 20)},
        {"jpeg start, then noise", jpeg.substr(0, 2) + std::string(600, '\x5A')},
    };
    const std::vector<DWORD> stored = PixelsOn(4);
    for (const auto& [name, bytes] : damaged) {
        SCOPED_TRACE(name);
        testing_support::WriteFileBytes(form.ProgramFolder + L"pg4.jpg", bytes);
        form.PagePictures.LoadFiles(form.ProgramFolder, form.PageControl1);
        EXPECT_EQ(PixelsOn(4), stored);
    }
    Show();
    EXPECT_EQ(PixelsOn(4), stored);
    form.TurnPage(4);
    PumpMessages(100);
    EXPECT_TRUE(IsWindowVisible(PictureOf(4)));
}

}  // namespace
}  // namespace ui_testing
