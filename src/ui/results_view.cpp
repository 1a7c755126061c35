#include "ui/results_view.h"

#include <string>

namespace ui {

TResultsView::TResultsView(const scan::TResultsList& results, TScanPage& scanPage, TResultsPage& resultsPage)
    : results_(results), scanPage_(scanPage), resultsPage_(resultsPage)
{
}

void TResultsView::RowChanged(int row) { changedRows_.set(static_cast<size_t>(row)); }

void TResultsView::GroupChanged(size_t group)
{
    treeChanged_ = true;
    if (group < shown_.size())
        shown_[group].Changed = true;
}

void TResultsView::GroupRemoved(size_t group)
{
    if (group >= shown_.size())
        return;
    resultsPage_.TreeView1.DeleteItem(shown_[group].Node);
    shown_.erase(shown_.begin() + static_cast<ptrdiff_t>(group));
}

void TResultsView::FindingRemoved(size_t group, size_t finding)
{
    if (group >= shown_.size())
        return;
    shown_[group].Changed = true;
    treeChanged_ = true;
    std::vector<HTREEITEM>& findings = shown_[group].Findings;
    if (finding >= findings.size())
        return;
    resultsPage_.TreeView1.DeleteItem(findings[finding]);
    findings.erase(findings.begin() + static_cast<ptrdiff_t>(finding));
}

void TResultsView::TotalsChanged() { totalsChanged_ = true; }

void TResultsView::TreeCleared()
{
    const platform::TreeView& tree = resultsPage_.TreeView1;
    tree.SetRedraw(false);
    tree.DeleteAllItems();
    tree.SetRedraw(true);
    InvalidateRect(tree.Handle(), nullptr, TRUE);
    shown_.clear();
    treeChanged_ = false;
}

void TResultsView::Flush()
{
    FlushRows();
    if (treeChanged_)
        FlushTree();
    FlushTotals();
}

void TResultsView::FlushRows()
{
    if (changedRows_.none())
        return;
    for (int row = 0; row < scan::kCategoryCount; ++row) {
        if (changedRows_.test(static_cast<size_t>(row)))
            scanPage_.ShowRow(row, results_.Row(row));
    }
    changedRows_.reset();
}

// Groups are only ever appended, and findings appended to their group, while a scan runs:
// what the tree lacks is new groups at the end and new findings at the end of filled groups.
void TResultsView::FlushTree()
{
    treeChanged_ = false;
    const platform::TreeView& tree = resultsPage_.TreeView1;
    const std::vector<scan::TResultGroup>& groups = results_.Groups();
    tree.SetRedraw(false);
    for (size_t i = 0; i < groups.size(); ++i) {
        const scan::TResultGroup& group = groups[i];
        if (i == shown_.size()) {
            shown_.push_back({tree.AddItem(TVI_ROOT, group.Text, group.StateImage), {}, false, true});
        } else if (shown_[i].Changed) {
            tree.SetItem(shown_[i].Node, group.Text, group.StateImage);
        }
        if (!shown_[i].Changed)
            continue;
        shown_[i].Changed = false;
        if (shown_[i].Filled)
            AddFindingNodes(i);
        else
            tree.SetHasChildren(shown_[i].Node, !group.Findings.empty());
    }
    tree.SetRedraw(true);
    InvalidateRect(tree.Handle(), nullptr, TRUE);
}

void TResultsView::AddFindingNodes(size_t group)
{
    const platform::TreeView& tree = resultsPage_.TreeView1;
    const scan::TResultGroup& found = results_.Groups()[group];
    TShownGroup& shown = shown_[group];
    for (size_t f = shown.Findings.size(); f < found.Findings.size(); ++f)
        shown.Findings.push_back(tree.AddItem(shown.Node, found.Findings[f], found.StateImage));
    shown.Filled = true;
}

void TResultsView::GroupOpening(HTREEITEM node)
{
    for (size_t i = 0; i < shown_.size(); ++i) {
        if (shown_[i].Node != node || shown_[i].Filled)
            continue;
        resultsPage_.TreeView1.SetRedraw(false);
        AddFindingNodes(i);
        resultsPage_.TreeView1.SetRedraw(true);
        return;
    }
}

void TResultsView::OpenGroupsIfFew()
{
    if (results_.FindingCount() > kOpenGroupsLimit)
        return;
    for (size_t i = 0; i < shown_.size(); ++i) {
        GroupOpening(shown_[i].Node);
        resultsPage_.TreeView1.Expand(shown_[i].Node);
    }
    if (!shown_.empty())
        resultsPage_.TreeView1.ScrollTo(shown_.front().Node);
}

void TResultsView::FlushTotals()
{
    if (!totalsChanged_)
        return;
    totalsChanged_ = false;
    const std::wstring count = std::to_wstring(results_.ProblemCount());
    scanPage_.Label14.SetText(count);
    scanPage_.Label11.SetText(L"个问题");
    resultsPage_.Label2.SetText(count);
    resultsPage_.Label3.SetText(L"个问题已找到");
    if (results_.ProblemCount() > 0) {
        const std::wstring size = scan::SizeText(results_.TotalSize());
        resultsPage_.Label95.SetText(size);
        resultsPage_.Label96.SetText(L"占用" + size);
    }
}

std::vector<scan::TNodeRef> TResultsView::SelectedNodes() const
{
    const platform::TreeView& tree = resultsPage_.TreeView1;
    std::vector<scan::TNodeRef> selected;
    for (size_t g = 0; g < shown_.size(); ++g) {
        if (tree.IsSelected(shown_[g].Node))
            selected.push_back({g, scan::TNodeRef::kHeader});
        for (size_t f = 0; f < shown_[g].Findings.size(); ++f) {
            if (tree.IsSelected(shown_[g].Findings[f]))
                selected.push_back({g, f});
        }
    }
    return selected;
}

}  // namespace ui
