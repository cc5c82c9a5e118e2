#pragma once
// A child's stamps: one for each kanji the child has written alone on blank
// paper on the kanji's page. "Hanko<n>.dat" for player n holds one byte per
// kanji, '1' stamped and '0' not, 240 in all. The stamps are a child's
// reward, never a record the program depends on: a missing or damaged file
// costs the stamps and nothing else.
#include "data/levels.h"
#include <QString>
#include <array>

namespace fm
{

using Stamps = std::array<bool, KanjiCount + 1>; // [1..240]

// Name of player n's stamps: "Hanko<n>.dat".
QString stampFileName(int player);

// Player n's stamps; none when the file is missing or is not what it should
// be (another size, another byte, not a regular file, unreadable).
Stamps loadStamps(const QString &dir, int player);

// Rewrites the file through the verified save; FileError(name) when it fails,
// the old file then kept as it was.
void saveStamps(const QString &dir, int player, const Stamps &stamps);

// Adds kanji k's stamp and saves when it is new; true when it was new.
bool addStamp(const QString &dir, int player, int kanji);

} // namespace fm
