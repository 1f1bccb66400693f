#include "platform/TListView.h"

#include "platform/QtStrings.h"
#include "platform/ReportViewChrome.h"
#include "platform/TApplication.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <cmath>

// Rows as the view sees them. `Shown_` is what the view was last told; the
// live count may run ahead until the next sync, and rows beyond it read as
// empty so that a stale view never asks the handler for a missing row.
class ListViewModel final : public QAbstractTableModel {
public:
    explicit ListViewModel(TListView* owner) : Owner_(owner) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : Shown_; }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(Columns_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return ToQ(Cell(index.row(), index.column()));
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

    void Sync() {
        beginResetModel();
        Shown_ = LiveCount();
        Forget();
        endResetModel();
    }

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
    int Shown_ = 0;
    mutable TListItem Cache_;
    mutable int CachedRow_ = -1;
};

namespace {
QTableView* AsView(QWidget* w) {
    return static_cast<QTableView*>(w);
}
} // namespace

TListView::TListView(QWidget* parent, int left, int top, int width, int height)
    : TControl(new QTableView(parent)), Model_(std::make_unique<ListViewModel>(this)) {
    QTableView* view = AsView(Widget_);
    view->setModel(Model_.get());
    ApplyReportViewChrome(view);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->verticalHeader()->hide();
    // Fixed row heights keep a million-row list as cheap as a ten-row one.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(1);
    view->verticalHeader()->setDefaultSectionSize(16);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(false);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetBounds(left, top, width, height);
}

TListView::~TListView() {
    AsView(Widget_)->setModel(nullptr);
}

void TListView::AddColumn(const std::string& caption, int width) {
    Model_->AddColumn(caption);
    AsView(Widget_)->setColumnWidth(ColumnCount() - 1, width);
}

int TListView::ColumnCount() const {
    return static_cast<int>(Model_->Columns().size());
}

std::string TListView::ColumnCaption(int column) const {
    return Model_->Columns().at(static_cast<std::size_t>(column));
}

int TListView::ColumnWidth(int column) const {
    return AsView(Widget_)->columnWidth(column);
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
    return AsView(Widget_)->verticalHeader()->defaultSectionSize();
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
    QTableView* view = AsView(Widget_);
    QScrollBar* vertical = view->verticalScrollBar();
    const int oldTop = vertical->value();
    if (Dirty_)
        Model_->Sync();
    view->doItemsLayout();
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
    QTableView* view = AsView(Widget_);
    const int row = view->rowAt(0);
    return row < 0 ? 0 : row;
}

bool TListView::IsRowVisible(int row) const {
    QTableView* view = AsView(Widget_);
    const int y = view->rowViewportPosition(row);
    return y >= 0 && y + RowHeight() <= view->viewport()->height();
}
