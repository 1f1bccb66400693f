#include "platform/ReportView.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <algorithm>

namespace {

// The space right of the last column is an empty header section, as in the
// desktop's list, instead of bare background.
class FullWidthHeader final : public QHeaderView {
public:
    explicit FullWidthHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        QHeaderView::paintEvent(event);
        const int end = length() - offset();
        const int width = viewport()->width();
        if (end >= width)
            return;
        QPainter painter(viewport());
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.rect = QRect(end, 0, width - end, viewport()->height());
        option.section = count();
        option.position = QStyleOptionHeader::End;
        option.state |= QStyle::State_Enabled | QStyle::State_Raised;
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
    }
};

} // namespace

ReportView::ReportView(QWidget* parent, QAbstractItemModel* columns)
    : QAbstractScrollArea(parent), Header_(new FullWidthHeader(this)) {
    Header_->setModel(columns);
    Header_->setSectionsClickable(false);
    Header_->setHighlightSections(false);
    Header_->setStretchLastSection(false);
    Header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    connect(Header_, &QHeaderView::sectionResized, this, [this] {
        UpdateGeometries();
        viewport()->update();
    });
    connect(Header_, &QHeaderView::sectionCountChanged, this, [this] { UpdateGeometries(); });
    UpdateGeometries();
}

void ReportView::SetRowCount(int rows) {
    Rows_ = std::max(0, rows);
    if (CurrentRow_ >= Rows_) {
        CurrentRow_ = -1;
        CurrentColumn_ = -1;
    }
    UpdateGeometries();
    viewport()->update();
}

int ReportView::TopRow() const {
    return verticalScrollBar()->value();
}

void ReportView::SetTopRow(int row) {
    verticalScrollBar()->setValue(row);
}

int ReportView::RowsInView() const {
    return std::max(1, viewport()->height() / RowHeight_);
}

// As the table does: scroll by whole rows vertically, by pixels sideways; the
// scroll bars are left out when everything fits without them.
void ReportView::UpdateGeometries() {
    const int headerHeight = Header_->isHidden() ? 0 : Header_->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    Header_->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);

    QSize size = viewport()->size();
    const QSize most = maximumViewportSize();
    if (most.width() >= Header_->length() && most.height() >= Rows_ * RowHeight_)
        size = most;
    const int inView = std::max(1, std::min(Rows_, size.height() / RowHeight_));
    verticalScrollBar()->setRange(0, std::max(0, Rows_ - inView));
    verticalScrollBar()->setPageStep(inView);
    verticalScrollBar()->setSingleStep(1);

    int columnsInView = 0;
    for (int c = Header_->count() - 1, room = size.width(); c >= 0; --c) {
        room -= Header_->sectionSize(c);
        if (room < 0)
            break;
        ++columnsInView;
    }
    horizontalScrollBar()->setPageStep(size.width());
    horizontalScrollBar()->setRange(0, std::max(0, Header_->length() - size.width()));
    horizontalScrollBar()->setSingleStep(std::max(size.width() / (columnsInView + 1), 2));
    Header_->setOffset(horizontalScrollBar()->value());
    // The scroll area shows or hides a bar for a new range only at the next
    // message pass; laid out again now, a picture taken at once has its bars.
    setViewportMargins(0, headerHeight, 0, 0);
}

void ReportView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateGeometries();
}

void ReportView::scrollContentsBy(int dx, int dy) {
    (void)dx;
    (void)dy;
    Header_->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

// Each cell is drawn by the style with the options the toolkit's table gives
// its cells, so the list looks the same pixel for pixel.
void ReportView::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter painter(viewport());
    QStyleOptionViewItem base;
    base.initFrom(this);
    base.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
    if (!hasFocus())
        base.state &= ~QStyle::State_Active;
    base.font = font();
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    base.decorationSize = QSize(icon, icon);
    base.decorationPosition = QStyleOptionViewItem::Left;
    base.decorationAlignment = Qt::AlignCenter;
    base.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    base.textElideMode = Qt::ElideRight;
    base.showDecorationSelected = true;
    base.locale = locale();
    base.locale.setNumberOptions(QLocale::OmitGroupSeparator);
    base.widget = this;
    if (base.state & QStyle::State_Enabled)
        base.palette.setCurrentColorGroup(QPalette::Normal);

    const int top = TopRow();
    const int height = viewport()->height();
    const int width = viewport()->width();
    for (int row = top; row < Rows_ && (row - top) * RowHeight_ < height; ++row) {
        for (int c = 0; c < Header_->count(); ++c) {
            const int x = Header_->sectionViewportPosition(c);
            const int w = Header_->sectionSize(c);
            if (Header_->isSectionHidden(c) || x + w <= 0 || x >= width)
                continue;
            QStyleOptionViewItem cell = base;
            cell.rect = QRect(x, (row - top) * RowHeight_, w, RowHeight_);
            if (row == CurrentRow_) {
                cell.state |= QStyle::State_Selected;
                if (c == CurrentColumn_ && hasFocus())
                    cell.state |= QStyle::State_HasFocus;
            }
            cell.features |= QStyleOptionViewItem::HasDisplay;
            cell.text = Text ? Text(row, c) : QString();
            cell.styleObject = nullptr;
            style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &cell, &painter, this);
            style()->drawControl(QStyle::CE_ItemViewItem, &cell, &painter, this);
        }
    }
}

int ReportView::RowAt(int y) const {
    const int position = TopRow() * RowHeight_ + y;
    if (position < 0)
        return -1;
    const int row = position / RowHeight_;
    return row < Rows_ ? row : -1;
}

int ReportView::ColumnAt(int x) const {
    return Header_->logicalIndexAt(x);
}

void ReportView::ScrollToRow(int row) {
    const int top = TopRow();
    if (row < top)
        SetTopRow(row);
    else if (row >= top + RowsInView())
        SetTopRow(row - RowsInView() + 1);
    const int column = CurrentColumn_;
    if (column < 0)
        return;
    const int left = Header_->sectionPosition(column);
    const int cellWidth = Header_->sectionSize(column);
    const int offset = Header_->offset();
    const int width = viewport()->width();
    if (left - offset < 0 || cellWidth > width)
        horizontalScrollBar()->setValue(left);
    else if (left - offset + cellWidth > width)
        horizontalScrollBar()->setValue(left - width + cellWidth);
}

void ReportView::SetCurrent(int row, int column) {
    if (row < 0 || row >= Rows_) {
        CurrentRow_ = -1;
        CurrentColumn_ = -1;
    } else {
        CurrentRow_ = row;
        CurrentColumn_ = std::clamp(column, 0, std::max(0, Header_->count() - 1));
        ScrollToRow(row);
    }
    viewport()->update();
}

// The table's moves: a page is the viewport's height from the current row's
// edge; Home and End go to the first and last row, with Ctrl also to the
// first and last column.
void ReportView::keyPressEvent(QKeyEvent* event) {
    if (Rows_ == 0 || Header_->count() == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int last = Rows_ - 1;
    const int lastColumn = Header_->count() - 1;
    if (CurrentRow_ < 0) {
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            SetCurrent(0, 0);
            event->accept();
            return;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
    }
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    const int y = (CurrentRow_ - TopRow()) * RowHeight_;
    int row = CurrentRow_;
    int column = CurrentColumn_;
    switch (event->key()) {
    case Qt::Key_Up:
        row = std::max(0, row - 1);
        break;
    case Qt::Key_Down:
        row = std::min(last, row + 1);
        break;
    case Qt::Key_Left:
        column = std::max(0, column - 1);
        break;
    case Qt::Key_Right:
        column = std::min(lastColumn, column + 1);
        break;
    case Qt::Key_PageUp: {
        const int above = RowAt(y + RowHeight_ - 1 - viewport()->height());
        row = above < 0 ? 0 : above;
        break;
    }
    case Qt::Key_PageDown: {
        const int below = RowAt(y + viewport()->height());
        row = below < 0 ? last : below;
        break;
    }
    case Qt::Key_Home:
        row = 0;
        column = ctrl ? 0 : column;
        break;
    case Qt::Key_End:
        row = last;
        column = ctrl ? lastColumn : column;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    SetCurrent(row, column);
    event->accept();
}

void ReportView::PickAt(const QPoint& point) {
    if (point.y() < 0 || point.y() >= viewport()->height())
        return;
    const int row = RowAt(point.y());
    const int column = ColumnAt(point.x());
    if (row >= 0 && column >= 0)
        SetCurrent(row, column);
}

void ReportView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        PickAt(event->position().toPoint());
    event->accept();
}

void ReportView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        PickAt(event->position().toPoint());
    event->accept();
}

void ReportView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ReportView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// A new font or style changes the header's height.
void ReportView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        UpdateGeometries();
}
