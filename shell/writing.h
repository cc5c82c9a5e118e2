#pragma once
// Writing by hand: the writing square a child writes a kanji on, the
// practice-paper drawing it shares with the stroke-order picture, and the
// stroke-order window ("かきじゅん") that shows a kanji's strokes numbered
// and drawn one after another.
#include "handwriting/reference.h"
#include <QDialog>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace fm
{

struct Services;

// The face of fonts-kanjistrokeorders: every kanji with its strokes numbered.
inline const QString StrokeOrderFamily = QStringLiteral("KanjiStrokeOrders");
bool strokeOrderFontInstalled();

// A kanji notebook's square: white, a firm frame and the dashed cross that
// divides it into four.
void paintPracticePaper(QPainter &p, const QRectF &square);

// The writing square's sign: a small practice square with a stroke on it.
QPixmap writingIcon(int side);

// The path of each reference stroke on the 0..255 square. The stroke data
// holds only where a stroke starts and ends, and a bent stroke (the top and
// right side of 口, the left and bottom of 山) is no straight line from one
// to the other: each stroke's path is traced through the ink of the kanji
// drawn in the plain face, from its start to its end, keeping off the
// strokes already traced where another way exists. A stroke the ink cannot
// carry (a face without the kanji) stays the straight line.
using StrokePath = QVector<QPointF>;
QVector<StrokePath> traceStrokePaths(const QString &glyph, const ReferenceStrokeList &strokes);

// The stroke paths on the square: the first `done` strokes whole, the next
// one drawn up to `progress` (0..1) of its length, each numbered at its
// start; the stroke being drawn in red, the others black.
void paintStrokes(QPainter &p, const QRectF &square, const QVector<StrokePath> &paths, int done,
                  double progress);

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

// The reference strokes drawn one after another on practice paper, a stroke
// every Tim_Draw tick.
class StrokeOrderView : public QWidget
{
    Q_OBJECT
  public:
    static constexpr int TickMs = 40;
    static constexpr int TicksPerStroke = 12;
    StrokeOrderView(QWidget *parent, QVector<StrokePath> paths);

    void restart();
    void Tim_DrawTimer();
    bool finished() const { return done_ >= int(paths_.size()); }
    int strokesDone() const { return done_; }
    QTimer Tim_Draw;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QVector<StrokePath> paths_;
    int done_ = 0;
    int tick_ = 0;
};

// The stroke-order window: the kanji large in the stroke-order face with its
// strokes numbered, and beside it the strokes drawn in order.
class TF_Kakijun : public QDialog
{
    Q_OBJECT
  public:
    TF_Kakijun(Services &services, int kanjiNumber, QWidget *parent);

    QLabel *Lbl_Title;
    QLabel *Lbl_Kanji; // the still picture
    StrokeOrderView *Img_Kakijun;
    QPushButton *Btn_Again;
    QPushButton *Btn_Close;
};

// Whether kanji n has a stroke-order picture to show.
bool strokeOrderAvailable(Services &services, int kanjiNumber);
// Opens the stroke-order window of kanji n over parent and waits for it to
// close; does nothing when the kanji has no reference strokes.
void showStrokeOrder(Services &services, int kanjiNumber, QWidget *parent);

} // namespace fm
