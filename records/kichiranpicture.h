#pragma once
// The kanji list's picture: 240 glyphs on navy, scattered or on their way
// to their cells. Drawn at the display's pixel ratio so that the glyphs stay
// sharp on a large screen; each glyph is rendered once per press and then
// only copied, which keeps a frame cheap.
#include "records/recordrules.h"
#include <QFont>
#include <QImage>
#include <array>
#include <vector>

namespace fm::records
{

class KanjiListPicture
{
  public:
    explicit KanjiListPicture(qreal pixelRatio = 1.0);

    qreal pixelRatio() const { return ratio_; }
    // A navy picture of 480 x 360 layout pixels, and its size in device pixels.
    QImage blank() const;
    QSize pixelSize() const;

    // Renders every item's glyph (red when cleared, yellow otherwise) for the
    // items of one press; glyphs[k] is the text of kanji k. A kanji with
    // stamped[k] gets its stamp in the corner of its cell once in place.
    void prepare(const ListItems &items, const std::vector<QString> &glyphs,
                 const std::array<bool, ListedKanji + 1> &stamped = {});

    // The kanji at their start cells.
    QImage scattered() const;
    // Redraws frame (navy, then every kanji at its place for tick 1..30).
    void drawGlide(QImage &frame, int tick) const;

    // One glyph in a cell-sized, see-through picture.
    static QImage glyphPicture(const QString &text, const QColor &colour, const QFont &font, qreal ratio);
    static QFont glyphFont();

  private:
    void drawAll(QImage &frame, int tick) const; // tick 0: start cells

    qreal ratio_;
    ListItems items_{};
    std::vector<QImage> sprites_;  // by start cell, [1..240]: the inked part of the glyph
    std::vector<QPointF> offsets_; // where that part lies in its cell
    std::vector<bool> stamped_;    // by start cell
};

} // namespace fm::records
