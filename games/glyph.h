#pragma once
// The little pictures on the games' push buttons.
#include <QIcon>
#include <QImage>

namespace fm::games
{

// A two-state button glyph (normal look on the left, greyed look on the
// right, white see-through) as an icon; an empty icon for a null picture.
QIcon buttonGlyph(const QImage &strip);

} // namespace fm::games
