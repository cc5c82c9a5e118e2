#pragma once
// Each stroke's centre line with its bends, in writing order, for every
// taught kanji: what the stroke-order animation draws and what the stroke
// judge compares a child's stroke with. They are traced once, when the
// program is built, and ship as "Hitsujun1.dat".
#include "handwriting/ink.h"
#include <QByteArray>
#include <QHash>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace fm
{

struct Catalogue;

inline const QString CentreLinesFile = QStringLiteral("Hitsujun1.dat");

// One stroke's centre line on the 0..255 square: at least two points, from
// where the brush lands to where it leaves.
using StrokePath = QVector<QPointF>;
using StrokePaths = QVector<StrokePath>;

class CentreLines
{
  public:
    static constexpr int MaxPointsPerStroke = 64;
    static constexpr int MaxStrokesPerKanji = 30;

    // Reads the file's bytes; anything but a whole, well-formed
    // Hitsujun1.dat throws FileError(CentreLinesFile) with a detail.
    static CentreLines fromBytes(const QByteArray &bytes);
    // Reads <dir>/Hitsujun1.dat; missing: FileError::notFound.
    static CentreLines load(const QString &dir);
    // The file's bytes (the generator writes them); throws on a stroke of
    // fewer than two or more than MaxPointsPerStroke points.
    static QByteArray toBytes(const QHash<int, StrokePaths> &byKanji);

    // The strokes of kanji number n; empty when the file has none for it.
    const StrokePaths &of(int kanjiNumber) const;
    int kanjiCount() const { return byKanji_.size(); }

  private:
    QHash<int, StrokePaths> byKanji_;
};

// Throws FileError(CentreLinesFile) naming the first kanji of the catalogue
// whose strokes are missing or not as many as the catalogue counts.
void requireCentreLinesOfEveryKanji(const CentreLines &lines, const Catalogue &catalogue);

double pathLength(const StrokePath &path);
// The point `length` units along a path (its end, when shorter).
QPointF pointAlong(const StrokePath &path, double length);
// How far p lies from the segment ab.
double distanceToSegment(QPointF p, QPointF a, QPointF b);

// Points along each stroke at most `step` apart: the strokes as a careful
// hand would write them.
Ink inkFromCentreLines(const StrokePaths &paths, double step = 6.0);

} // namespace fm

namespace fm
{

// Where each stroke's number stands: its box (in the 0..255 units of the
// strokes) inside the square and near the stroke's start, always nearer it
// than any other stroke's start (of two strokes that start within a stroke's
// width of each other, as 口's first two do, the way each leaves the point
// tells them apart), and clear of every other number and of every stroke's
// line (`strokeHalfWidth` either side of its centre line) wherever the
// square leaves room. `box` is a two-digit number's box; a number of one
// digit has a narrower one, and where there is no room a number's box (and
// the number in it) is drawn smaller, SmallerNumber or SmallestNumber times
// the size.
inline constexpr double OneDigitWidth = 0.6;
inline constexpr double SmallerNumber = 0.8;
inline constexpr double SmallestNumber = 0.7;
QVector<QRectF> strokeNumberBoxes(const StrokePaths &paths, QSizeF box, double strokeHalfWidth);

} // namespace fm
