#include "games/glyph.h"
#include "media/mediafiles.h"
#include <QPixmap>

namespace fm::games
{

namespace
{
QPixmap seeThrough(const QImage &strip, int x)
{
    QImage cell = strip.copy(QRect(QPoint(x, 0), media::kGlyphCell)).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < cell.height(); ++y)
        for (int i = 0; i < cell.width(); ++i)
            if ((cell.pixel(i, y) & 0xFFFFFF) == 0xFFFFFF)
                cell.setPixel(i, y, 0);
    return QPixmap::fromImage(cell);
}
} // namespace

QIcon buttonGlyph(const QImage &strip)
{
    if (strip.isNull())
        return {};
    QIcon icon;
    icon.addPixmap(seeThrough(strip, 0), QIcon::Normal);
    if (strip.width() >= 2 * media::kGlyphCell.width())
        icon.addPixmap(seeThrough(strip, media::kGlyphCell.width()), QIcon::Disabled);
    return icon;
}

} // namespace fm::games
