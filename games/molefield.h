#pragma once
// Drawing the whack-a-mole field. The whole field is drawn on an off-screen
// picture every tick and the screen shows a copy of it, so a half-drawn
// field is never seen. Everything is drawn in device pixels at the
// display's pixel ratio; at a ratio of 1 a device pixel is a layout pixel.
#include "games/molegame.h"
#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <functional>

namespace fm::mole
{

// A loaded Mogura.bmp or Atari.bmp made ready for the field: the black
// surround touching pixel (1, 1) becomes navy, so the picture stands on the
// screen's background. A picture without a black pixel there is kept as it is.
QImage preparePicture(const QImage &loaded);

// One pixel of a mole's band: aqua where the glyph's strokes are, the hole
// beneath OR navy where the glyph's white text background is, navy elsewhere.
// (The bitwise form works for any glyph colour: (hole | mask) & glyph with
// mask = glyph (white made navy) | not glyph.)
QRgb moleBandPixel(QRgb hole, QRgb glyph);

class MoleField
{
  public:
    // hole and hit as prepared by preparePicture; glyphOf gives the text of a
    // kanji number; pointSize is 48 for normal fonts and 38 for large ones.
    MoleField(const QImage &hole, const QImage &hit, std::function<QString(int)> glyphOf, int pointSize,
              qreal pixelRatio);

    qreal pixelRatio() const { return ratio_; }
    // The whole field picture, 450 x 450 layout pixels.
    const QImage &picture() const { return field_; }

    // Makes the glyphs of a game's block ahead of time, so that no tick
    // waits for text to be drawn.
    void prepare(const std::array<int16_t, BlockSize> &block);
    // Navy, then every hole with its mole in its phase.
    void draw(const MoleGame &game);
    // The hit picture over hole (c, r), until the next draw.
    void drawHit(int c, int r);
    // Navy with a one-pixel black outline: the field after a game.
    void clear();
    // The top left 360 x 360 layout pixels, the part the screen shows.
    QImage shown() const;

    // The 64 x 64 glyph picture of a kanji: navy, the glyph in aqua on its
    // opaque white text background at (0, 0). Made once per kanji.
    const QImage &glyphPicture(int kanji);
    // Device pixels of cell (c, r) and of the band a mole in this phase covers.
    QRect deviceCell(int c, int r) const;
    QRect deviceBand(int c, int r, int phase) const;

  private:
    const QImage &stretched(const QImage &source, QSize size, QHash<quint64, QImage> &cache, quint64 key);
    struct Stamp {
        QImage keep; // the glyph's colour bits
        QImage put;  // what the band rule adds over them
    };
    const Stamp &stamp(int kanji, QSize size);
    void fillGaps();
    void copyInto(const QImage &cell, const QRect &to);
    void overlayMole(int c, int r, int kanji, int phase);
    int device(int layoutPixels) const;

    QImage hole_;
    QImage hit_;
    std::function<QString(int)> glyphOf_;
    QFont font_;
    qreal ratio_;
    QImage field_;
    bool outlined_ = false; // clear() drew the outline: the next draw fills everything
    QHash<int, QImage> glyphs_;
    QHash<quint64, QImage> stretched_; // hole and hit at a cell's device size
    QHash<quint64, Stamp> stamps_;     // glyphs at a cell's device size
};

} // namespace fm::mole
