#pragma once
#include "tools/mediagen/art.h"

#include <QImage>

// Turning drawings into the program's bitmaps. The program makes one colour
// of a bitmap transparent (white for icons and stars, black around the mole
// pictures), so the outer edge of a drawing must not blend into that colour:
// pixels are either the drawing, fully opaque, or exactly the key colour.
namespace fm::mediagen
{

// Draws art into a transparent image of the given size, antialiased.
QImage drawArt(const Art &art, QSize size);

// Puts a transparent drawing on the key colour: pixels at least half covered
// become opaque (and never exactly the key colour), the rest become the key.
QImage onKeyColour(const QImage &drawing, QColor key);

// The disabled look of a button glyph: grey and lighter, the key colour kept.
QImage greyed(const QImage &image, QColor key);

// Places images side by side on a new image filled with fill.
QImage strip(const std::vector<QImage> &cells, QColor fill);

// Saves as a 24-bit BMP; throws ArtError on failure.
void saveBmp(const QImage &image, const QString &path);

// Replaces every pixel of colour key with fill, as the image lists do with white.
QImage replaceColour(QImage image, QColor key, QColor fill);

} // namespace fm::mediagen
