#pragma once
// Writing by hand: the writing square a child writes a kanji on and the
// practice-paper drawing it shares with the stroke-order picture and the
// kanji's page (handwriting/strokeorderview.h, handwriting/kanjipage.h).
#include "handwriting/reference.h"
#include <QWidget>

namespace fm
{

// A kanji notebook's square: white, a firm frame and the dashed cross that
// divides it into four.
void paintPracticePaper(QPainter &p, const QRectF &square);

// The writing square's sign: a small practice square with a stroke on it.
QPixmap writingIcon(int side);

// The width of a written stroke on a square of this size.
double penWidth(const QRectF &square);

// The writing square. Strokes come from the mouse, a pen or a finger (Qt
// turns pen and touch input the widget does not take itself into mouse
// events); only presses inside the square start a stroke, and a stroke
// that runs over the edge stays on the edge. inkChanged() follows every
// finished stroke, every take-back and the clearing of the square.
class WritingSquare : public QWidget
{
    Q_OBJECT
  public:
    explicit WritingSquare(QWidget *parent);

    // The finished strokes, in the 0..255 coordinates of the reference strokes.
    const Ink &ink() const { return ink_; }
    int strokeCount() const { return int(ink_.size()); }
    bool drawing() const { return drawing_; }

    void undoStroke(); // ひとつけす
    void clearInk();   // ぜんぶけす

    // A stroke written by a test: points in the widget's own coordinates.
    void writeStroke(const QVector<QPointF> &points);

  signals:
    void inkChanged();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QRectF paper() const;
    QPointF toInk(const QPointF &widgetPoint) const;
    QPointF toWidget(const QPointF &inkPoint) const;
    void beginStroke(const QPointF &at);
    void endStroke();

    Ink ink_;
    InkStroke current_;
    bool drawing_ = false;
    bool startedOutside_ = false; // its press went to the widget around the square
};

} // namespace fm
