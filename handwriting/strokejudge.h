#pragma once
// The stroke judge of guided writing: a finished stroke (the pen lifted) is
// compared with the next stroke of the kanji on its place, its direction and
// its shape. A child's hand wobbles and writes the kanji larger, smaller or
// a little aside: the judge learns where the child writes from the strokes
// already accepted and compares in that frame.
#include "handwriting/centrelines.h"

namespace fm
{

class StrokeJudge
{
  public:
    enum class Verdict {
        Right,
        TooShort,    // a dot, a click, a stroke left half-way
        TooLong,     // far longer than the stroke (a scribble, two strokes in one)
        Backwards,   // the right stroke from its end to its start
        WrongStroke, // another stroke of the kanji, written out of order
        WrongPlace,  // the stroke's shape, but elsewhere
        WrongShape,
    };
    struct Judgement {
        Verdict verdict = Verdict::WrongShape;
        int otherStroke = -1;   // with WrongStroke: the stroke the child wrote (from 0)
        double placeError = 0;  // mean distance from the stroke, in the kanji's 0..255 units
        double shapeError = 0;  // the same with the stroke moved onto its place
        double lengthRatio = 0; // the child's stroke against the stroke's length
        bool right() const { return verdict == Verdict::Right; }
    };

    // Where the child is expected to write: over the kanji drawn on the
    // paper (its strokes or their starting dots shown), or anywhere on blank
    // paper, at any size that fits.
    enum class Paper { OverTheModel, Blank };

    explicit StrokeJudge(StrokePaths reference, Paper paper = Paper::Blank);

    // Judges the stroke against the next one; changes nothing.
    Judgement judge(const InkStroke &stroke) const;
    // Judges and, when it is right, takes the stroke and moves on.
    Judgement write(const InkStroke &stroke);
    // Moves on as if the next stroke had been written exactly (the program
    // draws it for the child).
    void skip();
    void restart();

    int next() const { return next_; }
    int strokeCount() const { return int(reference_.size()); }
    bool finished() const { return next_ >= strokeCount(); }
    const StrokePaths &reference() const { return reference_; }
    // Where a point of the reference lies in the child's writing, as far as
    // the accepted strokes tell.
    QPointF toChild(QPointF referencePoint) const;

  private:
    struct Frame {
        double scale = 1, dx = 0, dy = 0;
    };
    Judgement judgeStroke(int index, const QVector<QPointF> &child) const;
    Judgement judgeAgainst(int index, const QVector<QPointF> &child, const Frame &frame,
                           double placeTolerance) const;
    Frame frameFor(int index, const QVector<QPointF> &child, bool refit) const;
    void refit();

    StrokePaths reference_;
    QVector<QVector<QPointF>> sampled_; // each reference stroke, resampled once
    Paper paper_;
    QVector<QVector<QPointF>> written_; // the accepted strokes, resampled
    Frame frame_;
    bool sized_ = false; // a stroke of some length has fixed the frame
    int next_ = 0;
};

// The rounds of guided writing, stroke by stroke: three misses on one stroke
// and the program writes it for the child, so nothing is ever a dead end.
class GuidedStrokes
{
  public:
    static constexpr int MissesBeforeHelp = 3;
    enum class Outcome { Right, TryAgain, DrawnForChild };

    explicit GuidedStrokes(StrokePaths reference, StrokeJudge::Paper paper = StrokeJudge::Paper::Blank)
        : judge_(std::move(reference), paper)
    {
    }

    Outcome write(const InkStroke &stroke);
    const StrokeJudge::Judgement &last() const { return last_; }
    int misses() const { return misses_; }
    int next() const { return judge_.next(); }
    bool finished() const { return judge_.finished(); }
    // Strokes the program drew for the child in this round.
    int helped() const { return helped_; }
    void restart();
    const StrokeJudge &judge() const { return judge_; }

  private:
    StrokeJudge judge_;
    StrokeJudge::Judgement last_;
    int misses_ = 0;
    int helped_ = 0;
};

} // namespace fm
