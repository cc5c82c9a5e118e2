#include "tools/mediagen/bitmaps.h"

#include <QPainter>

#include <vector>

namespace fm::mediagen
{

QImage drawArt(const Art &art, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintArt(p, art, QRectF(QPointF(0, 0), QSizeF(size)));
    p.end();
    return image;
}

QImage onKeyColour(const QImage &drawing, QColor key)
{
    const QImage src = drawing.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    const QRgb keyRgb = key.rgb();
    for (int y = 0; y < src.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        auto *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            QRgb c = in[x];
            if (qAlpha(c) < 128) {
                dst[x] = keyRgb;
                continue;
            }
            c = qRgb(qRed(c), qGreen(c), qBlue(c));
            if (c == keyRgb) // a painted pixel of the key colour would turn see-through
                c = qRgb(qRed(c) ^ 1, qGreen(c) ^ 1, qBlue(c) ^ 1);
            dst[x] = c;
        }
    }
    return out;
}

QImage greyed(const QImage &image, QColor key)
{
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (line[x] == key.rgb())
                continue;
            const int g = 120 + qGray(line[x]) * 100 / 255; // 120 ... 220: readable but clearly off
            line[x] = qRgb(g, g, g);
        }
    }
    return out;
}

QImage strip(const std::vector<QImage> &cells, QColor fill)
{
    int width = 0, height = 0;
    for (const QImage &c : cells) {
        width += c.width();
        height = std::max(height, c.height());
    }
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(fill);
    QPainter p(&out);
    int x = 0;
    for (const QImage &c : cells) {
        p.drawImage(x, 0, c);
        x += c.width();
    }
    return out;
}

void saveBmp(const QImage &image, const QString &path)
{
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
        throw ArtError(QStringLiteral("cannot write %1").arg(path).toStdString());
}

QImage replaceColour(QImage image, QColor key, QColor fill)
{
    image = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == key.rgb())
                line[x] = fill.rgb();
    }
    return image;
}

} // namespace fm::mediagen
