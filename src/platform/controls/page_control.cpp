#include "platform/controls/page_control.h"

#include "platform/controls/window.h"

#include <stdexcept>
#include <string>

namespace platform {

Page& PageControl::PageAt(int index) const
{
    auto found = pages_.find(index);
    if (found == pages_.end())
        throw std::out_of_range("page " + std::to_string(index) + " does not exist");
    return *found->second;
}

void PageControl::SetBounds(const RECT& bounds) const
{
    for (const auto& [index, page] : pages_)
        Window(page->Handle()).Move(bounds);
}

void PageControl::SetActivePage(int index)
{
    Page& next = PageAt(index);
    if (active_ == index)
        return;
    if (Contains(active_)) {
        Page& current = PageAt(active_);
        current.OnKillActive();
        Window(current.Handle()).Show(false);
    }
    active_ = index;
    next.OnSetActive();
    Window(next.Handle()).Show(true);
}

}  // namespace platform
