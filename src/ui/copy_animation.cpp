#include "ui/copy_animation.h"

#include <cmath>

namespace ui {

namespace {

constexpr int kFolderWidth = 40;
constexpr int kFolderHeight = 28;
constexpr int kPageWidth = 14;
constexpr int kPageHeight = 18;
constexpr COLORREF kFolderFill = RGB(244, 204, 92);
constexpr COLORREF kFolderEdge = RGB(168, 124, 28);
constexpr COLORREF kPageFill = RGB(255, 255, 255);
constexpr COLORREF kPageEdge = RGB(96, 96, 96);

void FillWithEdge(HDC dc, const RECT& rect, COLORREF fill, COLORREF edge)
{
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// A folder standing on `bottom` with its tab at the top left.
void PaintFolder(HDC dc, int left, int bottom)
{
    const int top = bottom - kFolderHeight;
    FillWithEdge(dc, RECT{left, top, left + kFolderWidth / 2, top + 6}, kFolderFill, kFolderEdge);
    FillWithEdge(dc, RECT{left, top + 4, left + kFolderWidth, bottom}, kFolderFill, kFolderEdge);
}

void PaintPage(HDC dc, int left, int top)
{
    FillWithEdge(dc, RECT{left, top, left + kPageWidth, top + kPageHeight}, kPageFill, kPageEdge);
    HPEN pen = CreatePen(PS_SOLID, 1, kPageEdge);
    HGDIOBJ old = SelectObject(dc, pen);
    for (int line = 0; line < 3; ++line) {
        const int y = top + 5 + line * 4;
        MoveToEx(dc, left + 3, y, nullptr);
        LineTo(dc, left + kPageWidth - 3, y);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace

void PaintCopyFrame(HDC dc, const RECT& area, int frame, const platform::SkinPalette& palette)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // Drawn off screen and copied in one piece, so the flight does not flicker.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);

    const RECT local{0, 0, width, height};
    HBRUSH face = CreateSolidBrush(palette.face);
    FillRect(memory, &local, face);
    DeleteObject(face);

    const int bottom = height - 2;
    const int leftFolder = width / 6;
    const int rightFolder = width - width / 6 - kFolderWidth;
    PaintFolder(memory, leftFolder, bottom);
    PaintFolder(memory, rightFolder, bottom);

    const double t = static_cast<double>(frame % kCopyFrameCount) / (kCopyFrameCount - 1);
    const int startX = leftFolder + (kFolderWidth - kPageWidth) / 2;
    const int endX = rightFolder + (kFolderWidth - kPageWidth) / 2;
    const int restY = bottom - kFolderHeight - kPageHeight / 2;
    const int arc = restY - 2;
    const int x = startX + static_cast<int>((endX - startX) * t);
    const int y = restY - static_cast<int>(arc * std::sin(t * 3.14159265358979));
    PaintPage(memory, x, y);

    BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

}  // namespace ui
