#pragma once
// Recognition measured on ink the program never saw: the independent stroke
// centre lines (tests/support/independentink.h), drawn the ways a child
// draws. Nothing is tuned on this ink; the weights were set on drawings made
// from Kakijun1.dat. Shared by the quality test and the benchmark that
// prints the full table.
#include "../support/independentink.h"
#include "data/cp932.h"
#include "data/levels.h"
#include "handwriting/placement.h"
#include "handwriting/ranking.h"
#include "hwtest.h"
#include <QLineF>
#include <algorithm>
#include <functional>
#include <random>

namespace fm::test
{

// One way of drawing: the ink as the source gives it (large, centred), to
// the ink as the child draws it. The seed varies per kanji.
struct InkVariant {
    const char *name;
    std::function<Ink(Ink, unsigned seed)> draw;
};

inline QRectF extentOf(const Ink &ink)
{
    QRectF r;
    for (const InkStroke &s : ink)
        for (const QPointF &p : s)
            r = r.isNull() ? QRectF(p, QSizeF(1e-9, 1e-9)) : r.united(QRectF(p, QSizeF(1e-9, 1e-9)));
    return r;
}

// Scaled by (sx, sy) about its own centre, then moved so that its extent's
// centre is at `to`.
inline Ink reshaped(Ink ink, double sx, double sy, QPointF to)
{
    const QPointF c = extentOf(ink).center();
    for (InkStroke &s : ink)
        for (QPointF &p : s)
            p = QPointF((p.x() - c.x()) * sx + to.x(), (p.y() - c.y()) * sy + to.y());
    return ink;
}

// Scaled by `scale` and pushed into a corner (cx, cy each -1 or +1, 0 for the
// middle), a few units off the edge.
inline Ink inCorner(const Ink &ink, double scale, int cx, int cy)
{
    const QRectF r = extentOf(ink);
    const double w = r.width() * scale, h = r.height() * scale, edge = 4;
    const auto place = [&](int c, double size) {
        return c < 0 ? edge + size / 2 : c > 0 ? InkSide - 1 - edge - size / 2 : InkSide / 2.0;
    };
    return reshaped(ink, scale, scale, QPointF(place(cx, w), place(cy, h)));
}

// Points along each stroke at uneven steps of 6 to 40 units, ends kept: what
// a mouse moved quickly reports.
inline Ink mouseSpaced(const Ink &ink, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(6, 40);
    Ink out;
    for (const InkStroke &s : ink) {
        InkStroke o{s.first()};
        double next = step(rng), walked = 0;
        for (qsizetype i = 1; i < s.size(); ++i) {
            const QLineF seg(s[i - 1], s[i]);
            while (walked + seg.length() >= next && seg.length() > 0) {
                o.push_back(seg.pointAt((next - walked) / seg.length()));
                next += step(rng);
            }
            walked += seg.length();
        }
        if (o.last() != s.last())
            o.push_back(s.last());
        out.push_back(o);
    }
    return out;
}

// Each stroke moved as a whole by up to 8 units and every point by up to 4,
// with points filled in every 6 units so that the wobble shows.
inline Ink wobbly(const Ink &ink, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> whole(-8, 8);
    Ink dense;
    for (const InkStroke &s : ink) {
        InkStroke o{s.first()};
        for (qsizetype i = 1; i < s.size(); ++i) {
            const QLineF seg(s[i - 1], s[i]);
            const int parts = std::max(1, int(seg.length() / 6));
            for (int k = 1; k <= parts; ++k)
                o.push_back(seg.pointAt(double(k) / parts));
        }
        const QPointF shift(whole(rng), whole(rng));
        for (QPointF &p : o)
            p += shift;
        dense.push_back(o);
    }
    return jittered(dense, 4.0, seed);
}

inline Ink clampedToSquare(Ink ink)
{
    for (InkStroke &s : ink)
        for (QPointF &p : s)
            p = QPointF(std::clamp(p.x(), 0.0, InkSide - 1.0), std::clamp(p.y(), 0.0, InkSide - 1.0));
    return ink;
}

inline const QVector<InkVariant> &childVariants()
{
    static const QVector<InkVariant> variants{
        {"large, centred", [](Ink ink, unsigned) { return ink; }},
        {"half size, top left", [](Ink ink, unsigned) { return inCorner(ink, 0.5, -1, -1); }},
        {"half size, top right", [](Ink ink, unsigned) { return inCorner(ink, 0.5, 1, -1); }},
        {"half size, bottom left", [](Ink ink, unsigned) { return inCorner(ink, 0.5, -1, 1); }},
        {"half size, bottom right", [](Ink ink, unsigned) { return inCorner(ink, 0.5, 1, 1); }},
        {"three-quarter size, bottom right", [](Ink ink, unsigned) { return inCorner(ink, 0.75, 1, 1); }},
        {"60 % size, against the left side", [](Ink ink, unsigned) { return inCorner(ink, 0.6, -1, 0); }},
        {"stretched wide (height 70 %)",
         [](Ink ink, unsigned) { return reshaped(ink, 1.0, 0.7, QPointF(InkSide / 2.0, InkSide / 2.0)); }},
        {"wobbly", [](Ink ink, unsigned seed) { return wobbly(ink, seed); }},
        {"two strokes swapped",
         [](Ink ink, unsigned seed) {
             if (ink.size() >= 2) {
                 const qsizetype i = qsizetype(seed % unsigned(ink.size() - 1));
                 std::swap(ink[i], ink[i + 1]);
             }
             return ink;
         }},
        {"a stroke drawn backwards",
         [](Ink ink, unsigned seed) {
             InkStroke &s = ink[qsizetype(seed % unsigned(ink.size()))];
             std::reverse(s.begin(), s.end());
             return ink;
         }},
        {"mouse-like points (few, uneven)", [](Ink ink, unsigned seed) { return mouseSpaced(ink, seed); }},
    };
    return variants;
}

// What the square would show for the ink, in three ways.
enum class Ranker {
    Combined,    // what the square shows
    ZinniaAlone, // the recogniser's order (taught kanji only) with the stroke count
    ShapeAlone,  // the shape comparison with the stroke count, no recogniser
};

struct Tally {
    int covered = 0, first = 0, inFive = 0;
    QStringList missed; // not among the five
    double firstShare() const { return covered ? double(first) / covered : 0; }
    double fiveShare() const { return covered ? double(inFive) / covered : 0; }
};

// A recogniser that names nothing: the shape comparison alone.
class SilentRecognizer : public Recognizer
{
  public:
    QVector<RecognizerGuess> classify(const Ink &, int) const override { return {}; }
};

// The kanji of the catalogue the independent source has with our stroke count.
inline QVector<int> coveredKanji()
{
    QVector<int> out;
    const Catalogue &cat = shippedCatalogue();
    for (int k = 1; k <= KanjiCount; ++k) {
        const std::optional<Ink> ink = independentInk(cp932::toUnicode(cat.KanjiTable[k].Glyph));
        if (ink && ink->size() == cat.KanjiTable[k].Strokes)
            out.push_back(k);
    }
    return out;
}

// The kanji (by default those the independent source covers) drawn from a
// source (by default the independent ink) in one way, ranked one way.
inline Tally measure(const Recognizer &recognizer, const ReferenceStrokes &strokes, const InkVariant &variant,
                     Ranker ranker, const std::function<Ink(Ink)> &damage = {}, QVector<int> kanji = {},
                     std::function<std::optional<Ink>(int)> source = {})
{
    static const SilentRecognizer silent;
    const Catalogue &cat = shippedCatalogue();
    if (kanji.isEmpty())
        kanji = coveredKanji();
    if (!source)
        source = [&cat](int k) { return independentInk(cp932::toUnicode(cat.KanjiTable[k].Glyph)); };
    Tally t;
    for (const int k : kanji) {
        const QString glyph = cp932::toUnicode(cat.KanjiTable[k].Glyph);
        Ink ink = clampedToSquare(variant.draw(*source(k), 7000u + unsigned(k)));
        if (damage)
            ink = damage(ink);
        QVector<int> found;
        switch (ranker) {
        case Ranker::Combined:
            found = candidatesFor(recognizer, ink, cat, strokes, 0);
            break;
        case Ranker::ShapeAlone:
            found = candidatesFor(silent, ink, cat, strokes, 0);
            break;
        case Ranker::ZinniaAlone: {
            const Ink placed = placedByExtent(ink, RecognitionFill);
            found =
                rankCandidates(recognizer.classify(placed, RecognizerGuessCount), int(placed.size()), cat, 0);
            break;
        }
        }
        ++t.covered;
        t.first += !found.isEmpty() && found.first() == k;
        t.inFive += found.contains(k);
        if (!found.contains(k))
            t.missed << glyph;
    }
    return t;
}

} // namespace fm::test
