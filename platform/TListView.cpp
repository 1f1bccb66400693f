#include "platform/TListView.h"

#include "platform/QtStrings.h"
#include "platform/ReportView.h"
#include "platform/TApplication.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <cmath>

// The columns, for the header, and the rows. The view is told the row count
// at each sync; the live count may run ahead until then, and rows beyond it
// read as empty so that a stale view never asks the handler for a missing row.
class ListViewModel final : public QAbstractTableModel {
public:
    explicit ListViewModel(TListView* owner) : Owner_(owner) {}

    // The view paints the rows itself: the header keeps no entry per row.
    int rowCount(const QModelIndex& parent) const override {
        (void)parent;
        return 0;
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(Columns_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        (void)index;
        (void)role;
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 ||
            section >= static_cast<int>(Columns_.size()))
            return {};
        if (role == Qt::DisplayRole)
            return ToQ(Columns_[static_cast<std::size_t>(section)]);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }

    std::string Cell(int row, int column) const {
        if (row < 0 || row >= LiveCount() || column < 0)
            return {};
        const TListItem* item = nullptr;
        if (ownerData) {
            if (CachedRow_ != row) {
                Cache_ = TListItem{};
                Cache_.Index = row;
                if (Owner_->OnData)
                    RunGuarded([this] { Owner_->OnData(Cache_); });
                CachedRow_ = row;
            }
            item = &Cache_;
        } else {
            item = &items[static_cast<std::size_t>(row)];
        }
        if (column == 0)
            return item->Caption;
        const std::size_t sub = static_cast<std::size_t>(column - 1);
        return sub < item->SubItems.size() ? item->SubItems[sub] : std::string();
    }

    int LiveCount() const { return ownerData ? virtualCount : static_cast<int>(items.size()); }
    void Forget() { CachedRow_ = -1; }

    void AddColumn(const std::string& caption) {
        beginResetModel();
        Columns_.push_back(caption);
        endResetModel();
    }
    const std::vector<std::string>& Columns() const { return Columns_; }

    bool ownerData = false;
    int virtualCount = 0;
    std::vector<TListItem> items;

private:
    TListView* Owner_;
    std::vector<std::string> Columns_;
    mutable TListItem Cache_;
    mutable int CachedRow_ = -1;
};

namespace {
ReportView* AsView(QWidget* w) {
    return static_cast<ReportView*>(w);
}
} // namespace

TListView::TListView(QWidget* parent, int left, int top, int width, int height)
    : TControl(nullptr), Model_(std::make_unique<ListViewModel>(this)) {
    auto* view = new ReportView(parent, Model_.get());
    Widget_ = view;
    view->Text = [model = Model_.get()](int row, int column) {
        return ToQ(model->Cell(row, column));
    };
    SetBounds(left, top, width, height);
}

TListView::~TListView() {
    AsView(Widget_)->Header()->setModel(nullptr);
}

void TListView::AddColumn(const std::string& caption, int width) {
    Model_->AddColumn(caption);
    ReportView* view = AsView(Widget_);
    view->Header()->resizeSection(ColumnCount() - 1, width);
    view->UpdateGeometries();
}

int TListView::ColumnCount() const {
    return static_cast<int>(Model_->Columns().size());
}

std::string TListView::ColumnCaption(int column) const {
    return Model_->Columns().at(static_cast<std::size_t>(column));
}

int TListView::ColumnWidth(int column) const {
    return AsView(Widget_)->Header()->sectionSize(column);
}

void TListView::SetOwnerData(bool ownerData) {
    if (Model_->ownerData == ownerData)
        return;
    // Switching modes drops the rows of the old mode, as the native control does.
    Model_->ownerData = ownerData;
    Model_->virtualCount = 0;
    Model_->items.clear();
    Model_->Forget();
    Dirty_ = true;
    Cleared_ = true;
    ScheduleSync();
}

bool TListView::OwnerData() const {
    return Model_->ownerData;
}

void TListView::SetItemCount(int count) {
    if (!Model_->ownerData || count < 0 || count == Model_->virtualCount)
        return;
    Model_->virtualCount = count;
    Model_->Forget();
    Dirty_ = true;
    ScheduleSync();
}

int TListView::ItemCount() const {
    return Model_->LiveCount();
}

void TListView::AddItem(const std::string& caption, const std::vector<std::string>& subItems) {
    if (Model_->ownerData)
        return;
    Model_->items.push_back(TListItem{static_cast<int>(Model_->items.size()), caption, subItems});
    Dirty_ = true;
    ScheduleSync();
}

void TListView::Clear() {
    Model_->virtualCount = 0;
    Model_->items.clear();
    Model_->Forget();
    PendingScrollRows_ = 0;
    PendingScrollX_ = 0;
    Dirty_ = true;
    Cleared_ = true;
    ScheduleSync();
}

std::string TListView::ItemText(int row, int column) const {
    return Model_->Cell(row, column);
}

int TListView::RowHeight() const {
    return AsView(Widget_)->RowHeight();
}

void TListView::Scroll(int dx, int dy) {
    const int rowHeight = RowHeight();
    PendingScrollRows_ += static_cast<int>(std::lround(static_cast<double>(dy) / rowHeight));
    PendingScrollX_ += dx;
    ScheduleSync();
}

void TListView::ScheduleSync() {
    if (SyncScheduled_)
        return;
    SyncScheduled_ = true;
    QPointer<QWidget> guard(Widget_);
    QTimer::singleShot(0, Widget_, [this, guard] {
        if (guard)
            Flush();
    });
}

void TListView::Flush() {
    SyncScheduled_ = false;
    if (!Dirty_ && PendingScrollRows_ == 0 && PendingScrollX_ == 0)
        return;
    ReportView* view = AsView(Widget_);
    QScrollBar* vertical = view->verticalScrollBar();
    const int oldTop = vertical->value();
    if (Dirty_) {
        Model_->Forget();
        view->SetRowCount(Model_->LiveCount());
    }
    // A cleared list starts at its top; scrolling requests since then add up.
    const int base = Cleared_ ? 0 : oldTop;
    vertical->setValue(base + PendingScrollRows_);
    if (PendingScrollX_ != 0)
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->value() +
                                              PendingScrollX_);
    PendingScrollRows_ = 0;
    PendingScrollX_ = 0;
    Dirty_ = false;
    Cleared_ = false;
    view->viewport()->update();
}

int TListView::TopIndex() const {
    return AsView(Widget_)->TopRow();
}

bool TListView::IsRowVisible(int row) const {
    const ReportView* view = AsView(Widget_);
    if (row < 0 || row >= view->RowCount())
        return false;
    const int y = (row - view->TopRow()) * RowHeight();
    return y >= 0 && y + RowHeight() <= view->viewport()->height();
}

int TListView::ItemIndex() const {
    return AsView(Widget_)->CurrentRow();
}
