#pragma once
// Each stroke's centre line with its bends, traced when the program is
// built. The reference strokes give only where a stroke starts and ends; a
// bent stroke (the top and right side of 口, the left and bottom of 山) is
// traced through the ink of the kanji drawn in the stroke-order face, from
// its start to its end, along the middle of the ink and off the strokes
// already traced where another way exists.
#include "handwriting/centrelines.h"
#include "handwriting/reference.h"
#include <QImage>
#include <QStringList>

namespace fm::content
{

struct Kanji;

// The face of fonts-kanjistrokeorders: every kanji drawn from the same strokes.
inline const QString StrokeOrderFamily = QStringLiteral("KanjiStrokeOrders");

// The kanji's ink laid on the reference strokes' 0..255 square.
QImage kanjiInk(const QString &glyph, const ReferenceStrokeList &strokes);
QVector<StrokePath> traceStrokePaths(const QString &glyph, const ReferenceStrokeList &strokes);
// The share of the line (0..1) that lies on or right beside the ink.
double shareOnInk(const QImage &ink, const StrokePath &path);

// Every kanji's centre lines; a kanji whose lines do not trace (a line off
// the ink, too many points, another stroke count) adds a problem instead.
QHash<int, StrokePaths> centreLinesOf(const QVector<Kanji> &kanji,
                                      const QHash<int, ReferenceStrokeList> &strokes, QStringList &problems);

// contentgen --centre-lines DATA-JSON CONTENT-DIR OUTPUT-DIR: writes
// OUTPUT-DIR/Hitsujun1.dat, or nothing when a kanji fails. Returns the exit code.
int writeCentreLines(const QString &jsonPath, const QString &contentDir, const QString &outDir);

} // namespace fm::content
