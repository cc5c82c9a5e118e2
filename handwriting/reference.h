#pragma once
// The reference strokes of every kanji the program teaches, in writing
// order: each stroke as its start and end point on the 0..255 square. They
// come from KanjiVG's stroke data and ship as "Kakijun1.dat".
#include "handwriting/ink.h"
#include <QByteArray>
#include <QHash>
#include <QString>

namespace fm
{

struct Catalogue;

inline const QString ReferenceStrokesFile = QStringLiteral("Kakijun1.dat");

struct ReferenceStroke {
    QPointF from;
    QPointF to;
};
using ReferenceStrokeList = QVector<ReferenceStroke>;

class ReferenceStrokes
{
  public:
    // Reads the file's bytes; a file that is not a whole, well-formed
    // Kakijun1.dat throws FileError(ReferenceStrokesFile) with a detail.
    static ReferenceStrokes fromBytes(const QByteArray &bytes);
    // Reads <dir>/Kakijun1.dat; missing: FileError::notFound, damaged as above.
    static ReferenceStrokes load(const QString &dir);
    // The file's bytes for these strokes (the generator writes them).
    static QByteArray toBytes(const QHash<int, ReferenceStrokeList> &byKanji);

    // The strokes of kanji number n (as numbered in Kanji1.dat), in order;
    // empty when the file has none for it.
    const ReferenceStrokeList &of(int kanjiNumber) const;
    int kanjiCount() const { return byKanji_.size(); }

  private:
    QHash<int, ReferenceStrokeList> byKanji_;
};

// Throws FileError(ReferenceStrokesFile) naming the first kanji of the
// catalogue whose strokes are missing or not as many as the catalogue counts
// (a stroke file of another catalogue).
void requireStrokesOfEveryKanji(const ReferenceStrokes &strokes, const Catalogue &catalogue);

// The reference strokes as ink: points along each stroke, step apart at
// most `step` units (what a careful hand would draw).
Ink inkFromReference(const ReferenceStrokeList &strokes, double step = 8.0);

} // namespace fm
