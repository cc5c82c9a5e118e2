#pragma once
// Writing by hand: the writing square a child writes a kanji on and the
// practice-paper drawing it shares with the stroke-order picture and the
// kanji's page (handwriting/strokeorderview.h, handwriting/kanjipage.h).
#include "handwriting/ink.h"
#include "shell/paper.h"
#include <QPixmap>

namespace fm
{

// A kanji notebook's square: white, a firm frame and the dashed cross that
// divides it into four.
void paintPracticePaper(QPainter &p, const QRectF &square);

// The writing square's sign: a small practice square with a stroke on it.
QPixmap writingIcon(int side);

// The width of a written stroke on a square of this size.
double penWidth(const QRectF &square);

// The writing square. Only presses on or just beside the square start a
// stroke: the widget around it passes on the presses that miss it by a
// little. A stroke being written when the square is hidden is kept.
// inkChanged() follows every finished stroke, every take-back and the
// clearing of the square.
class WritingSquare : public PaperWidget
{
    Q_OBJECT
  public:
    explicit WritingSquare(QWidget *parent);

    // The finished strokes, in the 0..255 coordinates of the reference strokes.
    const Ink &ink() const { return ink_; }
    int strokeCount() const { return int(ink_.size()); }

    void undoStroke(); // ひとつけす
    void clearInk();   // ぜんぶけす

  signals:
    void inkChanged();

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    Ink ink_;
};

} // namespace fm
