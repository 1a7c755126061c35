// The pictures at the top of the welcome, scan, finished and scan-choice pages. The program
// stores its own; "pg1.jpg", "pg2.jpg", "pg4.jpg" and "pg5.jpg" in the program's folder
// replace them when present. A file that cannot be decoded leaves the stored picture.
#pragma once

#include "platform/controls/page_control.h"
#include "platform/picture.h"

#include <array>
#include <string>

namespace ui {

class TPagePictures {
public:
    struct TSlot {
        int page;
        int resourceId;
        const wchar_t* fileName;
    };
    static const std::array<TSlot, 4> kSlots;

    // Puts the stored pictures on the pages' picture controls.
    void ShowStored(const platform::PageControl& pages);
    // Replaces each picture by its file from `folder` (with a trailing backslash) where
    // that file exists and decodes.
    void LoadFiles(const std::wstring& folder, const platform::PageControl& pages);

private:
    void Show(size_t slot, platform::Picture picture, const platform::PageControl& pages);

    std::array<platform::Picture, kSlots.size()> shown_;
};

}  // namespace ui
