#include "records/seisekigrid.h"
#include "shell/kit.h"
#include "shell/look.h"
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace fm::records
{

namespace
{
const QColor GridLine{0, 0, 0};
constexpr int TextMargin = 2;
constexpr int SmallestText = 8;
constexpr int NarrowestStretch = 80; // per cent of the normal width

// The font, made narrower and then smaller when text would not fit width,
// so that nothing a parent reads is cut off.
QFont fitted(QFont font, const QString &text, int width)
{
    const auto fits = [&] { return QFontMetrics(font).horizontalAdvance(text) <= width - 2 * TextMargin; };
    for (int stretch = 95; !fits() && stretch >= NarrowestStretch; stretch -= 5)
        font.setStretch(stretch);
    int size = font.pixelSize();
    while (size > SmallestText && !fits())
        font.setPixelSize(--size);
    return font;
}

void drawFitted(QPainter *p, const QRect &rect, int alignment, const QString &text, const QFont &font)
{
    p->setFont(fitted(font, text, rect.width()));
    p->drawText(rect.adjusted(TextMargin, 0, -TextMargin, 0), alignment, text);
}

// The data cells: their ground and black text, fitted to the cell.
class CellDelegate : public QStyledItemDelegate
{
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        p->save();
        p->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
        p->setPen(colour::Black);
        drawFitted(p, option.rect, index.data(Qt::TextAlignmentRole).toInt(), index.data().toString(),
                   index.data(Qt::FontRole).value<QFont>());
        p->restore();
    }
};
} // namespace

class SeisekiGrid::Model : public QAbstractTableModel
{
  public:
    Model(QObject *parent, int dataRows, int columns)
        : QAbstractTableModel(parent), columns_(columns), cells_(dataRows, QStringList())
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(cells_.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : columns_; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        switch (role) {
        case Qt::DisplayRole: {
            const QStringList &row = cells_[index.row()];
            return index.column() < row.size() ? row[index.column()] : QString();
        }
        case Qt::BackgroundRole:
            return index.column() == 0 ? FixedCellColour : colour::Yellow;
        case Qt::ForegroundRole:
            return colour::Black;
        case Qt::FontRole:
            return columnFonts.value(index.column(), font);
        case Qt::TextAlignmentRole:
            return int(centred.contains(index.column()) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex &) const override { return Qt::ItemIsEnabled; }

    void setRow(int r, const QStringList &cells)
    {
        cells_[r] = cells;
        emit dataChanged(index(r, 0), index(r, columns_ - 1));
    }
    const QStringList &row(int r) const { return cells_[r]; }

    QFont font;
    QMap<int, QFont> columnFonts;
    QVector<int> centred;

  private:
    int columns_;
    QVector<QStringList> cells_;
};

// The fixed header row, drawn as the layout's light-blue cells.
class SeisekiGrid::Header : public QHeaderView
{
  public:
    Header(QWidget *parent, const QStringList &texts) : QHeaderView(Qt::Horizontal, parent), texts_(texts) {}

  protected:
    void paintSection(QPainter *p, const QRect &rect, int section) const override
    {
        p->save();
        p->fillRect(rect, FixedCellColour);
        p->setPen(GridLine);
        p->drawLine(rect.topRight(), rect.bottomRight());
        p->drawLine(rect.bottomLeft(), rect.bottomRight());
        p->setPen(colour::Black);
        drawFitted(p, rect, Qt::AlignCenter, texts_.value(section), font());
        p->restore();
    }

  private:
    QStringList texts_;
};

SeisekiGrid::SeisekiGrid(QWidget *parent, int rows, const QStringList &headers)
    : QTableView(parent), headers_(headers), rows_(rows)
{
    model_ = new Model(this, rows - 1, int(headers.size()));
    setModel(model_);
    setItemDelegate(new CellDelegate(this));
    header_ = new Header(this, headers);
    setHorizontalHeader(header_);
    header_->setSectionResizeMode(QHeaderView::Fixed);
    header_->setSectionsClickable(false);
    header_->setHighlightSections(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    header_->setMinimumSectionSize(1);

    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    takeEveryPress(verticalScrollBar()); // two quick presses on an arrow scroll two rows
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    // Below the last row the screen's navy shows, not a white page.
    QPalette ground = palette();
    ground.setColor(QPalette::Base, colour::Navy);
    ground.setColor(QPalette::Window, colour::Navy);
    ground.setColor(QPalette::Text, colour::Black);
    ground.setColor(QPalette::ButtonText, colour::Black);
    setPalette(ground);

    connect(this, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit rowClicked(index.row() + 1);
    });
}

void SeisekiGrid::setRowHeight(int height)
{
    rowHeight_ = height;
    verticalHeader()->setDefaultSectionSize(height);
    header_->setFixedHeight(height);
    verticalScrollBar()->setSingleStep(1);
}

void SeisekiGrid::setColumnWidths(const QVector<int> &widths)
{
    for (int c = 0; c < widths.size(); ++c)
        setColumnWidth(c, widths[c]);
}

void SeisekiGrid::setFonts(const QFont &headerFont, const QFont &body)
{
    header_->setFont(headerFont);
    model_->font = body;
    setFont(body);
}

void SeisekiGrid::setColumnFont(int column, const QFont &font, const QString &widest)
{
    model_->columnFonts[column] = widest.isEmpty() ? font : fitted(font, widest, columnWidth(column));
}

void SeisekiGrid::setRow(int r, const QStringList &cells)
{
    if (r >= 1 && r < rows_)
        model_->setRow(r - 1, cells);
}

void SeisekiGrid::clearRow(int r)
{
    setRow(r, QStringList());
}

QString SeisekiGrid::text(int r, int c) const
{
    if (r == 0)
        return headers_.value(c);
    if (r < 1 || r >= rows_)
        return {};
    return model_->row(r - 1).value(c);
}

void SeisekiGrid::setCentred(const QVector<int> &columns)
{
    model_->centred = columns;
}

int SeisekiGrid::rowAt(const QPoint &viewportPos) const
{
    const int r = QTableView::rowAt(viewportPos.y());
    return r < 0 ? 0 : r + 1;
}

void SeisekiGrid::setRowPointer(const QCursor &pointer)
{
    rowPointer_ = pointer;
    viewport()->setMouseTracking(true);
}

void SeisekiGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (rowPointer_) {
        if (rowAt(event->position().toPoint()) > 0)
            viewport()->setCursor(*rowPointer_);
        else
            viewport()->unsetCursor();
    }
    QTableView::mouseMoveEvent(event);
}

} // namespace fm::records
