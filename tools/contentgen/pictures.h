#pragma once
// The part pictures of the writing panels: BuhinX.bmp (one 64 x 64 cell per
// part picture) and bushu1.bmp … bushu8.bmp (where a group's parts sit).
// Needs a QGuiApplication for the fonts.
#include "sources.h"
#include <QImage>

namespace fm::content
{

constexpr int PartCellSize = 64;
constexpr int GroupPictureSize = 40; // beside the caption on a 128 x 48 button

// One cell: the part drawn large, dark on white, centred.
QImage partCell(const Part &part);
// The strip of all cells, cell c at x = 64(c - 1).
QImage partStrip(const QVector<Part> &parts, int cellCount);
// A character box with the group's place filled (group 1..8).
QImage groupPicture(int group);

} // namespace fm::content
