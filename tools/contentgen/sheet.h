#pragma once
// A contact sheet of every kanji's centre lines with their numbers, for a
// teacher's eye: contentgen --sheet CONTENT-DIR PROGRAM-DIR PNG.
#include <QString>

namespace fm::content
{

int writeContactSheet(const QString &contentDir, const QString &programDir, const QString &pngPath);

} // namespace fm::content
