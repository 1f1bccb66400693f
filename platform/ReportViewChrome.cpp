#include "platform/ReportViewChrome.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QTableView>

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

// Home and End without Ctrl move to the first and last row; the table alone
// would move along the row.
class RowKeys final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        if (key->key() != Qt::Key_Home && key->key() != Qt::Key_End)
            return false;
        auto* view = static_cast<QTableView*>(watched);
        QAbstractItemModel* model = view->model();
        const int rows = model ? model->rowCount() : 0;
        if (rows == 0)
            return true;
        const int column = std::max(0, view->currentIndex().column());
        const QModelIndex target = model->index(key->key() == Qt::Key_Home ? 0 : rows - 1, column);
        view->setCurrentIndex(target);
        view->scrollTo(target);
        return true;
    }
};

} // namespace

void ApplyReportViewChrome(QTableView* view) {
    view->setHorizontalHeader(new FullWidthHeader(view));
    view->setTabKeyNavigation(false);
    view->installEventFilter(new RowKeys(view));
}
