#include "tools/contentgen/trace.h"
#include "data/catalogue.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "tools/contentgen/sources.h"
#include "tools/contentgen/strokes.h"
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLineF>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <optional>
#include <queue>
#include <vector>

namespace fm::content
{

namespace
{

constexpr int TraceSide = InkSide; // the ink is traced on the 0..255 square itself

bool inked(const QImage &ink, int x, int y)
{
    return ink.constScanLine(y)[x] < 128;
}

// The glyph drawn in the middle of the trace square, in the stroke-order
// face or, without it, in the plain face a little smaller.
QImage drawnGlyph(const QString &glyph, bool strokeFace)
{
    QImage drawn(TraceSide, TraceSide, QImage::Format_Grayscale8);
    drawn.fill(255);
    {
        QPainter p(&drawn);
        QFont face(strokeFace ? StrokeOrderFamily : QStringLiteral("IPAGothic"));
        face.setPixelSize(strokeFace ? TraceSide : TraceSide * 7 / 8);
        p.setFont(face);
        p.setPen(Qt::black);
        p.drawText(drawn.rect(), Qt::AlignCenter, glyph);
    }
    return drawn;
}

// Ink within two pixels, so that an end on a stroke's edge counts.
QImage inkNearby(const QImage &drawn)
{
    QImage near(TraceSide, TraceSide, QImage::Format_Grayscale8);
    near.fill(255);
    for (int y = 0; y < TraceSide; ++y)
        for (int x = 0; x < TraceSide; ++x)
            if (inked(drawn, x, y))
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx)
                        if (near.rect().contains(x + dx, y + dy))
                            near.scanLine(y + dy)[x + dx] = 0;
    return near;
}

// Where the strokes' square lies on the drawn face: the scale and offset
// that put the most stroke ends on its ink.
struct FacePlace {
    double scale = 1, x = 0, y = 0;
};

FacePlace placeOfFace(const QImage &near, const ReferenceStrokeList &strokes)
{
    FacePlace place;
    double best = -1;
    for (double scale = 0.8; scale <= 1.2; scale += 0.02)
        for (int ox = -40; ox <= 40; ox += 2)
            for (int oy = -40; oy <= 40; oy += 2) {
                int on = 0;
                for (const ReferenceStroke &s : strokes)
                    for (const QPointF &e : {s.from, s.to}) {
                        const int x = int(e.x() * scale + ox), y = int(e.y() * scale + oy);
                        on += near.rect().contains(x, y) && inked(near, x, y);
                    }
                // Among equal fits the one closest to the face's own place.
                const double score = on - (std::abs(scale - 1) + (std::abs(ox) + std::abs(oy)) / 400.0);
                if (score > best) {
                    best = score;
                    place = {scale, double(ox), double(oy)};
                }
            }
    return place;
}

std::vector<float> inkDepth(const QImage &ink);

// The ends alone leave the face's place uncertain by a few pixels, which
// bends a stroke's last part towards an end beside the ink. Finer steps
// then lay the strokes' own lines as deep inside the face's ink as they go.
FacePlace refinePlace(const QImage &drawn, const ReferenceStrokeList &strokes, FacePlace coarse)
{
    const std::vector<float> depth = inkDepth(drawn);
    FacePlace place = coarse;
    double best = -1;
    for (int ds = -4; ds <= 4; ++ds)
        for (int dx = -4; dx <= 4; ++dx)
            for (int dy = -4; dy <= 4; ++dy) {
                const double scale = coarse.scale + ds * 0.01, ox = coarse.x + dx, oy = coarse.y + dy;
                double score = 0;
                for (const ReferenceStroke &st : strokes)
                    for (int k = 0; k <= 12; ++k) {
                        const QPointF q = st.from + (st.to - st.from) * (k / 12.0);
                        const int x = int(q.x() * scale + ox), y = int(q.y() * scale + oy);
                        if (x >= 0 && y >= 0 && x < TraceSide && y < TraceSide)
                            score += std::min(4.f, depth[size_t(y) * TraceSide + size_t(x)]);
                    }
                if (score > best) {
                    best = score;
                    place = {scale, ox, oy};
                }
            }
    return place;
}

QRect inkBox(const QImage &drawn)
{
    QRect box;
    for (int y = 0; y < TraceSide; ++y)
        for (int x = 0; x < TraceSide; ++x)
            if (inked(drawn, x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The kanji black on white on the square, where the stroke data has it.
// The stroke-order face is drawn from the same strokes: it is laid where the
// strokes' ends fall on its ink (the numbers beside the strokes are ink the
// traces never reach, as they touch no stroke). Without that face the plain
// face stands in, its box laid on the box of the strokes' ends.
QImage glyphInk(const QString &glyph, const ReferenceStrokeList &strokes)
{
    QImage ink(TraceSide, TraceSide, QImage::Format_Grayscale8);
    ink.fill(255);
    QRectF ends;
    for (const ReferenceStroke &s : strokes)
        ends |= QRectF(s.from, QSizeF(0.01, 0.01)) | QRectF(s.to, QSizeF(0.01, 0.01));
    if (glyph.isEmpty() || ends.width() < 8 || ends.height() < 8)
        return ink;
    const bool strokeFace = QFontDatabase::families().contains(StrokeOrderFamily);
    const QImage drawn = drawnGlyph(glyph, strokeFace);
    QPainter p(&ink);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (strokeFace) {
        const QImage near = inkNearby(drawn);
        const FacePlace coarse = placeOfFace(near, strokes);
        FacePlace f = refinePlace(drawn, strokes, coarse);
        auto endsOnInk = [&](const FacePlace &at) {
            int on = 0;
            for (const ReferenceStroke &st : strokes)
                for (const QPointF &e : {st.from, st.to}) {
                    const int x = int(e.x() * at.scale + at.x), y = int(e.y() * at.scale + at.y);
                    on += near.rect().contains(x, y) && inked(near, x, y);
                }
            return on;
        };
        // Never at the cost of an end leaving the ink.
        if (endsOnInk(f) < endsOnInk(coarse))
            f = coarse;
        // The face at its place, mapped back onto the strokes' square.
        p.drawImage(QRectF(-f.x / f.scale, -f.y / f.scale, TraceSide / f.scale, TraceSide / f.scale), drawn);
        return ink;
    }
    const QRect box = inkBox(drawn);
    if (box.isEmpty())
        return ink;
    // The ends lie on the strokes' centre lines, half a stroke inside the ink.
    const double half = std::max(2.0, TraceSide / 40.0);
    p.drawImage(ends.adjusted(-half, -half, half, half), drawn, QRectF(box));
    return ink;
}

QPoint nearestInk(const QImage &ink, QPointF at)
{
    const QPoint c(std::clamp(int(at.x()), 0, TraceSide - 1), std::clamp(int(at.y()), 0, TraceSide - 1));
    for (int r = 0; r < 24; ++r)
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                const QPoint q = c + QPoint(dx, dy);
                if (std::max(std::abs(dx), std::abs(dy)) == r && ink.rect().contains(q) &&
                    inked(ink, q.x(), q.y()))
                    return q;
            }
    return {-1, -1};
}

// The cheapest way through the ink from a to b (8 neighbours). Every turn
// costs a little, so a path keeps to one stroke's straight runs instead of
// zigzagging through the middle of the kanji; a pixel of a stroke already
// traced costs more, so a bent stroke goes round its own way rather than
// along another one. Empty when the ink does not join them.
// How deep each pixel lies inside the ink (city-block steps to the paper):
// the cost of a step falls towards a stroke's middle, so that a path runs
// along the centre line instead of hugging the inner edge of a bend.
std::vector<float> inkDepth(const QImage &ink)
{
    const int n = TraceSide;
    std::vector<float> d(size_t(n) * n, 0.f);
    const float far = float(n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            d[size_t(y) * n + x] = inked(ink, x, y) ? far : 0.f;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float &v = d[size_t(y) * n + x];
            if (x > 0)
                v = std::min(v, d[size_t(y) * n + x - 1] + 1);
            if (y > 0)
                v = std::min(v, d[size_t(y - 1) * n + x] + 1);
        }
    for (int y = n - 1; y >= 0; --y)
        for (int x = n - 1; x >= 0; --x) {
            float &v = d[size_t(y) * n + x];
            if (x < n - 1)
                v = std::min(v, d[size_t(y) * n + x + 1] + 1);
            if (y < n - 1)
                v = std::min(v, d[size_t(y + 1) * n + x] + 1);
        }
    return d;
}

QVector<QPoint> inkPath(const QImage &ink, const std::vector<float> &depth, const std::vector<uint8_t> &taken,
                        QPoint a, QPoint b)
{
    static constexpr int Dx[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    static constexpr int Dy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    constexpr float TurnCost = 1.0f;   // per 45 degrees
    constexpr float CentrePull = 2.0f; // an edge pixel costs three times a middle one
    constexpr float TakenCost = 6.0f;  // another stroke's way
    const size_t states = size_t(TraceSide) * TraceSide * 8;
    std::vector<float> cost(states, std::numeric_limits<float>::max());
    std::vector<int> from(states, -1);
    using Item = std::pair<float, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    const int start = a.y() * TraceSide + a.x();
    const int goal = b.y() * TraceSide + b.x();
    if (start == goal)
        return {a, b};
    for (int d = 0; d < 8; ++d) {
        cost[size_t(start) * 8 + size_t(d)] = 0;
        open.push({0.f, start * 8 + d});
    }
    int reached = -1;
    while (!open.empty()) {
        const auto [c, state] = open.top();
        open.pop();
        if (c > cost[size_t(state)])
            continue;
        const int i = state / 8, dir = state % 8;
        if (i == goal) {
            reached = state;
            break;
        }
        const int x = i % TraceSide, y = i / TraceSide;
        for (int d = 0; d < 8; ++d) {
            const int nx = x + Dx[d], ny = y + Dy[d];
            if (nx < 0 || ny < 0 || nx >= TraceSide || ny >= TraceSide || !inked(ink, nx, ny))
                continue;
            const int j = ny * TraceSide + nx;
            const int turn = std::min((d - dir + 8) % 8, (dir - d + 8) % 8);
            const float centre = 1.f + CentrePull / std::max(1.f, depth[size_t(j)]);
            const float step = (d % 2 ? 1.414f : 1.f) * centre * (taken[size_t(j)] ? TakenCost : 1.f) +
                               (i == start ? 0.f : TurnCost * turn);
            const int next = j * 8 + d;
            if (c + step < cost[size_t(next)]) {
                cost[size_t(next)] = c + step;
                from[size_t(next)] = state;
                open.push({c + step, next});
            }
        }
    }
    if (reached < 0)
        return {};
    QVector<QPoint> path;
    for (int state = reached; state >= 0; state = from[size_t(state)])
        path.prepend(QPoint(state / 8 % TraceSide, state / 8 / TraceSide));
    return path;
}

// Keeps the corners of a pixel path (Douglas-Peucker); appends the indices
// of the points kept, all but the first.
void keepCorners(const QVector<QPoint> &path, int first, int last, double tolerance, QVector<int> &out)
{
    const QPointF a = path[first], b = path[last];
    const QPointF ab = b - a;
    const double len = std::hypot(ab.x(), ab.y());
    double worst = 0;
    int at = -1;
    for (int i = first + 1; i < last; ++i) {
        const QPointF ap = QPointF(path[i]) - a;
        const double d =
            len > 0 ? std::abs(ab.x() * ap.y() - ab.y() * ap.x()) / len : std::hypot(ap.x(), ap.y());
        if (d > worst) {
            worst = d;
            at = i;
        }
    }
    if (at >= 0 && worst > tolerance) {
        keepCorners(path, first, at, tolerance, out);
        keepCorners(path, at, last, tolerance, out);
    } else {
        out.append(last);
    }
}

// The straight line that best fits pixels first..last of a path (least
// squares), leaving out a few at each end where a bend rounds them off: a
// point on it and its direction along the path.
struct Run {
    QPointF at, dir;
};

Run fitRun(const QVector<QPoint> &path, int first, int last)
{
    const int trim = std::min(4, (last - first) / 4);
    const int from = first + trim, to = last - trim;
    QPointF mean;
    for (int i = from; i <= to; ++i)
        mean += QPointF(path[i]);
    mean /= double(to - from + 1);
    double xx = 0, yy = 0, xy = 0;
    for (int i = from; i <= to; ++i) {
        const QPointF d = QPointF(path[i]) - mean;
        xx += d.x() * d.x();
        yy += d.y() * d.y();
        xy += d.x() * d.y();
    }
    const double angle = 0.5 * std::atan2(2 * xy, xx - yy);
    QPointF dir(std::cos(angle), std::sin(angle));
    const QPointF along = QPointF(path[last] - path[first]);
    if (dir.x() * along.x() + dir.y() * along.y() < 0)
        dir = -dir;
    return {mean, dir};
}

// The signed turn from one run's direction to another's, in radians.
double turnBetween(const Run &in, const Run &out)
{
    return std::atan2(in.dir.x() * out.dir.y() - in.dir.y() * out.dir.x(),
                      in.dir.x() * out.dir.x() + in.dir.y() * out.dir.y());
}

// Whether some ink lies within `reach` pixels of p (a square round it).
bool inkWithin(const QImage &ink, QPointF p, int reach)
{
    const int x0 = int(std::lround(p.x())), y0 = int(std::lround(p.y()));
    for (int y = std::max(0, y0 - reach); y <= std::min(TraceSide - 1, y0 + reach); ++y)
        for (int x = std::max(0, x0 - reach); x <= std::min(TraceSide - 1, x0 + reach); ++x)
            if (inked(ink, x, y))
                return true;
    return false;
}

// The corners of a traced way, sharp where the kanji's are. The search
// through the ink cuts a corner with a diagonal step or more (shorter, and
// two half turns cost what one whole turn does), and Douglas-Peucker keeps
// the cut: as a short slant of its own, or, where the side after the corner
// runs within the tolerance of the cut (the right side of 口), as the start
// of a side that leaves the top in one slant. So each side of a sharp bend is
// fitted with a straight line through its own pixels, clear of the cut, and
// the corner put where the two lines cross (by the ink, near the bend).
StrokePath sharpCorners(const QVector<QPoint> &pixels, const QImage &ink, double tolerance)
{
    constexpr double SharpTurn = 30 * std::numbers::pi / 180;
    constexpr double CornerReach = 8; // how far a corner may lie from the bend as traced
    // The face rounds the outside of a corner: the corner of its centre
    // lines lies a few pixels beyond the ink.
    constexpr int CornerOffInk = 4;
    constexpr int ShortCut = 10;       // the most pixels a cut corner spans
    constexpr double StraightSide = 3; // how far a straight side's pixels stray from its line
    QVector<int> kept{0};
    keepCorners(pixels, 0, int(pixels.size()) - 1, tolerance, kept);
    StrokePath at;
    for (int k : kept)
        at.append(QPointF(pixels[k]));
    // A turn of a kanji's stroke is sharp where one side runs across (the
    // corners of 口, 山, 又 and ム); a bend between two slants (the foot of
    // 力's hook) is round. A hairpin's sides barely cross: it stays as traced.
    auto across = [](const Run &r) { return std::abs(r.dir.y()) < std::sin(SharpTurn); };
    // Where the lines of two runs cross, at a sharp turn.
    auto corner = [&](const Run &in, const Run &out, QPointF bend) -> std::optional<QPointF> {
        const double turn = std::abs(turnBetween(in, out));
        if (turn < SharpTurn || turn > std::numbers::pi - SharpTurn || !(across(in) || across(out)))
            return std::nullopt;
        // in.at + in.dir * t == out.at + out.dir * u
        const QPointF d = out.at - in.at;
        const double cross = in.dir.x() * out.dir.y() - in.dir.y() * out.dir.x();
        const double t = (d.x() * out.dir.y() - d.y() * out.dir.x()) / cross;
        const QPointF c = in.at + in.dir * t;
        if (QLineF(c, bend).length() > CornerReach || !inkWithin(ink, c, CornerOffInk))
            return std::nullopt;
        return c;
    };
    QVector<bool> sharpened(kept.size(), false);
    for (qsizetype i = 1; i + 1 < kept.size(); ++i) {
        const Run in = fitRun(pixels, kept[i - 1], kept[i]);
        // A cut kept as a short slant between two half turns the same way.
        if (i + 2 < kept.size() && kept[i + 1] - kept[i] <= ShortCut) {
            const Run cut = fitRun(pixels, kept[i], kept[i + 1]);
            const Run out = fitRun(pixels, kept[i + 1], kept[i + 2]);
            const auto c = corner(in, out, (at[i] + at[i + 1]) / 2);
            if (c && turnBetween(in, cut) * turnBetween(cut, out) > 0) {
                at[i] = *c;
                sharpened[i] = true;
                kept[i] = (kept[i] + kept[i + 1]) / 2;
                kept.remove(i + 1);
                at.remove(i + 1);
                sharpened.remove(i + 1);
                continue;
            }
        }
        if (const auto c = corner(in, fitRun(pixels, kept[i], kept[i + 1]), at[i])) {
            at[i] = *c;
            sharpened[i] = true;
        }
    }
    // The sides of a corner run on straight past a point the cut left on
    // them (the staircase of a slanting side's pixels puts one where its
    // first step leaves the corner): such a point goes, and the corner is
    // put again where the whole sides cross. Only the pixels round the
    // corner itself are left out of that test: a side's far end (the nib
    // where 村's last stroke starts) must fit the line too.
    auto straight = [&](int first, int last, bool cornerFirst) {
        const Run r = fitRun(pixels, first, last);
        const int trim = std::min(4, (last - first) / 4);
        for (int k = cornerFirst ? first + trim : first; k <= (cornerFirst ? last : last - trim); ++k) {
            const QPointF d = QPointF(pixels[k]) - r.at;
            if (std::abs(d.x() * r.dir.y() - d.y() * r.dir.x()) > StraightSide)
                return false;
        }
        return true;
    };
    for (qsizetype i = 1; i + 1 < kept.size(); ++i) {
        if (!sharpened[i])
            continue;
        bool longer = false;
        while (i + 2 < kept.size() && !sharpened[i + 1] && straight(kept[i], kept[i + 2], true)) {
            kept.remove(i + 1);
            at.remove(i + 1);
            sharpened.remove(i + 1);
            longer = true;
        }
        while (i >= 2 && !sharpened[i - 1] && straight(kept[i - 2], kept[i], false)) {
            --i;
            kept.remove(i);
            at.remove(i);
            sharpened.remove(i);
            longer = true;
        }
        if (longer)
            if (const auto c =
                    corner(fitRun(pixels, kept[i - 1], kept[i]), fitRun(pixels, kept[i], kept[i + 1]), at[i]))
                at[i] = *c;
    }
    return at;
}

// Marks what a traced stroke covers, for the strokes after it.
void take(std::vector<uint8_t> &taken, const StrokePath &path)
{
    for (qsizetype i = 1; i < path.size(); ++i) {
        const QPointF p0 = path[i - 1], p1 = path[i];
        const int steps = int(std::hypot(p1.x() - p0.x(), p1.y() - p0.y())) + 1;
        for (int k = 0; k <= steps; ++k) {
            const QPointF q = p0 + (p1 - p0) * (double(k) / steps);
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const int x = int(q.x()) + dx, y = int(q.y()) + dy;
                    if (x >= 0 && y >= 0 && x < TraceSide && y < TraceSide)
                        taken[size_t(y) * TraceSide + size_t(x)] = 1;
                }
        }
    }
}

} // namespace

double shareOnInk(const QImage &ink, const StrokePath &path)
{
    const QImage near = inkNearby(ink);
    int on = 0, all = 0;
    for (qsizetype i = 1; i < path.size(); ++i) {
        const QPointF p0 = path[i - 1], p1 = path[i];
        const int steps = std::max(1, int(std::hypot(p1.x() - p0.x(), p1.y() - p0.y())));
        for (int k = 0; k < steps; ++k) {
            const QPointF q = p0 + (p1 - p0) * (double(k) / steps);
            const int x = std::clamp(int(q.x()), 0, TraceSide - 1),
                      y = std::clamp(int(q.y()), 0, TraceSide - 1);
            on += inked(near, x, y);
            ++all;
        }
    }
    return all ? double(on) / all : 0.0;
}

QImage kanjiInk(const QString &glyph, const ReferenceStrokeList &strokes)
{
    return glyphInk(glyph, strokes);
}

QVector<StrokePath> traceStrokePaths(const QString &glyph, const ReferenceStrokeList &strokes)
{
    const QImage ink = glyphInk(glyph, strokes);
    const std::vector<float> depth = inkDepth(ink);
    const QImage near = inkNearby(ink);
    const std::vector<float> nearDepth = inkDepth(near);
    constexpr double CornerTolerance = 4.0;
    std::vector<uint8_t> taken(size_t(TraceSide) * TraceSide, 0);
    QVector<StrokePath> paths;
    for (qsizetype k = 0; k < strokes.size(); ++k) {
        const ReferenceStroke &s = strokes[k];
        StrokePath path{s.from, s.to};
        const QPoint a = nearestInk(ink, s.from), b = nearestInk(ink, s.to);
        // A straight stroke's line lies on the ink (or right beside it, where
        // the face's stroke rises a little): it stays as it is.
        if (a.x() >= 0 && b.x() >= 0 && shareOnInk(ink, path) < 0.95) {
            // The other strokes' ways: the earlier ones as traced, the later
            // ones as their straight lines (exact for the straight strokes,
            // and mostly off the ink for the bent ones).
            std::vector<uint8_t> others = taken;
            for (qsizetype j = k + 1; j < strokes.size(); ++j)
                take(others, {strokes[j].from, strokes[j].to});
            QVector<QPoint> pixels = inkPath(ink, depth, others, a, b);
            // A face whose stroke breaks for a pixel or two (where strokes
            // meet) is bridged by the ink right beside it.
            if (pixels.size() < 2)
                pixels = inkPath(near, nearDepth, others, a, b);
            if (pixels.size() >= 2) {
                // The way as traced, its corners kept within a pixel or two:
                // the face's strokes are thin, and a line cut straighter
                // would leave them.
                StrokePath traced = sharpCorners(pixels, ink, CornerTolerance);
                // The reference ends where they lie beside the traced ones.
                if (QLineF(traced.first(), s.from).length() > 1.5)
                    traced.prepend(s.from);
                if (QLineF(traced.last(), s.to).length() > 1.5)
                    traced.append(s.to);
                // A way round much longer than the stroke's own reach is a
                // wrong turn through joined strokes: the line is kept then,
                // and the check of the ink refuses it.
                const double chord = std::hypot(s.to.x() - s.from.x(), s.to.y() - s.from.y());
                if (pathLength(traced) <= 3.0 * chord + TraceSide / 16.0)
                    path = traced;
            }
        }
        take(taken, path);
        paths.append(path);
    }
    return paths;
}

int writeCentreLines(const QString &jsonPath, const QString &contentDir, const QString &outDir)
{
    QStringList problems;
    const Sources s = readAll(contentDir, problems);
    QFile file(jsonPath);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "contentgen: cannot read %s\n", qPrintable(jsonPath));
        return 1;
    }
    if (!QFontDatabase::families().contains(StrokeOrderFamily))
        problems << QStringLiteral("the stroke-order face %1 is not installed (fonts-kanjistrokeorders)")
                        .arg(StrokeOrderFamily);
    const QHash<int, ReferenceStrokeList> strokes = referenceStrokes(file.readAll(), s.kanji, problems);
    QHash<int, StrokePaths> lines;
    if (problems.isEmpty())
        lines = centreLinesOf(s.kanji, strokes, problems);
    if (!problems.isEmpty()) {
        for (const QString &line : problems)
            std::fprintf(stderr, "%s\n", qPrintable(line));
        std::fprintf(stderr, "contentgen: %lld problem(s); %s not written\n", qlonglong(problems.size()),
                     qPrintable(CentreLinesFile));
        return 1;
    }
    try {
        QDir().mkpath(outDir);
        writeWholeFileAtomic(outDir, CentreLinesFile, CentreLines::toBytes(lines));
    } catch (const FileError &e) {
        std::fprintf(stderr, "contentgen: %s\n", e.what());
        return 1;
    }
    std::printf("contentgen: stroke centre lines of %lld kanji\n", qlonglong(lines.size()));
    return 0;
}

QHash<int, StrokePaths> centreLinesOf(const QVector<Kanji> &kanji,
                                      const QHash<int, ReferenceStrokeList> &strokes, QStringList &problems)
{
    QHash<int, StrokePaths> out;
    for (const Kanji &k : kanji) {
        const ReferenceStrokeList &ref = strokes.value(k.number);
        if (ref.size() != k.strokes) {
            problems << QStringLiteral("kanji %1 %2: %3 reference strokes, the catalogue %4")
                            .arg(k.number)
                            .arg(k.glyph)
                            .arg(ref.size())
                            .arg(k.strokes);
            continue;
        }
        const QImage ink = kanjiInk(k.glyph, ref);
        StrokePaths paths = traceStrokePaths(k.glyph, ref);
        bool good = paths.size() == k.strokes;
        for (qsizetype i = 0; good && i < paths.size(); ++i) {
            // A line that leaves the kanji's ink did not trace.
            const double on = shareOnInk(ink, paths[i]);
            if (on < 0.85 || paths[i].size() > CentreLines::MaxPointsPerStroke) {
                problems << QStringLiteral("kanji %1 %2, stroke %3: %4 % of its line on the ink, %5 points")
                                .arg(k.number)
                                .arg(k.glyph)
                                .arg(i + 1)
                                .arg(int(on * 100))
                                .arg(paths[i].size());
                good = false;
            }
        }
        if (good)
            out.insert(k.number, paths);
    }
    return out;
}

} // namespace fm::content
