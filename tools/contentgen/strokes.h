#pragma once
// The reference strokes of the taught kanji, from python3-kanjidraw's
// data.json (KanjiVG's strokes as start and end points on a 0..255 square,
// grouped by stroke count), written as Kakijun1.dat.
#include "handwriting/reference.h"
#include "tools/contentgen/sources.h"
#include <QStringList>

namespace fm::content
{

// The strokes of each kanji (by kanji number) from data.json's text. Every
// kanji missing there, or listed there with another stroke count than the
// catalogue's, and every stroke that is not four numbers in 0..255, adds a
// line to problems.
QHash<int, ReferenceStrokeList> referenceStrokes(const QByteArray &json, const QVector<Kanji> &kanji,
                                                 QStringList &problems);

// contentgen --strokes DATA-JSON CONTENT-DIR OUTPUT-DIR: writes
// OUTPUT-DIR/Kakijun1.dat, or nothing when a kanji's strokes are wanting.
// Returns the exit code.
int writeReferenceStrokes(const QString &jsonPath, const QString &contentDir, const QString &outDir);

} // namespace fm::content
