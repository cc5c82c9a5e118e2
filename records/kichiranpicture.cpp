#include "records/kichiranpicture.h"
#include "shell/kit.h"
#include "shell/look.h"
#include <QPainter>
#include <cmath>

namespace fm::records
{

namespace
{
// The smallest rectangle holding every pixel that is not fully see-through.
QRect inkedRect(const QImage &img)
{
    int left = img.width(), top = img.height(), right = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(line[x]) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    return right < 0 ? QRect(0, 0, 1, 1) : QRect(QPoint(left, top), QPoint(right, bottom));
}
} // namespace

KanjiListPicture::KanjiListPicture(qreal pixelRatio) : ratio_(pixelRatio > 0 ? pixelRatio : 1.0) {}

QSize KanjiListPicture::pixelSize() const
{
    return {int(std::ceil(ListWidth * ratio_)), int(std::ceil(ListHeight * ratio_))};
}

QImage KanjiListPicture::blank() const
{
    // Opaque: copying it to the screen needs no blending.
    QImage img(pixelSize(), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio_);
    img.fill(colour::Navy);
    return img;
}

QFont KanjiListPicture::glyphFont()
{
    return pointFont(16);
}

QImage KanjiListPicture::glyphPicture(const QString &text, const QColor &colour, const QFont &font,
                                      qreal ratio)
{
    QImage img(int(std::ceil(ListCellWidth * ratio)), int(std::ceil(ListCellHeight * ratio)),
               QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::transparent);
    QPainter p(&img);
    drawGlyphSeeThrough(p, QRect(0, 0, ListCellWidth, ListCellHeight), text, font, colour);
    return img;
}

void KanjiListPicture::prepare(const ListItems &items, const std::vector<QString> &glyphs,
                               const std::array<bool, ListedKanji + 1> &stamped)
{
    items_ = items;
    stamped_.assign(ListedKanji + 1, false);
    sprites_.assign(ListedKanji + 1, QImage());
    offsets_.assign(ListedKanji + 1, QPointF());
    const QFont font = glyphFont();
    for (int c = 1; c <= ListedKanji; ++c) {
        const int k = items[c].kanji;
        const QString text = k >= 0 && k < int(glyphs.size()) ? glyphs[k] : QString();
        const QImage full = glyphPicture(text, items[c].cleared ? colour::Red : colour::Yellow, font, ratio_);
        // Only the part the strokes cover is copied in every frame.
        const QRect inked = inkedRect(full);
        stamped_[size_t(c)] = k >= 1 && k <= ListedKanji && stamped[size_t(k)];
        sprites_[c] = full.copy(inked);
        sprites_[c].setDevicePixelRatio(ratio_);
        offsets_[c] = QPointF(inked.topLeft()) / ratio_;
    }
}

void KanjiListPicture::drawAll(QImage &frame, int tick) const
{
    frame.fill(colour::Navy);
    if (sprites_.empty())
        return;
    QPainter p(&frame);
    for (int c = 1; c <= ListedKanji; ++c) {
        const ListItem &item = items_[c];
        const QPoint at = tick == 0 ? item.start : glidePosition(item.start, item.target, tick);
        p.drawImage(QPointF(at) + offsets_[c], sprites_[c]);
    }
    if (tick < GlideTicks)
        return;
    // The stamps: a green circle round each stamped kanji, as a teacher
    // circles a well written one.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour::Lime, 1.5));
    p.setBrush(Qt::NoBrush);
    const QPointF middle(ListCellWidth / 2.0, ListCellHeight / 2.0);
    for (int c = 1; c <= ListedKanji; ++c)
        if (stamped_[size_t(c)])
            p.drawEllipse(QPointF(items_[c].target) + middle, ListCellWidth / 2.0 - 0.75,
                          ListCellWidth / 2.0 - 0.75);
}

QImage KanjiListPicture::scattered() const
{
    QImage frame = blank();
    drawAll(frame, 0);
    return frame;
}

void KanjiListPicture::drawGlide(QImage &frame, int tick) const
{
    if (frame.size() != pixelSize() || frame.devicePixelRatio() != ratio_)
        frame = blank();
    drawAll(frame, std::clamp(tick, 1, GlideTicks));
}

} // namespace fm::records
