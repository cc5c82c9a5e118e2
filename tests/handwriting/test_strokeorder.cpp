// The stroke-order advice on every shipped kanji: a careful but wobbly
// drawing in the right order is never faulted, a wrong count or a real swap is.
#include "data/levels.h"
#include "handwriting/strokeorder.h"
#include "hwtest.h"

using namespace fm;
using fm::test::jittered;

TEST(StrokeOrder, VerdictsOnEveryKanji)
{
    const ReferenceStrokes *strokes = test::shippedStrokes();
    if (!strokes)
        GTEST_SKIP() << "Kakijun1.dat was not built (python3-kanjidraw is not installed)";
    const auto verdict = [&](const Ink &ink, int k) { return compareStrokeOrder(ink, strokes->of(k)); };
    int swapsTried = 0;
    for (int k = 1; k <= KanjiCount; ++k) {
        const ReferenceStrokeList &ref = strokes->of(k);
        ASSERT_FALSE(ref.isEmpty()) << k;
        const Ink careful = jittered(inkFromReference(ref), 4.0, unsigned(k));
        EXPECT_EQ(verdict(careful, k), StrokeOrderVerdict::Same) << "kanji " << k;
        // Where and how large the child writes does not matter.
        Ink small = careful;
        for (InkStroke &s : small)
            for (QPointF &p : s)
                p = p * 0.6 + QPointF(90, 6);
        EXPECT_EQ(verdict(small, k), StrokeOrderVerdict::Same) << "kanji " << k;
        // A stroke drawn from its end is a matter of direction, not of order.
        Ink backwards = careful;
        for (InkStroke &s : backwards)
            std::reverse(s.begin(), s.end());
        EXPECT_EQ(verdict(backwards, k), StrokeOrderVerdict::Same) << "kanji " << k;

        EXPECT_EQ(verdict(careful.mid(1), k), StrokeOrderVerdict::CountDiffers) << "kanji " << k;
        EXPECT_EQ(verdict(careful + careful.mid(0, 1), k), StrokeOrderVerdict::CountDiffers) << "kanji " << k;

        // The first and last strokes swapped, where they lie apart (their
        // ends a sixth of the square or more from each other).
        if (ref.size() < 2)
            continue;
        const QPointF d1 = ref.first().from - ref.last().from, d2 = ref.first().to - ref.last().to;
        if (std::hypot(d1.x(), d1.y()) + std::hypot(d2.x(), d2.y()) < 2 * InkSide / 6.0)
            continue;
        Ink swapped = careful;
        std::swap(swapped.first(), swapped.last());
        EXPECT_EQ(verdict(swapped, k), StrokeOrderVerdict::OrderDiffers) << "kanji " << k;
        ++swapsTried;
    }
    EXPECT_GT(swapsTried, 200);
    EXPECT_EQ(compareStrokeOrder({}, strokes->of(1)), StrokeOrderVerdict::CountDiffers);
    // The classic faults: 十 with its upright first, 右 begun with the
    // horizontal, 左 with the sweep.
    for (const char *glyph : {"十", "右", "左"}) {
        const int k = test::kanjiNumber(glyph);
        ASSERT_GT(k, 0) << glyph;
        Ink ink = inkFromReference(strokes->of(k));
        std::swap(ink[0], ink[1]);
        EXPECT_EQ(verdict(ink, k), StrokeOrderVerdict::OrderDiffers) << glyph;
    }
}
