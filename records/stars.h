#pragma once
// The mode screen's rows of stars: which star goes in which cell, and the
// pictures drawn from Stars.bmp.
#include "data/levels.h"
#include <QImage>
#include <QRect>
#include <QString>
#include <array>

namespace fm::records
{

constexpr int StarCells = 12;    // one star per level, in two rows of six
constexpr int StarCellSize = 32; // a 34 x 34 star is scaled into it
constexpr int StarPictureSize = 34;

// What one cell shows. Partial: the filled star's left `width` pixels.
struct StarCell {
    enum Kind { Empty, Filled, Partial } kind = Empty;
    int width = 0;
    bool operator==(const StarCell &) const = default;
};
using StarRow = std::array<StarCell, StarCells + 1>; // [1..12]

// Pixels of the star at the current level and kind: the share of the 40
// right answers collected so far, 0..32.
int partialStarWidth(int levelCorrectCount);

// The cell of star j (1..12) inside a 192 x 64 picture.
QRect starCellRect(int j);

// The reading and writing rows of a player at `level` (13 = all passed)
// studying `kind` (1 reading, 2 writing).
struct StudyStars {
    StarRow reading;
    StarRow writing;
};
StudyStars studyStars(int level, StudyKind kind, int levelCorrectCount);

// A game's row: filled up to the game level.
StarRow gameStars(int gameLevel);

// The three pictures the rows are drawn with, 34 x 34 each.
struct StarPictures {
    QImage filled;
    QImage empty;
    QImage navy;
};

// Cuts the pictures from a Stars.bmp image: the white around the stars (the
// area touching pixel (1, 1)) becomes navy first, so that they stand on the
// screen's background. A null or too small image gives null pictures.
StarPictures cutStarPictures(const QImage &stars);

// A 192 x 64 picture of one row of stars, on navy.
QImage drawStarRow(const StarRow &row, const StarPictures &pictures);

} // namespace fm::records
