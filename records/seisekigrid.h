#pragma once
// The records tables: a grid with a fixed header row and a fixed first
// column in light blue, yellow data cells, rows of one height. The header
// row stays in place while the rows scroll; the columns always fit.
#include <QColor>
#include <QCursor>
#include <QStringList>
#include <QTableView>
#include <QVector>
#include <optional>

namespace fm::records
{

// Fixed cells (header row and first column).
inline const QColor FixedCellColour{105, 194, 214};

class SeisekiGrid : public QTableView
{
    Q_OBJECT
  public:
    // rows counts the header row, columns the first column.
    SeisekiGrid(QWidget *parent, int rows, const QStringList &headers);

    int rows() const { return rows_; }
    int columns() const { return int(headers_.size()); }

    // Every row (the header row too) this many pixels high.
    void setRowHeight(int height);
    int uniformRowHeight() const { return rowHeight_; }
    void setColumnWidths(const QVector<int> &widths);
    // Fonts of the header row and of the rows below it.
    void setFonts(const QFont &header, const QFont &body);
    // A column of its own face, in one size for every row: the largest, up to
    // font's, in which widest fits the column (set the widths first).
    void setColumnFont(int column, const QFont &font, const QString &widest = {});

    // Row r (1..rows - 1), its cells in column order (column 0 first).
    void setRow(int r, const QStringList &cells);
    void clearRow(int r);
    // The text of a cell; row 0 is the header row.
    QString text(int r, int c) const;
    // Columns whose text is centred (the others start at the left).
    void setCentred(const QVector<int> &columns);

    // Grid row (1..) under a point of the viewport; 0 for none.
    int rowAt(const QPoint &viewportPos) const;
    // The rows can be clicked: the pointer shows it over them.
    void setRowPointer(const QCursor &pointer);

  signals:
    // A data row was clicked (1..rows - 1).
    void rowClicked(int r);

  protected:
    void mouseMoveEvent(QMouseEvent *event) override;

  private:
    class Model;
    class Header;
    Model *model_;
    Header *header_;
    QStringList headers_;
    int rows_;
    int rowHeight_ = 0;
    std::optional<QCursor> rowPointer_;
};

} // namespace fm::records
