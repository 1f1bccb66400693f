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

// Rows as the view sees them. `shown_` is what the view was last told; the
// live count may run ahead until the next sync, and rows beyond it read as
// empty so that a stale view never asks the handler for a missing row.
class ListViewModel final : public QAbstractTableModel {
public:
    explicit ListViewModel(TListView* owner) : owner_(owner) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shown_; }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return ToQ(Cell(index.row(), index.column()));
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 ||
            section >= static_cast<int>(columns_.size()))
            return {};
        if (role == Qt::DisplayRole)
            return ToQ(columns_[static_cast<std::size_t>(section)]);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }

    std::string Cell(int row, int column) const {
        if (row < 0 || row >= LiveCount() || column < 0)
            return {};
        const TListItem* item = nullptr;
        if (ownerData) {
            if (cachedRow_ != row) {
                cache_ = TListItem{};
                cache_.Index = row;
                if (owner_->OnData)
                    RunGuarded([this] { owner_->OnData(cache_); });
                cachedRow_ = row;
            }
            item = &cache_;
        } else {
            item = &items[static_cast<std::size_t>(row)];
        }
        if (column == 0)
            return item->Caption;
        const std::size_t sub = static_cast<std::size_t>(column - 1);
        return sub < item->SubItems.size() ? item->SubItems[sub] : std::string();
    }

    int LiveCount() const { return ownerData ? virtualCount : static_cast<int>(items.size()); }
    void Forget() { cachedRow_ = -1; }

    void Sync() {
        beginResetModel();
        shown_ = LiveCount();
        Forget();
        endResetModel();
    }

    void AddColumn(const std::string& caption) {
        beginResetModel();
        columns_.push_back(caption);
        endResetModel();
    }
    const std::vector<std::string>& Columns() const { return columns_; }

    bool ownerData = false;
    int virtualCount = 0;
    std::vector<TListItem> items;

private:
    TListView* owner_;
    std::vector<std::string> columns_;
    int shown_ = 0;
    mutable TListItem cache_;
    mutable int cachedRow_ = -1;
};

namespace {
QTableView* AsView(QWidget* w) {
    return static_cast<QTableView*>(w);
}
} // namespace

TListView::TListView(QWidget* parent, int left, int top, int width, int height)
    : TControl(new QTableView(parent)), model_(std::make_unique<ListViewModel>(this)) {
    QTableView* view = AsView(widget_);
    view->setModel(model_.get());
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
    AsView(widget_)->setModel(nullptr);
}

void TListView::AddColumn(const std::string& caption, int width) {
    model_->AddColumn(caption);
    AsView(widget_)->setColumnWidth(ColumnCount() - 1, width);
}

int TListView::ColumnCount() const {
    return static_cast<int>(model_->Columns().size());
}

std::string TListView::ColumnCaption(int column) const {
    return model_->Columns().at(static_cast<std::size_t>(column));
}

int TListView::ColumnWidth(int column) const {
    return AsView(widget_)->columnWidth(column);
}

void TListView::SetOwnerData(bool ownerData) {
    if (model_->ownerData == ownerData)
        return;
    // Switching modes drops the rows of the old mode, as the native control does.
    model_->ownerData = ownerData;
    model_->virtualCount = 0;
    model_->items.clear();
    model_->Forget();
    dirty_ = true;
    cleared_ = true;
    ScheduleSync();
}

bool TListView::OwnerData() const {
    return model_->ownerData;
}

void TListView::SetItemCount(int count) {
    if (!model_->ownerData || count < 0 || count == model_->virtualCount)
        return;
    model_->virtualCount = count;
    model_->Forget();
    dirty_ = true;
    ScheduleSync();
}

int TListView::ItemCount() const {
    return model_->LiveCount();
}

void TListView::AddItem(const std::string& caption, const std::vector<std::string>& subItems) {
    if (model_->ownerData)
        return;
    model_->items.push_back(TListItem{static_cast<int>(model_->items.size()), caption, subItems});
    dirty_ = true;
    ScheduleSync();
}

void TListView::Clear() {
    model_->virtualCount = 0;
    model_->items.clear();
    model_->Forget();
    pendingScrollRows_ = 0;
    pendingScrollX_ = 0;
    dirty_ = true;
    cleared_ = true;
    ScheduleSync();
}

std::string TListView::ItemText(int row, int column) const {
    return model_->Cell(row, column);
}

int TListView::RowHeight() const {
    return AsView(widget_)->verticalHeader()->defaultSectionSize();
}

void TListView::Scroll(int dx, int dy) {
    const int rowHeight = RowHeight();
    pendingScrollRows_ += static_cast<int>(std::lround(static_cast<double>(dy) / rowHeight));
    pendingScrollX_ += dx;
    ScheduleSync();
}

void TListView::ScheduleSync() {
    if (syncScheduled_)
        return;
    syncScheduled_ = true;
    QPointer<QWidget> guard(widget_);
    QTimer::singleShot(0, widget_, [this, guard] {
        if (guard)
            Flush();
    });
}

void TListView::Flush() {
    syncScheduled_ = false;
    if (!dirty_ && pendingScrollRows_ == 0 && pendingScrollX_ == 0)
        return;
    QTableView* view = AsView(widget_);
    QScrollBar* vertical = view->verticalScrollBar();
    const int oldTop = vertical->value();
    if (dirty_)
        model_->Sync();
    view->doItemsLayout();
    // A cleared list starts at its top; scrolling requests since then add up.
    const int base = cleared_ ? 0 : oldTop;
    vertical->setValue(base + pendingScrollRows_);
    if (pendingScrollX_ != 0)
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->value() +
                                              pendingScrollX_);
    pendingScrollRows_ = 0;
    pendingScrollX_ = 0;
    dirty_ = false;
    cleared_ = false;
    view->viewport()->update();
}

int TListView::TopIndex() const {
    QTableView* view = AsView(widget_);
    const int row = view->rowAt(0);
    return row < 0 ? 0 : row;
}

bool TListView::IsRowVisible(int row) const {
    QTableView* view = AsView(widget_);
    const int y = view->rowViewportPosition(row);
    return y >= 0 && y + RowHeight() <= view->viewport()->height();
}
