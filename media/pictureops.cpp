#include "media/pictureops.h"
#include <vector>

namespace fm::media
{

QImage floodFill(QImage image, QPoint start, const QColor &fill)
{
    image = image.convertToFormat(QImage::Format_RGB32);
    if (!image.rect().contains(start))
        return image;
    const QRgb from = image.pixel(start);
    const QRgb to = fill.rgb();
    if (from == to)
        return image;
    std::vector<QPoint> todo{start};
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (!image.rect().contains(p) || image.pixel(p) != from)
            continue;
        image.setPixel(p, to);
        todo.insert(todo.end(), {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    return image;
}

} // namespace fm::media
