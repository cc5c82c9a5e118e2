#include "pictures.h"
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace fm::content
{

namespace
{

const QColor Ink(20, 20, 40);
const QColor Paper(Qt::white);

// The glyph rendered big on a square canvas, so that a part of it can be cut
// out and the ink found; 256 px leaves room for the font's overhangs.
QImage renderGlyph(const QString &text, int canvas)
{
    QImage img(canvas, canvas, QImage::Format_RGB32);
    img.fill(Paper);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(canvas * 7 / 8);
    p.setFont(f);
    p.setPen(Ink);
    p.drawText(QRect(0, 0, canvas, canvas), Qt::AlignCenter, text);
    return img;
}

// Bounding box of the non-white pixels within `area`; empty when none.
QRect inkBox(const QImage &img, const QRect &area)
{
    int l = area.right() + 1, t = area.bottom() + 1, r = area.left() - 1, b = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(line[x]) < 200) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    }
    return r < l ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

} // namespace

QImage partCell(const Part &part)
{
    constexpr int canvas = 256;
    const QImage big = renderGlyph(part.picture, canvas);
    // The character box: the em square the font drew into, centred.
    const int em = canvas * 7 / 8;
    const QRectF box((canvas - em) / 2.0, (canvas - em) / 2.0, em, em);
    const QRect area = QRectF(box.left() + part.clip.left() * em, box.top() + part.clip.top() * em,
                              part.clip.width() * em, part.clip.height() * em)
                           .toAlignedRect()
                           .intersected(big.rect());
    QImage cell(PartCellSize, PartCellSize, QImage::Format_RGB32);
    cell.fill(Paper);
    const QRect ink = inkBox(big, area);
    if (ink.isEmpty())
        return cell;
    // As large as the cell allows; flat parts (艹, 亠) fill the width. A tiny
    // mark is not blown up until its strokes turn into blobs.
    constexpr double room = PartCellSize - 10;
    const double scale = std::min({room / ink.width(), room / ink.height(), room / (em * 0.45)});
    const QSize size(std::max(1, int(ink.width() * scale + 0.5)),
                     std::max(1, int(ink.height() * scale + 0.5)));
    const QImage piece = big.copy(ink).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter p(&cell);
    p.drawImage((PartCellSize - size.width()) / 2, (PartCellSize - size.height()) / 2, piece);
    return cell;
}

QImage partStrip(const QVector<Part> &parts, int cellCount)
{
    QImage strip(PartCellSize * std::max(1, cellCount), PartCellSize, QImage::Format_RGB32);
    strip.fill(Paper);
    QPainter p(&strip);
    QVector<bool> done(cellCount + 1, false);
    for (const Part &part : parts) {
        if (part.cell < 1 || part.cell > cellCount || done[part.cell])
            continue;
        done[part.cell] = true;
        p.drawImage(PartCellSize * (part.cell - 1), 0, partCell(part));
    }
    return strip;
}

QImage groupPicture(int group)
{
    constexpr int s = GroupPictureSize;
    QImage img(s, s, QImage::Format_RGB32);
    img.fill(Paper);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(3.5, 3.5, s - 7, s - 7);
    const double w = box.width(), h = box.height();
    const double band = w * 0.36; // thickness of a side part
    const QColor fill(230, 60, 40);
    QPainterPath path;
    switch (group) {
    case 1:
        path.addRect(box.left(), box.top(), band, h);
        break; // へん: left
    case 2:
        path.addRect(box.right() - band, box.top(), band, h);
        break; // つくり: right
    case 3:
        path.addRect(box.left(), box.top(), w, band);
        break; // かんむり: top
    case 4:
        path.addRect(box.left(), box.bottom() - band, w, band);
        break; // あし: bottom
    case 5: {  // かまえ: around
        QPainterPath inner;
        inner.addRect(box.adjusted(band * 0.6, band * 0.6, -band * 0.6, -band * 0.6));
        path.addRect(box);
        path = path.subtracted(inner);
        break;
    }
    case 6: { // たれ: top and left
        path.addRect(box.left(), box.top(), w, band * 0.7);
        path.addRect(box.left(), box.top(), band * 0.7, h);
        path.setFillRule(Qt::WindingFill);
        break;
    }
    case 7: { // にょう: left and bottom
        path.addRect(box.left(), box.top(), band * 0.7, h);
        path.addRect(box.left(), box.bottom() - band * 0.7, w, band * 0.7);
        path.setFillRule(Qt::WindingFill);
        break;
    }
    default: // その他: inside
        path.addEllipse(box.center(), w * 0.2, h * 0.2);
        break;
    }
    p.fillPath(path, fill);
    p.setPen(QPen(Ink, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    return img;
}

} // namespace fm::content
