#include "games/glyph.h"
#include "media/mediafiles.h"
#include "shell/kit.h"
#include <QPixmap>

namespace fm::games
{

namespace
{
QPixmap seeThrough(const QImage &strip, int x)
{
    return whiteTransparent(strip.copy(QRect(QPoint(x, 0), media::kGlyphCell)));
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
