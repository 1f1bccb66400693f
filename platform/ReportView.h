#pragma once
// The report list's widget: column captions in a header, rows painted from
// texts asked for only while they are in view, and nothing kept per row, so
// ten million rows cost what ten do. It looks and answers the keys and the
// mouse as the toolkit's table of whole-row selection does; one row at most
// is selected, and it is the current one.

#include <QAbstractScrollArea>
#include <QString>
#include <functional>

class QAbstractItemModel;
class QHeaderView;

class ReportView final : public QAbstractScrollArea {
public:
    // `columns` gives the header its sections (a model with no rows).
    ReportView(QWidget* parent, QAbstractItemModel* columns);

    // A cell's text, asked only for rows below RowCount().
    std::function<QString(int row, int column)> Text;

    QHeaderView* Header() const { return Header_; }
    int RowHeight() const { return RowHeight_; }

    // Keeps the current row when it still exists.
    void SetRowCount(int rows);
    int RowCount() const { return Rows_; }
    int TopRow() const;
    void SetTopRow(int row);
    // Rows wholly inside the viewport (at least one).
    int RowsInView() const;

    // -1 when none; setting one selects its row and scrolls it into view.
    int CurrentRow() const { return CurrentRow_; }
    int CurrentColumn() const { return CurrentColumn_; }
    void SetCurrent(int row, int column);

    // Scroll ranges and the header's place after a change of rows, columns or size.
    void UpdateGeometries();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The row at viewport height y (above the top too), -1 past either end.
    int RowAt(int y) const;
    int ColumnAt(int x) const;
    // The current cell follows the pointer while a button is held.
    void PickAt(const QPoint& point);
    void ScrollToRow(int row);

    QHeaderView* Header_;
    int RowHeight_ = 16;
    int Rows_ = 0;
    int CurrentRow_ = -1;
    int CurrentColumn_ = -1;
};
