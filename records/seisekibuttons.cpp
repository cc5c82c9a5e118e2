#include "records/seisekibuttons.h"
#include "media/mediafiles.h"
#include "shell/kit.h"
#include "shell/pictures.h"
#include "shell/services.h"

namespace fm::records
{

QIcon glyphIcon(const QImage &strip)
{
    if (strip.isNull())
        return {};
    QIcon icon;
    for (int look = 0; look < 2; ++look) {
        QImage half = strip.copy(QRect(QPoint(look * media::kGlyphCell.width(), 0), media::kGlyphCell))
                          .convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < half.height(); ++y)
            for (int x = 0; x < half.width(); ++x)
                if ((half.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                    half.setPixel(x, y, 0);
        icon.addPixmap(QPixmap::fromImage(half), look == 0 ? QIcon::Normal : QIcon::Disabled);
    }
    return icon;
}

QPushButton *glyphButton(Services &sv, QWidget *parent, const QString &text, const QRect &place,
                         const char *glyphFile)
{
    QPushButton *b = makePushButton(parent, text, place, sv.shell.HandPointer);
    b->setFont(pixelFont(13));
    b->setIcon(glyphIcon(sv.pictures.bitmap(QLatin1String(glyphFile))));
    QPalette p = b->palette();
    p.setColor(QPalette::ButtonText, colour::Black);
    b->setPalette(p);
    return b;
}

} // namespace fm::records
