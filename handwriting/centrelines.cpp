#include "handwriting/centrelines.h"
#include "data/binio.h"
#include "data/catalogue.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "handwriting/strokefile.h"
#include <QLineF>
#include <QList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

// Hitsujun1.dat, little-endian like the other data files:
//   "HTSJ", version (i16, 1), kanji count N (i16, 1..1024)
//   N index entries of 4 bytes in rising kanji number:
//     kanji number (i16, 1..1024), stroke count (u8, 1..30), 0 (u8)
//   then each kanji's strokes in index order, each stroke as
//     point count P (u8, 2..64), then P points of x, y (u8 each, 0..255)
// and nothing after the last stroke.

namespace fm
{

namespace
{

constexpr qint64 kMaxFileBytes =
    strokefile::HeaderSize +
    qint64(MaxKanjiNumber) * (strokefile::IndexEntrySize +
                              CentreLines::MaxStrokesPerKanji * (1 + 2 * CentreLines::MaxPointsPerStroke));

const strokefile::Format &format()
{
    static const strokefile::Format f{CentreLinesFile, "HTSJ", "centre-line file",
                                      CentreLines::MaxStrokesPerKanji, kMaxFileBytes};
    return f;
}

FileError damaged(const QString &detail)
{
    return strokefile::damaged(format(), detail);
}

char coordinate(double v)
{
    return char(uint8_t(std::clamp<long>(std::lround(v), 0, InkSide - 1)));
}

} // namespace

CentreLines CentreLines::fromBytes(const QByteArray &bytes)
{
    const int count = strokefile::checkHeader(format(), bytes);
    const qint64 size = bytes.size();
    const char *p = bytes.constData();
    CentreLines out;
    out.byKanji_.reserve(count);
    qint64 at = strokefile::HeaderSize + qint64(count) * strokefile::IndexEntrySize;
    int previous = 0;
    for (int i = 0; i < count; ++i) {
        const auto [number, strokes] = strokefile::checkIndexEntry(format(), bytes, i, previous);
        StrokePaths paths;
        paths.reserve(strokes);
        for (int s = 0; s < strokes; ++s) {
            if (at >= size)
                throw damaged(QStringLiteral("kanji %1: stroke %2 lies past the end of the file")
                                  .arg(number)
                                  .arg(s + 1));
            const int points = bin::u8(p + at);
            if (points < 2 || points > MaxPointsPerStroke)
                throw damaged(QStringLiteral("kanji %1, stroke %2: %3 points, outside 2..%4")
                                  .arg(number)
                                  .arg(s + 1)
                                  .arg(points)
                                  .arg(MaxPointsPerStroke));
            ++at;
            if (at + 2 * qint64(points) > size)
                throw damaged(QStringLiteral("kanji %1, stroke %2: its points lie past the end of the file")
                                  .arg(number)
                                  .arg(s + 1));
            StrokePath path;
            path.reserve(points);
            for (int k = 0; k < points; ++k, at += 2)
                path.append(QPointF(bin::u8(p + at), bin::u8(p + at + 1)));
            paths.append(path);
        }
        out.byKanji_.insert(number, paths);
        previous = number;
    }
    if (at != size)
        throw damaged(QStringLiteral("%1 bytes after the last stroke").arg(size - at));
    return out;
}

CentreLines CentreLines::load(const QString &dir)
{
    const auto bytes = readWholeFile(dir, CentreLinesFile, kMaxFileBytes);
    if (!bytes)
        throw FileError::notFound(CentreLinesFile);
    return fromBytes(*bytes);
}

QByteArray CentreLines::toBytes(const QHash<int, StrokePaths> &byKanji)
{
    QList<int> numbers = byKanji.keys();
    std::sort(numbers.begin(), numbers.end());
    QByteArray out = strokefile::startFile(format(), numbers.size());
    for (int i = 0; i < numbers.size(); ++i) {
        const int number = numbers[i];
        const StrokePaths &paths = byKanji[number];
        strokefile::putIndexEntry(format(), out, i, number, paths.size());
        for (qsizetype s = 0; s < paths.size(); ++s) {
            const StrokePath &path = paths[s];
            if (path.size() < 2 || path.size() > MaxPointsPerStroke)
                throw damaged(QStringLiteral("kanji %1, stroke %2: %3 points, outside 2..%4")
                                  .arg(number)
                                  .arg(s + 1)
                                  .arg(path.size())
                                  .arg(MaxPointsPerStroke));
            out.append(char(uint8_t(path.size())));
            for (const QPointF &q : path) {
                out.append(coordinate(q.x()));
                out.append(coordinate(q.y()));
            }
        }
    }
    return out;
}

const StrokePaths &CentreLines::of(int kanjiNumber) const
{
    static const StrokePaths none;
    const auto it = byKanji_.constFind(kanjiNumber);
    return it == byKanji_.constEnd() ? none : *it;
}

void requireCentreLinesOfEveryKanji(const CentreLines &lines, const Catalogue &catalogue)
{
    for (int k = 1; k <= MaxKanjiNumber; ++k) {
        const int wanted = catalogue.KanjiTable[k].Strokes;
        if (wanted > 0 && lines.of(k).size() != wanted)
            throw damaged(lines.of(k).isEmpty() ? QStringLiteral("kanji %1 has no strokes").arg(k)
                                                : QStringLiteral("kanji %1 has %2 strokes, the catalogue %3")
                                                      .arg(k)
                                                      .arg(lines.of(k).size())
                                                      .arg(wanted));
    }
}

QPointF pointAlong(const StrokePath &path, double length)
{
    for (qsizetype i = 1; i < path.size(); ++i) {
        const double len = QLineF(path[i - 1], path[i]).length();
        if (len >= length)
            return path[i - 1] + (path[i] - path[i - 1]) * (length / len);
        length -= len;
    }
    return path.last();
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a, ap = p - a;
    const double len2 = ab.x() * ab.x() + ab.y() * ab.y();
    const double t = len2 > 0 ? std::clamp((ap.x() * ab.x() + ap.y() * ab.y()) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(ap.x() - ab.x() * t, ap.y() - ab.y() * t);
}

double pathLength(const StrokePath &path)
{
    double len = 0;
    for (qsizetype i = 1; i < path.size(); ++i)
        len += std::hypot(path[i].x() - path[i - 1].x(), path[i].y() - path[i - 1].y());
    return len;
}

Ink inkFromCentreLines(const StrokePaths &paths, double step)
{
    step = std::max(step, 1.0);
    Ink ink;
    ink.reserve(paths.size());
    for (const StrokePath &path : paths) {
        InkStroke stroke{path.first()};
        for (qsizetype i = 1; i < path.size(); ++i) {
            const QPointF d = path[i] - path[i - 1];
            const int segments = std::max(1, int(std::ceil(std::hypot(d.x(), d.y()) / step)));
            for (int k = 1; k <= segments; ++k)
                stroke.append(path[i - 1] + d * (double(k) / segments));
        }
        ink.append(stroke);
    }
    return ink;
}

} // namespace fm

namespace fm
{

namespace
{

double distanceToBox(const QRectF &r, QPointF p)
{
    const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
    return std::hypot(dx, dy);
}

// Whether segment ab crosses the upright line x = at between y0 and y1.
bool crossesUpright(QPointF a, QPointF b, double at, double y0, double y1)
{
    if ((a.x() - at) * (b.x() - at) > 0 || a.x() == b.x())
        return false;
    const double y = a.y() + (b.y() - a.y()) * (at - a.x()) / (b.x() - a.x());
    return y >= y0 && y <= y1;
}

double boxToSegment(const QRectF &r, QPointF a, QPointF b)
{
    if (r.contains(a) || r.contains(b))
        return 0;
    const QPointF ta(a.y(), a.x()), tb(b.y(), b.x());
    if (crossesUpright(a, b, r.left(), r.top(), r.bottom()) ||
        crossesUpright(a, b, r.right(), r.top(), r.bottom()) ||
        crossesUpright(ta, tb, r.top(), r.left(), r.right()) ||
        crossesUpright(ta, tb, r.bottom(), r.left(), r.right()))
        return 0;
    double d = std::min(distanceToBox(r, a), distanceToBox(r, b));
    for (const QPointF &c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        d = std::min(d, distanceToSegment(c, a, b));
    return d;
}

} // namespace

QVector<QRectF> strokeNumberBoxes(const StrokePaths &paths, QSizeF box, double strokeHalfWidth)
{
    const int n = int(paths.size());
    const QRectF square(0, 0, InkSide, InkSide);
    const double size = std::max(box.width(), box.height());
    // How much nearer a place lies to stroke i's start than to the nearest
    // other stroke's. Starts closer than a stroke is wide look like one
    // point (the first two of 口): there the points a little along each
    // stroke count, told apart by the way each leaves it.
    constexpr double OneStart = 12;
    auto nearerOwnStart = [&](QPointF c, int i) {
        double margin = std::numeric_limits<double>::max();
        for (int j = 0; j < n; ++j) {
            if (j == i || paths[j].isEmpty())
                continue;
            QPointF mine = paths[i].first(), theirs = paths[j].first();
            if (QLineF(mine, theirs).length() < OneStart) {
                mine = pointAlong(paths[i], OneStart);
                theirs = pointAlong(paths[j], OneStart);
            }
            margin = std::min(margin, QLineF(c, theirs).length() - QLineF(c, mine).length());
        }
        return margin;
    };
    // Each stroke's line as segments, with the box round each a number must
    // keep clear of.
    struct Segment {
        QPointF a, b;
        QRectF near;
    };
    const double clearance = strokeHalfWidth + 1.5;
    QVector<Segment> segments;
    for (const StrokePath &p : paths)
        for (qsizetype k = 1; k < p.size(); ++k)
            segments.append(
                {p[k - 1], p[k],
                 QRectF(p[k - 1], p[k]).normalized().adjusted(-clearance, -clearance, clearance, clearance)});

    // Every place a number may stand, with what it costs on its own: far
    // from the start costs, a smaller number costs, touching a stroke costs
    // much; a place outside the square, or as near another stroke's start as
    // its own, is none (unless the square has no other). The places ring the
    // start, a few degrees and units apart.
    struct Place {
        QRectF box;
        double cost;
    };
    constexpr double Touching = 100;   // a number on a stroke's line
    constexpr double Crowded = 1000;   // two numbers on one another
    constexpr double RunTogether = 40; // two numbers read as one ("4" "10" as 410)
    constexpr double Smaller = 15;     // for each tenth smaller, 1.5
    constexpr double Misleading = 1e4; // nearer another stroke's start
    auto ring = [&](int i, bool anywhere) {
        QVector<Place> out;
        const StrokePath &p = paths[i];
        const QPointF start = p.first();
        QPointF dir = p.size() > 1 ? p[1] - p[0] : QPointF(1, 0);
        const double len = std::hypot(dir.x(), dir.y());
        dir = len > 0 ? dir / len : QPointF(1, 0);
        const QSizeF own = i + 1 < 10 ? QSizeF(box.width() * OneDigitWidth, box.height()) : box;
        for (double scale : {1.0, SmallerNumber, SmallestNumber})
            for (double reach = 0.3 * size; reach <= 3 * size; reach += 0.08 * size)
                for (int turn = 0; turn < 24; ++turn) {
                    // Turn 0 lies behind the start: a number the stroke leaves from.
                    const double angle = turn * std::numbers::pi / 12;
                    const QPointF way(-dir.x() * std::cos(angle) + dir.y() * std::sin(angle),
                                      -dir.y() * std::cos(angle) - dir.x() * std::sin(angle));
                    QRectF r(QPointF(), own * scale);
                    r.moveCenter(start + way * reach);
                    if (!square.contains(r))
                        continue;
                    const double nearer = nearerOwnStart(r.center(), i);
                    if (nearer < 1 && !anywhere)
                        continue;
                    double gap = clearance;
                    for (const Segment &g : segments)
                        if (g.near.intersects(r))
                            gap = std::min(gap, boxToSegment(r, g.a, g.b));
                    // Above or left of the start reads first, as the pen comes from there.
                    double cost = reach / size + std::min(turn, 24 - turn) * 0.01 + (1 - scale) * Smaller +
                                  0.1 * (1 + (way.x() + way.y()) / std::numbers::sqrt2);
                    if (gap < strokeHalfWidth)
                        cost += Touching + (strokeHalfWidth - gap);
                    else
                        cost += (clearance - gap) * 2;
                    // Clearly nearer its own start than any other.
                    cost += nearer < 1 ? Misleading : std::max(0.0, 6 - nearer) * 0.2;
                    out.append({r, cost});
                }
        return out;
    };
    // Each stroke's best few hundred places are plenty to choose among.
    constexpr qsizetype Kept = 256;
    QVector<QVector<Place>> places(n);
    for (int i = 0; i < n; ++i)
        if (!paths[i].isEmpty()) {
            places[i] = ring(i, false);
            if (places[i].isEmpty())
                places[i] = ring(i, true);
            std::stable_sort(places[i].begin(), places[i].end(),
                             [](const Place &a, const Place &b) { return a.cost < b.cost; });
            places[i].resize(std::min(places[i].size(), Kept));
        }

    auto between = [&](const QRectF &a, const QRectF &b) {
        if (a.intersects(b))
            return Crowded;
        if (a.adjusted(-4, -1, 4, 1).intersects(b))
            return RunTogether;
        return 0.0;
    };
    // The most crowded strokes choose first, then each in turn moves to its
    // best place among the others' until none moves.
    QVector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    auto clearPlaces = [&](int i) {
        return std::count_if(places[i].begin(), places[i].end(),
                             [](const Place &q) { return q.cost < Touching; });
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return clearPlaces(a) < clearPlaces(b); });
    QVector<int> chosen(n, -1);
    auto best = [&](int i) {
        int at = -1;
        double lowest = std::numeric_limits<double>::max();
        for (int c = 0; c < places[i].size(); ++c) {
            double cost = places[i][c].cost;
            for (int j = 0; j < n && cost < lowest; ++j)
                if (j != i && chosen[j] >= 0)
                    cost += between(places[i][c].box, places[j][chosen[j]].box);
            if (cost < lowest) {
                lowest = cost;
                at = c;
            }
        }
        return at;
    };
    for (int i : order)
        chosen[i] = best(i);
    for (int round = 0; round < 8; ++round) {
        bool moved = false;
        for (int i : order) {
            const int c = best(i);
            moved = moved || c != chosen[i];
            chosen[i] = c;
        }
        if (!moved)
            break;
    }

    QVector<QRectF> out;
    for (int i = 0; i < n; ++i) {
        QRectF r(QPointF(), box);
        r.moveCenter(square.center());
        out.append(chosen[i] >= 0 ? places[i][chosen[i]].box : r);
    }
    return out;
}

} // namespace fm
