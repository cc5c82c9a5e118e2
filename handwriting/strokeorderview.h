#pragma once
// The stroke-order picture: each stroke's centre line drawn one after
// another and numbered, and the stroke-order window ("かきじゅん") around it.
#include "handwriting/centrelines.h"
#include <QDialog>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace fm
{

struct Services;

// The centre lines of kanji n: Hitsujun1.dat's, or, where that file lacks
// the kanji or counts its strokes otherwise, the straight lines of the
// reference strokes. Empty when neither knows the kanji. FileError
// (Hitsujun1.dat) when that file is damaged, or missing while the reference
// strokes are there.
StrokePaths strokePathsOf(Services &services, int kanjiNumber);

// The strokes on the square: the first `done` whole, the next drawn up to
// `progress` (0..1) of its length, each numbered where its number stands
// clear of the others; the stroke being drawn red, the others black.
void paintStrokes(QPainter &p, const QRectF &square, const StrokePaths &paths, int done, double progress);

// The strokes drawn one after another on practice paper, a stroke every
// TicksPerStroke ticks of its timer "Tim_Draw" (tests tick it by name).
class StrokeOrderView : public QWidget
{
    Q_OBJECT
  public:
    static constexpr int TickMs = 40;
    static constexpr int TicksPerStroke = 12;
    StrokeOrderView(QWidget *parent, StrokePaths paths);

    // From the first stroke again.
    void restart();
    // The drawing stops where it is.
    void stop();
    bool finished() const { return done_ >= int(paths_.size()); }
    int strokesDone() const { return done_; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QTimer *Tim_Draw;
    void Tim_DrawTimer();

    StrokePaths paths_;
    int done_ = 0;
    int tick_ = 0;
};

// The stroke-order window: the kanji large with its strokes numbered, and
// beside it the strokes drawn in order.
class TF_Kakijun : public QDialog
{
    Q_OBJECT
  public:
    TF_Kakijun(Services &services, int kanjiNumber, QWidget *parent);

  private:
    // Controls; tests and the help find them by their object names.
    QLabel *Lbl_Title;
    QWidget *Lbl_Kanji; // the still picture
    StrokeOrderView *Img_Kakijun;
    QPushButton *Btn_Again;
    QPushButton *Btn_Close;
};

// Whether kanji n has a stroke-order picture to show.
bool strokeOrderAvailable(Services &services, int kanjiNumber);
// Opens the stroke-order window of kanji n over parent and waits for it to
// close; does nothing when the kanji has no strokes.
void showStrokeOrder(Services &services, int kanjiNumber, QWidget *parent);

} // namespace fm
