#include "handwriting/centrelines.h"
#include "data/binio.h"
#include "data/catalogue.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "handwriting/strokefile.h"
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

} // namespace

QVector<QPointF> strokeNumberPlaces(const StrokePaths &paths, QSizeF box, double strokeHalfWidth)
{
    // Points along every stroke, two units apart.
    QVector<QPointF> ink;
    for (const StrokePath &p : paths)
        for (qsizetype i = 1; i < p.size(); ++i) {
            const QPointF d = p[i] - p[i - 1];
            const int steps = std::max(1, int(std::hypot(d.x(), d.y()) / 2));
            for (int k = 0; k <= steps; ++k)
                ink.append(p[i - 1] + d * (double(k) / steps));
        }
    const double clearance = strokeHalfWidth + 1.5;
    const QRectF square(0, 0, InkSide, InkSide);
    QVector<QRectF> placed;
    QVector<QPointF> out;
    for (const StrokePath &p : paths) {
        const QPointF start = p.first();
        QPointF dir = p.size() > 1 ? p[1] - p[0] : QPointF(1, 0);
        const double len = std::hypot(dir.x(), dir.y());
        dir = len > 0 ? dir / len : QPointF(1, 0);
        double bestCost = std::numeric_limits<double>::max();
        QRectF best;
        // Behind the start first, then turning either way round it, nearer first.
        for (double reach : {0.75, 1.0, 1.3, 1.7, 2.2}) {
            for (int turn = 0; turn <= 12; ++turn) {
                const double angle = (turn % 2 ? 1 : -1) * ((turn + 1) / 2) * std::numbers::pi / 6;
                const QPointF back(-dir.x() * std::cos(angle) + dir.y() * std::sin(angle),
                                   -dir.y() * std::cos(angle) - dir.x() * std::sin(angle));
                QRectF r(QPointF(), box);
                r.moveCenter(start + back * reach * std::max(box.width(), box.height()));
                double cost = reach + turn * 0.05;
                if (!square.contains(r))
                    cost += 50;
                for (const QRectF &q : placed)
                    if (q.adjusted(-1, -1, 1, 1).intersects(r))
                        cost += 100;
                for (const QPointF &q : ink)
                    if (distanceToBox(r, q) < clearance) {
                        cost += 20;
                        break;
                    }
                if (cost < bestCost) {
                    bestCost = cost;
                    best = r;
                }
            }
        }
        placed.append(best);
        out.append(best.center());
    }
    return out;
}

} // namespace fm
