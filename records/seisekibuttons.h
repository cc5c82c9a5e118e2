#pragma once
// The records screens' push buttons: text with a two-state glyph picture.
#include <QIcon>
#include <QPushButton>

namespace fm
{
struct Services;
}

namespace fm::records
{

// The icon of a 32 x 16 glyph strip: normal look left, greyed look right,
// white see-through. No icon when the strip is missing.
QIcon glyphIcon(const QImage &strip);

// A push button at layout coordinates with the hand pointer, black 13 px
// text and the glyph of that file.
QPushButton *glyphButton(Services &services, QWidget *parent, const QString &text, const QRect &place,
                         const char *glyphFile);

} // namespace fm::records
