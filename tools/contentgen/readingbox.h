#pragma once
// content/reading-box.tsv -> Yomikata1.dat: the reading box of each kanji's
// page. A kanji without rows simply has no box; a malformed row stops the build.
#include "handwriting/readingbox.h"
#include "tools/contentgen/sources.h"
#include <QStringList>

namespace fm::content
{

QVector<QPair<int, BoxReading>> readReadingBox(const QString &file, const QByteArray &text,
                                               const QVector<Kanji> &kanji, QStringList &problems);

// contentgen --reading-box CONTENT-DIR OUTPUT-DIR. Returns the exit code.
int writeReadingBox(const QString &contentDir, const QString &outDir);

} // namespace fm::content
