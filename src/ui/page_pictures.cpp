#include "ui/page_pictures.h"

#include "main_window_ids.h"

namespace ui {

const std::array<TPagePictures::TSlot, 4> TPagePictures::kSlots = {{
    {0, IDR_PG1_JPG, L"pg1.jpg"},
    {1, IDR_PG2_JPG, L"pg2.jpg"},
    {4, IDR_PG4_JPG, L"pg4.jpg"},
    {5, IDR_PG5_JPG, L"pg5.jpg"},
}};

void TPagePictures::ShowStored(const platform::PageControl& pages)
{
    for (size_t slot = 0; slot < kSlots.size(); ++slot)
        Show(slot, platform::Picture::FromResource(kSlots[slot].resourceId), pages);
}

void TPagePictures::LoadFiles(const std::wstring& folder, const platform::PageControl& pages)
{
    for (size_t slot = 0; slot < kSlots.size(); ++slot) {
        const std::wstring path = folder + kSlots[slot].fileName;
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        platform::Picture picture = platform::Picture::FromFile(path);
        if (!picture.Empty())
            Show(slot, std::move(picture), pages);
    }
}

void TPagePictures::Show(size_t slot, platform::Picture picture, const platform::PageControl& pages)
{
    const int page = kSlots[slot].page;
    HWND control = pages.Contains(page) ? GetDlgItem(pages.PageAt(page).Handle(), IDC_PAGE_PICTURE) : nullptr;
    if (!control || picture.Empty())
        return;
    SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.Handle()));
    // The control shows the new bitmap now; the old one may go.
    shown_[slot] = std::move(picture);
}

}  // namespace ui
