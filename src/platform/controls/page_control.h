// A page control without tabs: pages are child dialogs placed on one rectangle, of which
// one is shown at a time. Pages are identified by a fixed index; the indices need not be
// contiguous.
#pragma once

#include "platform/dialog.h"

#include <map>

namespace platform {

class PageControl {
public:
    void Add(int index, Page& page) { pages_[index] = &page; }
    bool Contains(int index) const { return pages_.count(index) != 0; }
    Page& PageAt(int index) const;

    // Places every page on the rectangle (client coordinates of their parent).
    void SetBounds(const RECT& bounds) const;
    // Hides the active page and shows the page with this index; throws for an unknown index.
    void SetActivePage(int index);
    int ActivePageIndex() const { return active_; }

private:
    std::map<int, Page*> pages_;
    int active_ = -1;
};

}  // namespace platform
