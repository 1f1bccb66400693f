#pragma once
// A report-style list view. In owner-data mode it holds no rows: it only has
// an item count and asks its data handler for the texts of the rows it shows.
// Otherwise it holds real items. Changes reach the screen the next time
// messages are processed, so that a long series of additions costs one
// relayout.

#include "platform/TControl.h"

#include <functional>
#include <memory>
#include <vector>

class ListViewModel;

struct TListItem {
    int Index = 0;
    std::string Caption;
    std::vector<std::string> SubItems;
};

class TListView : public TControl {
public:
    TListView(QWidget* parent, int left, int top, int width, int height);
    ~TListView() override;

    void AddColumn(const std::string& caption, int width);
    int ColumnCount() const;
    std::string ColumnCaption(int column) const;
    int ColumnWidth(int column) const;

    void SetOwnerData(bool ownerData);
    bool OwnerData() const;
    // Fills a row's texts for owner-data mode, given its Index.
    std::function<void(TListItem&)> OnData;

    // Owner-data mode: the number of rows the handler can fill.
    void SetItemCount(int count);
    // Rows now (virtual or real).
    int ItemCount() const;
    // Real-item mode.
    void AddItem(const std::string& caption, const std::vector<std::string>& subItems);
    // Removes every row in either mode.
    void Clear();
    // A cell as the list shows it; in owner-data mode asked from the handler.
    std::string ItemText(int row, int column) const;

    // Scrolls by pixels; vertically the list moves by whole rows, the nearest
    // number to the distance asked for.
    void Scroll(int dx, int dy);
    int RowHeight() const;
    // The first row in view.
    int TopIndex() const;
    bool IsRowVisible(int row) const;
    // The selected row, -1 when none.
    int ItemIndex() const;

    // Brings the view up to date now instead of at the next message pass.
    void Flush();

private:
    void ScheduleSync();

    std::unique_ptr<ListViewModel> Model_;
    int PendingScrollRows_ = 0;
    int PendingScrollX_ = 0;
    bool SyncScheduled_ = false;
    bool Dirty_ = false;   // rows changed since the view last saw them
    bool Cleared_ = false; // emptied since then: start again at the top
};
