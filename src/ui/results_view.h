// Shows the results model on the scan and results pages. The model's notifications only
// note what changed; Flush() brings the category list, the tree and the labels up to date,
// so a scan that adds thousands of findings a second repaints a few times a second.
//
// A group node gets its finding nodes when it is first opened: a tree view control takes
// a good fraction of a millisecond per node, too slow for a scan with tens of thousands of
// findings. Until then the model alone holds them.
#pragma once

#include "scan/results.h"
#include "ui/results_page.h"
#include "ui/scan_page.h"

#include <bitset>
#include <vector>

namespace ui {

class TResultsView : public scan::IResultsListener {
public:
    // Up to this many findings, showing the results opens every group.
    static constexpr size_t kOpenGroupsLimit = 1000;

    TResultsView(const scan::TResultsList& results, TScanPage& scanPage, TResultsPage& resultsPage);

    // Applies every change noted since the last flush.
    void Flush();
    // Adds the finding nodes of a group node about to open.
    void GroupOpening(HTREEITEM node);
    // Opens every group node when the results are few enough to show at once.
    void OpenGroupsIfFew();
    // Selected nodes of the tree as nodes of the model.
    std::vector<scan::TNodeRef> SelectedNodes() const;

    // IResultsListener
    void RowChanged(int row) override;
    void GroupChanged(size_t group) override;
    void GroupRemoved(size_t group) override;
    void FindingRemoved(size_t group, size_t finding) override;
    void TotalsChanged() override;
    void TreeCleared() override;

private:
    // A group node of the tree. Once filled, its finding nodes are a prefix of the model's
    // findings of the group, and later findings are added on each flush.
    struct TShownGroup {
        HTREEITEM Node = nullptr;
        std::vector<HTREEITEM> Findings;
        bool Filled = false;
        bool Changed = false;  // text, state image or number of findings
    };

    void FlushRows();
    void FlushTree();
    void FlushTotals();
    void AddFindingNodes(size_t group);

    const scan::TResultsList& results_;
    TScanPage& scanPage_;
    TResultsPage& resultsPage_;
    std::vector<TShownGroup> shown_;
    std::bitset<scan::kCategoryCount> changedRows_;
    bool treeChanged_ = false;
    bool totalsChanged_ = false;
};

}  // namespace ui
