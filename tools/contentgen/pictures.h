#pragma once
// The part pictures of the writing panels: BuhinX.bmp (one 64 x 64 cell per
// part picture) and bushu1.bmp … bushu8.bmp (where a group's parts sit).
// Needs a QGuiApplication for the fonts.
#include "tools/contentgen/sources.h"
#include <QImage>
#include <QRectF>

namespace fm::content
{

constexpr int PartCellSize = 64;
constexpr int GroupPictureSize = 40; // beside the caption on a 128 x 48 button

// Where a group's parts sit in a kanji, as fractions of the character box:
// `part` is where the part is drawn, `rest` where the rest of the kanji goes
// (shaded pale, empty when the part is all there is).
struct Place {
    QRectF part;
    QRectF rest;
};
Place placeOf(int group);

// A part is drawn where it sits in a kanji, so one picture serves only the
// parts of one group: gives every part its cell of the strip (parts of one
// group with the same picture share it) and returns the number of cells.
int assignCells(QVector<Part> &parts);

// One cell: the part dark on white in its place of a character box whose
// rest is shaded.
QImage partCell(const Part &part);
// The strip of all cells, cell c at x = 64(c - 1).
QImage partStrip(const QVector<Part> &parts, int cellCount);
// A character box with the group's place filled (group 1..8).
QImage groupPicture(int group);

} // namespace fm::content
