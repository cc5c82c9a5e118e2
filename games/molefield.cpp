#include "games/molefield.h"
#include "media/pictureops.h"
#include "shell/look.h"
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace fm::mole
{

namespace
{

constexpr QRgb NavyRgb = 0xff000080;
constexpr QRgb WhiteRgb = 0xffffffff;
constexpr QRgb BlackRgb = 0xff000000;

// Nearest-pixel stretch, as the field's picture copies work: source pixel
// (x * sw / dw, y * sh / dh). A glyph keeps exactly its three colours.
QImage stretchNearest(const QImage &source, QSize size)
{
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    QImage out(size, QImage::Format_RGB32);
    const int sw = src.width(), sh = src.height();
    for (int y = 0; y < size.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(src.constScanLine(y * sh / size.height()));
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            to[x] = from[x * sw / size.width()];
    }
    return out;
}

enum PictureId : quint64 { HoleId = 0, HitId = 1, GlyphIdBase = 2 };

quint64 cacheKey(quint64 id, QSize size)
{
    return (id << 32) | (quint64(size.width()) << 16) | quint64(size.height());
}

} // namespace

QImage preparePicture(const QImage &loaded)
{
    const QImage picture = loaded.convertToFormat(QImage::Format_RGB32);
    if (!picture.rect().contains(1, 1) || picture.pixel(1, 1) != BlackRgb)
        return picture;
    return media::floodFill(picture, QPoint(1, 1), colour::Navy);
}

QRgb moleBandPixel(QRgb hole, QRgb glyph)
{
    const QRgb g = glyph & 0xffffff;
    const QRgb whiteMadeNavy = g == 0xffffff ? (NavyRgb & 0xffffff) : g;
    const QRgb mask = whiteMadeNavy | (~g & 0xffffff);
    return ((hole | mask) & g) | 0xff000000;
}

MoleField::MoleField(const QImage &hole, const QImage &hit, std::function<QString(int)> glyphOf,
                     int pointSize, qreal pixelRatio)
    : hole_(hole), hit_(hit), glyphOf_(std::move(glyphOf)), font_(pointFont(pointSize)),
      ratio_(pixelRatio > 0 ? pixelRatio : 1.0)
{
    // One colour per pixel: the band rule tells strokes from background by colour.
    font_.setStyleStrategy(QFont::NoAntialias);
    font_.setPixelSize(device(font_.pixelSize()));
    field_ = QImage(device(FieldPictureSize), device(FieldPictureSize), QImage::Format_RGB32);
    field_.setDevicePixelRatio(ratio_);
    field_.fill(NavyRgb);
}

int MoleField::device(int layoutPixels) const
{
    return int(std::lround(layoutPixels * ratio_));
}

QRect MoleField::deviceCell(int c, int r) const
{
    const QRect cell = cellRect(c, r);
    const int left = device(cell.left()), top = device(cell.top());
    return QRect(left, top, device(cell.left() + CellWidth) - left, device(cell.top() + CellHeight) - top);
}

QRect MoleField::deviceBand(int c, int r, int phase) const
{
    const QRect cell = deviceCell(c, r);
    const int bottom = r * Pitch; // the cell's bottom in layout pixels (exclusive)
    const int top = device(bottom - bandHeight(phase));
    return QRect(cell.left(), top, cell.width(), cell.bottom() + 1 - top);
}

const QImage &MoleField::glyphPicture(int kanji)
{
    auto it = glyphs_.find(kanji);
    if (it != glyphs_.end())
        return *it;
    // Drawn unscaled with a font of the device's pixel size: a scaled painter
    // would smooth the strokes' edges.
    QImage g(device(PictureSize), device(PictureSize), QImage::Format_RGB32);
    g.fill(NavyRgb);
    const QString text = glyphOf_ ? glyphOf_(kanji) : QString();
    if (!text.isEmpty()) {
        QPainter p(&g);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font_);
        const QFontMetricsF m(font_, &g);
        // The text's own cell gets an opaque white background, as text
        // written at (0, 0) with a background colour does.
        p.fillRect(QRectF(0, 0, m.horizontalAdvance(text), m.height()), colour::White);
        p.setPen(colour::Aqua);
        p.drawText(QPointF(0, m.ascent()), text);
    }
    g.setDevicePixelRatio(ratio_);
    return *glyphs_.insert(kanji, g);
}

const QImage &MoleField::stretched(const QImage &source, QSize size, QHash<quint64, QImage> &cache,
                                   quint64 key)
{
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, stretchNearest(source, size));
    return *it;
}

const MoleField::Stamp &MoleField::stamp(int kanji, QSize size)
{
    const quint64 key = cacheKey(GlyphIdBase + quint64(kanji), size);
    auto it = stamps_.find(key);
    if (it != stamps_.end())
        return *it;
    // The band rule split in two, once per glyph: each pixel of the band
    // becomes (hole & keep) | put, which is (hole | mask) & glyph.
    const QImage glyph = stretchNearest(glyphPicture(kanji), size);
    Stamp st{QImage(size, QImage::Format_RGB32), QImage(size, QImage::Format_RGB32)};
    for (int y = 0; y < size.height(); ++y) {
        const auto *g = reinterpret_cast<const QRgb *>(glyph.constScanLine(y));
        auto *keep = reinterpret_cast<QRgb *>(st.keep.scanLine(y));
        auto *put = reinterpret_cast<QRgb *>(st.put.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            keep[x] = g[x] & 0xffffff;
            put[x] = moleBandPixel(0, g[x]);
        }
    }
    return *stamps_.insert(key, st);
}

void MoleField::copyInto(const QImage &cell, const QRect &to)
{
    const int bytes = to.width() * int(sizeof(QRgb));
    for (int y = 0; y < to.height(); ++y)
        std::memcpy(reinterpret_cast<QRgb *>(field_.scanLine(to.top() + y)) + to.left(),
                    cell.constScanLine(y), size_t(bytes));
}

void MoleField::overlayMole(int c, int r, int kanji, int phase)
{
    const QRect cell = deviceCell(c, r);
    const QRect band = deviceBand(c, r, phase);
    const Stamp &st = stamp(kanji, cell.size());
    // The glyph's top rows go on the band: the mole rises out of the hole's bottom.
    for (int y = 0; y < band.height(); ++y) {
        auto *to = reinterpret_cast<QRgb *>(field_.scanLine(band.top() + y)) + band.left();
        const auto *keep = reinterpret_cast<const QRgb *>(st.keep.constScanLine(y));
        const auto *put = reinterpret_cast<const QRgb *>(st.put.constScanLine(y));
        for (int x = 0; x < band.width(); ++x)
            to[x] = (to[x] & keep[x]) | put[x];
    }
}

void MoleField::prepare(const std::array<int16_t, BlockSize> &block)
{
    const QSize size = deviceCell(1, 1).size();
    for (int16_t kanji : block)
        stamp(kanji, size);
}

void MoleField::fillGaps()
{
    // The holes cover their cells whole, so only the gaps around them need
    // the navy ground again; right of and below the holes nothing is ever drawn
    // but the outline of a cleared field.
    if (outlined_) {
        field_.fill(NavyRgb);
        outlined_ = false;
        return;
    }
    const int width = field_.width();
    for (int r = 0; r <= Holes; ++r)
        for (int y = device(r * Pitch); y < device(r * Pitch + Gap); ++y)
            std::fill_n(reinterpret_cast<QRgb *>(field_.scanLine(y)), width, NavyRgb);
    for (int y = 0; y < field_.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb *>(field_.scanLine(y)), device(Gap), NavyRgb);
}

void MoleField::draw(const MoleGame &game)
{
    fillGaps();
    for (int c = 1; c <= Holes; ++c)
        for (int r = 1; r <= Holes; ++r) {
            const QRect cell = deviceCell(c, r);
            copyInto(stretched(hole_, cell.size(), stretched_, cacheKey(HoleId, cell.size())), cell);
            const Hole &h = game.hole(c, r);
            if (h.HoleKanji != 0 && h.Phase > 0)
                overlayMole(c, r, h.HoleKanji, h.Phase);
        }
}

void MoleField::drawHit(int c, int r)
{
    const QRect cell = deviceCell(c, r);
    copyInto(stretched(hit_, cell.size(), stretched_, cacheKey(HitId, cell.size())), cell);
}

void MoleField::clear()
{
    field_.fill(NavyRgb);
    outlined_ = true;
    QPainter p(&field_);
    p.setPen(Qt::NoPen);
    const int side = FieldPictureSize;
    for (const QRect &edge : {QRect(0, 0, side, 1), QRect(0, side - 1, side, 1), QRect(0, 0, 1, side),
                              QRect(side - 1, 0, 1, side)})
        p.fillRect(edge, colour::Black);
}

QImage MoleField::shown() const
{
    QImage shown = field_.copy(0, 0, device(ShownSize), device(ShownSize));
    shown.setDevicePixelRatio(ratio_);
    return shown;
}

} // namespace fm::mole
