#include "tools/contentgen/pictures.h"
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace fm::content
{

namespace
{

const QColor Ink(20, 20, 40);
const QColor Paper(Qt::white);
const QColor Shade(218, 226, 240); // where the rest of the kanji goes
const QColor BoxLine(176, 188, 208);

// The glyph is rendered big on a square canvas, so that a part of it can be
// cut out and its ink found; the canvas leaves room for the font's overhangs.
constexpr int Canvas = 256;
constexpr int Em = Canvas * 7 / 8;

// How much longer than its own shape a part may be drawn along its place: a
// left part is a little taller and narrower than the character on its own
// (木 in 林), a top part flatter (田 in 男).
constexpr double Stretch = 1.45;

// The ink of `text` on a transparent canvas.
QImage renderGlyph(const QString &text)
{
    QImage img(Canvas, Canvas, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(Em);
    p.setFont(f);
    p.setPen(Ink);
    p.drawText(QRect(0, 0, Canvas, Canvas), Qt::AlignCenter, text);
    return img;
}

// Bounding box of the inked pixels within `area`; empty when none.
QRect inkBox(const QImage &img, const QRect &area)
{
    int l = area.right() + 1, t = area.bottom() + 1, r = area.left() - 1, b = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(line[x]) > 55) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    }
    return r < l ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

QRectF within(const QRectF &box, const QRectF &f)
{
    return QRectF(box.left() + f.left() * box.width(), box.top() + f.top() * box.height(),
                  f.width() * box.width(), f.height() * box.height());
}

} // namespace

Place placeOf(int group)
{
    switch (group) {
    case 1: // へん: the left side
        return {QRectF(0, 0, 0.5, 1), QRectF(0.54, 0, 0.46, 1)};
    case 2: // つくり: the right side
        return {QRectF(0.5, 0, 0.5, 1), QRectF(0, 0, 0.46, 1)};
    case 3: // かんむり: the top
        return {QRectF(0, 0, 1, 0.5), QRectF(0, 0.54, 1, 0.46)};
    case 4: // あし: the bottom
        return {QRectF(0, 0.5, 1, 0.5), QRectF(0, 0, 1, 0.46)};
    case 5: // かまえ: around, the rest inside
        return {QRectF(0, 0, 1, 1), QRectF(0.27, 0.27, 0.46, 0.46)};
    case 6: // たれ: over the top and down the left, the rest below right
        return {QRectF(0, 0, 1, 1), QRectF(0.4, 0.4, 0.6, 0.6)};
    case 7: // にょう: down the left and under, the rest above right
        return {QRectF(0, 0, 1, 1), QRectF(0.38, 0, 0.62, 0.6)};
    default: // その他: somewhere inside, smaller than the kanji
        return {QRectF(0.19, 0.19, 0.62, 0.62), QRectF()};
    }
}

int assignCells(QVector<Part> &parts)
{
    // The cell the sources gave a part stands for its picture.
    QHash<QPair<int, int>, int> cells;
    for (Part &p : parts) {
        const QPair<int, int> key(p.group, p.cell);
        auto it = cells.constFind(key);
        if (it == cells.cend())
            it = cells.insert(key, int(cells.size()) + 1);
        p.cell = it.value();
    }
    return int(cells.size());
}

QImage partCell(const Part &part)
{
    const QImage big = renderGlyph(part.picture);
    // The character box: the em square the font drew into, centred.
    const QRectF em((Canvas - Em) / 2.0, (Canvas - Em) / 2.0, Em, Em);
    const QRect area = within(em, part.clip).toAlignedRect().intersected(big.rect());

    QImage cell(PartCellSize, PartCellSize, QImage::Format_RGB32);
    cell.fill(Paper);
    QPainter p(&cell);
    const QRectF box(2, 2, PartCellSize - 4, PartCellSize - 4);
    const Place place = placeOf(part.group);
    if (!place.rest.isEmpty())
        p.fillRect(within(box, place.rest), Shade);
    p.setPen(QPen(BoxLine, 1));
    p.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));

    const QRect ink = inkBox(big, area);
    if (ink.isEmpty())
        return cell;
    const QRectF target = within(box, place.part).adjusted(2.5, 2.5, -2.5, -2.5);
    // As large as its place allows, a little longer along a side or a top,
    // but a tiny mark is not blown up until its strokes turn into blobs.
    const double s =
        std::min({target.width() / ink.width(), target.height() / ink.height(), box.width() / (Em * 0.45)});
    double sx = s, sy = s;
    if (target.height() > target.width() * 1.5)
        sy = std::min(target.height() / ink.height(), s * Stretch);
    else if (target.width() > target.height() * 1.5)
        sx = std::min(target.width() / ink.width(), s * Stretch);
    const QSize size(std::max(1, int(ink.width() * sx + 0.5)), std::max(1, int(ink.height() * sy + 0.5)));
    const QImage piece = big.copy(ink).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.drawImage(qRound(target.center().x() - size.width() / 2.0),
                qRound(target.center().y() - size.height() / 2.0), piece);
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
