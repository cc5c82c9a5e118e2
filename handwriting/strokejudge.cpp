#include "handwriting/strokejudge.h"
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace fm
{

namespace
{

constexpr int Samples = 24;
// Tolerances in the kanji's own 0..255 units, whatever size the child writes.
constexpr double PlaceTolerance = 30;        // mean distance from the stroke's place
constexpr double RefitPlaceTolerance = 18;   // the same, the frame refitted to the stroke
constexpr double RefitScale = 1.3;           // how far refitting may change the size
constexpr double ShapeToleranceMin = 10;     // mean distance once moved onto its place ...
constexpr double ShapeToleranceShare = 0.25; // ... or this share of the stroke's length
constexpr double TurnToleranceDeg = 35;      // mean difference of the way the pen heads
constexpr double ShortStroke = 40;           // dots and hooks: their length says little of the size
// Dots and short ticks are written at many angles (the dot of 六 straight
// down or slanting right): their heading is allowed twice the turn.
constexpr double DotLength = 60;
constexpr double TinyInk = 4; // a click, however large the kanji
// Hands differ in how far a short stroke runs (the middle line of 日 may
// stop well short of the right side), so a stroke in its place may be far
// shorter than the book's; shorter than this it is a stroke left half-way.
constexpr double ShortestShare = 0.35;
constexpr double LongestGap = 50; // units of a stroke left unwritten

// Samples points evenly along the stroke's length.
QVector<QPointF> resample(const QVector<QPointF> &p, int n = Samples)
{
    QVector<QPointF> out;
    out.reserve(n);
    const double total = pathLength(p);
    if (p.isEmpty())
        return QVector<QPointF>(n, QPointF());
    if (total <= 0 || p.size() < 2)
        return QVector<QPointF>(n, p.first());
    qsizetype seg = 1;
    double before = 0; // length up to p[seg - 1]
    for (int k = 0; k < n; ++k) {
        const double want = total * k / (n - 1);
        while (seg < p.size() - 1) {
            const double segLen = std::hypot(p[seg].x() - p[seg - 1].x(), p[seg].y() - p[seg - 1].y());
            if (before + segLen >= want)
                break;
            before += segLen;
            ++seg;
        }
        const QPointF d = p[seg] - p[seg - 1];
        const double segLen = std::hypot(d.x(), d.y());
        const double t = segLen > 0 ? std::clamp((want - before) / segLen, 0.0, 1.0) : 0.0;
        out.append(p[seg - 1] + d * t);
    }
    return out;
}

QPointF centroid(const QVector<QPointF> &p)
{
    QPointF c;
    for (const QPointF &q : p)
        c += q;
    return p.isEmpty() ? c : c / double(p.size());
}

double meanDistance(const QVector<QPointF> &a, const QVector<QPointF> &b, QPointF shift = {})
{
    double sum = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QPointF d = a[i] + shift - b[i];
        sum += std::hypot(d.x(), d.y());
    }
    return sum / double(a.size());
}

double distanceToPath(QPointF p, const QVector<QPointF> &path)
{
    double best = std::hypot(p.x() - path.first().x(), p.y() - path.first().y());
    for (qsizetype i = 1; i < path.size(); ++i)
        best = std::min(best, distanceToSegment(p, path[i - 1], path[i]));
    return best;
}

// How far apart two strokes lie, whatever their pace: the mean distance of
// each one's points from the other's line, the larger of the two ways (so
// that a stroke covering only part of the other is not near it).
double lineDistance(const QVector<QPointF> &a, const QVector<QPointF> &b)
{
    double ab = 0, ba = 0;
    for (const QPointF &p : a)
        ab += distanceToPath(p, b);
    for (const QPointF &p : b)
        ba += distanceToPath(p, a);
    return std::max(ab / double(a.size()), ba / double(b.size()));
}

// The mean difference, in degrees, of the way the pen heads along the two
// strokes (each over a few samples, so that a wobble does not count).
double meanTurn(const QVector<QPointF> &a, const QVector<QPointF> &b)
{
    constexpr int Span = 3;
    double sum = 0;
    int n = 0;
    for (qsizetype i = 0; i + Span < a.size(); ++i) {
        const QPointF da = a[i + Span] - a[i], db = b[i + Span] - b[i];
        if (std::hypot(da.x(), da.y()) < 1e-6 || std::hypot(db.x(), db.y()) < 1e-6)
            continue;
        double diff = std::abs(std::atan2(da.y(), da.x()) - std::atan2(db.y(), db.x()));
        if (diff > std::numbers::pi)
            diff = 2 * std::numbers::pi - diff;
        sum += diff;
        ++n;
    }
    return n ? sum / n * 180 / std::numbers::pi : 0;
}

QVector<QPointF> reversed(QVector<QPointF> p)
{
    std::reverse(p.begin(), p.end());
    return p;
}

// The least-squares size and shift that carry the reference points onto
// the child's, point for point.
struct Fit {
    QPointF reference, child; // the two centroids
    double scale = 1;
    double spread = 0; // how far the reference points lie from their centroid
};

Fit fitPoints(const QVector<QPointF> &reference, const QVector<QPointF> &child)
{
    Fit f{centroid(reference), centroid(child)};
    double cov = 0, var = 0;
    for (qsizetype i = 0; i < reference.size(); ++i) {
        const QPointF a = reference[i] - f.reference, b = child[i] - f.child;
        cov += a.x() * b.x() + a.y() * b.y();
        var += a.x() * a.x() + a.y() * a.y();
    }
    f.spread = std::sqrt(var / double(std::max<qsizetype>(1, reference.size())));
    f.scale = var > 0 ? cov / var : 1;
    return f;
}

// Strokes whose points spread less than this round their middle (a dot)
// cannot tell a size ...
constexpr double LeastSpread = 12;
// ... and up to this, the size is taken from their length, not fitted point
// for point: a dot (up to DotLength long; its points spread about 0.29 of
// its length) slanting another way than the book's would shrink the kanji.
constexpr double FitSpread = 18;

} // namespace

StrokeJudge::StrokeJudge(StrokePaths reference, Paper paper) : reference_(std::move(reference)), paper_(paper)
{
    for (const StrokePath &p : reference_)
        sampled_.append(resample(p));
    // Over the model the kanji's own place is where the child writes.
    sized_ = paper_ == Paper::OverTheModel;
}

void StrokeJudge::restart()
{
    sized_ = paper_ == Paper::OverTheModel;
    written_.clear();
    frame_ = {};
    next_ = 0;
}

QPointF StrokeJudge::toChild(QPointF r) const
{
    return {r.x() * frame_.scale + frame_.dx, r.y() * frame_.scale + frame_.dy};
}

StrokeJudge::Frame StrokeJudge::frameFor(int index, const QVector<QPointF> &child, bool refit) const
{
    if (paper_ == Paper::OverTheModel || (sized_ && !refit))
        return frame_;
    // On blank paper the first stroke tells the size by its length and the
    // place by its middle; dots written before it help with the place.
    // Refitting, the size and place are fitted afresh to the strokes written
    // so far and this one together: the first strokes tell the size of a
    // child's kanji only roughly, and each hand draws some strokes longer or
    // shorter than the book does.
    const QVector<QPointF> &ref = sampled_[index];
    const double refLen = pathLength(ref);
    Frame f;
    f.scale = sized_ ? frame_.scale : refLen >= ShortStroke ? pathLength(child) / refLen : frame_.scale;
    QPointF r = centroid(ref), c = centroid(child);
    if (!written_.isEmpty()) {
        QVector<QPointF> rs = ref, cs = child;
        for (int i = 0; i < written_.size(); ++i) {
            rs += sampled_[i];
            cs += written_[i];
        }
        const Fit fit = fitPoints(rs, cs);
        r = fit.reference;
        c = fit.child;
        if (fit.spread >= FitSpread)
            f.scale = sized_ ? std::clamp(fit.scale, frame_.scale / RefitScale, frame_.scale * RefitScale)
                             : std::clamp(fit.scale, 0.3, 2.5);
    }
    f.dx = c.x() - r.x() * f.scale;
    f.dy = c.y() - r.y() * f.scale;
    return f;
}

StrokeJudge::Judgement StrokeJudge::judgeStroke(int index, const QVector<QPointF> &child) const
{
    const Judgement j = judgeAgainst(index, child, frameFor(index, child, false), PlaceTolerance);
    if (j.right() || !sized_ || paper_ == Paper::OverTheModel)
        return j;
    // Refitted to this stroke the frame follows the child's proportions, so
    // the place must then be nearer.
    const Judgement refitted = judgeAgainst(index, child, frameFor(index, child, true), RefitPlaceTolerance);
    return refitted.right() ? refitted : j;
}

StrokeJudge::Judgement StrokeJudge::judgeAgainst(int index, const QVector<QPointF> &child, const Frame &f,
                                                 double placeTolerance) const
{
    Judgement j;
    const QVector<QPointF> &refPath = sampled_[index];
    const double refLen = pathLength(refPath);
    QVector<QPointF> ref;
    ref.reserve(refPath.size());
    for (const QPointF &q : refPath)
        ref.append(QPointF(q.x() * f.scale + f.dx, q.y() * f.scale + f.dy));
    const double s = std::max(f.scale, 1e-3);
    const double childLen = pathLength(child) / s;

    j.placeError = lineDistance(child, ref) / s;
    j.shapeError = meanDistance(child, ref, centroid(ref) - centroid(child)) / s;
    const double turn = meanTurn(child, ref);
    j.lengthRatio = refLen > 0 ? childLen / refLen : 0;

    const bool first = !sized_;
    const double lowScale = 0.4, highScale = refLen >= ShortStroke ? 2.0 : 2.5;
    if (pathLength(child) < TinyInk || (first && f.scale < lowScale) ||
        (!first && (childLen < ShortestShare * refLen || refLen - childLen > LongestGap)) ||
        (first && refLen < ShortStroke && pathLength(child) < 0.3 * refLen)) {
        j.verdict = Verdict::TooShort;
        return j;
    }
    if ((first && f.scale > highScale) || (!first && childLen > 1.8 * refLen + 10)) {
        j.verdict = Verdict::TooLong;
        return j;
    }
    const double shapeTolerance = std::max(ShapeToleranceMin, ShapeToleranceShare * refLen);
    const double turnTolerance = refLen < DotLength ? 2 * TurnToleranceDeg : TurnToleranceDeg;
    const bool shapeOk = j.shapeError <= shapeTolerance && turn <= turnTolerance;
    if (!shapeOk) {
        const double back = meanDistance(child, reversed(ref), centroid(ref) - centroid(child)) / s;
        j.verdict = back <= shapeTolerance && meanTurn(child, reversed(ref)) <= turnTolerance
                        ? Verdict::Backwards
                        : Verdict::WrongShape;
        return j;
    }
    if (j.placeError > placeTolerance) {
        // Begun in its place and left well short: the child stopped half-way.
        j.verdict = !first && childLen < 0.6 * refLen ? Verdict::TooShort : Verdict::WrongPlace;
        return j;
    }
    if (first && refLen >= ShortStroke) {
        // The whole kanji, laid where this stroke says, must still fit the
        // square. Its length tells the size only roughly, so the kanji may
        // be smaller round the stroke than it says.
        constexpr double Smaller = 0.7;
        const QPointF anchor = centroid(child);
        QRectF box;
        for (const StrokePath &p : reference_)
            for (const QPointF &q : p) {
                const QPointF at(q.x() * f.scale + f.dx, q.y() * f.scale + f.dy);
                box |= QRectF(anchor + (at - anchor) * Smaller, QSizeF(0.01, 0.01));
            }
        const double margin = 0.12 * InkSide;
        if (!QRectF(-margin, -margin, InkSide + 2 * margin, InkSide + 2 * margin).contains(box)) {
            j.verdict = Verdict::WrongPlace;
            return j;
        }
    }
    j.verdict = Verdict::Right;
    return j;
}

StrokeJudge::Judgement StrokeJudge::judge(const InkStroke &stroke) const
{
    if (finished() || stroke.isEmpty())
        return {};
    const QVector<QPointF> child = resample(stroke);
    Judgement j = judgeStroke(next_, child);
    // The very first stroke on blank paper could be any of them, anywhere.
    if ((!sized_ && written_.isEmpty()) || pathLength(child) < TinyInk)
        return j;
    // Another stroke still to come that fits (far better): the child wrote
    // that one out of order. After dots alone (計, 学) their place says
    // roughly where the kanji lies, enough to tell one line from the next.
    for (int m = next_ + 1; m < strokeCount(); ++m) {
        const Judgement other = judgeStroke(m, child);
        if (other.right() && (!j.right() || other.placeError < 0.5 * j.placeError)) {
            j.verdict = Verdict::WrongStroke;
            j.otherStroke = m;
            return j;
        }
    }
    return j;
}

StrokeJudge::Judgement StrokeJudge::write(const InkStroke &stroke)
{
    const Judgement j = judge(stroke);
    if (j.right()) {
        const QVector<QPointF> child = resample(stroke);
        if (!sized_)
            frame_ = frameFor(next_, child, false);
        written_.append(child);
        ++next_;
        refit();
    }
    return j;
}

void StrokeJudge::skip()
{
    if (finished())
        return;
    QVector<QPointF> drawn;
    for (const QPointF &q : sampled_[next_])
        drawn.append(toChild(q));
    written_.append(drawn);
    ++next_;
    refit();
}

void StrokeJudge::refit()
{
    // Least squares of scale and shift from the kanji's strokes to the
    // child's, over every accepted stroke.
    QVector<QPointF> r, c;
    for (int i = 0; i < written_.size(); ++i) {
        r += sampled_[i];
        c += written_[i];
    }
    const Fit fit = fitPoints(r, c);
    if (fit.spread < LeastSpread)
        return; // dots alone: the frame their strokes gave stays
    sized_ = true;
    if (fit.spread < FitSpread)
        return; // one short stroke: the size its length gave stays
    const double scale = std::clamp(fit.scale, 0.3, 2.5);
    frame_ = {scale, fit.child.x() - scale * fit.reference.x(), fit.child.y() - scale * fit.reference.y()};
}

GuidedStrokes::Outcome GuidedStrokes::write(const InkStroke &stroke)
{
    last_ = judge_.write(stroke);
    if (last_.right()) {
        misses_ = 0;
        return Outcome::Right;
    }
    if (++misses_ < MissesBeforeHelp)
        return Outcome::TryAgain;
    judge_.skip();
    misses_ = 0;
    ++helped_;
    return Outcome::DrawnForChild;
}

void GuidedStrokes::restart()
{
    judge_.restart();
    last_ = {};
    misses_ = 0;
    helped_ = 0;
}

} // namespace fm
