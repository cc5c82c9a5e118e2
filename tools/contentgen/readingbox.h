#pragma once
// content/reading-box.tsv -> Yomikata1.dat: the reading box of each kanji's
// page. The rows are checked with the rest of the content; any fault stops the build.
#include "handwriting/readingbox.h"
#include "tools/contentgen/sources.h"
#include <QStringList>

namespace fm::content
{

// contentgen --reading-box CONTENT-DIR OUTPUT-DIR. Returns the exit code.
int writeReadingBox(const QString &contentDir, const QString &outDir);

} // namespace fm::content
