// The stroke-order advice on every shipped kanji: a careful but wobbly
// drawing in the right order is never faulted, a wrong count or a real swap is.
#include "data/levels.h"
#include "handwriting/strokeorder.h"
#include "hwtest.h"

using namespace fm;
using fm::test::jittered;

namespace
{

// The drawing moved to the square's corner at 60 %: the order does not
// depend on where or how large the child writes.
Ink smallInTheCorner(Ink ink)
{
    for (InkStroke &s : ink)
        for (QPointF &p : s)
            p = p * 0.6 + QPointF(90, 6);
    return ink;
}

} // namespace

TEST(StrokeOrder, RightOrderIsSameForEveryKanjiHoweverDrawn)
{
    const ReferenceStrokes *strokes = test::shippedStrokes();
    if (!strokes)
        GTEST_SKIP() << "Kakijun1.dat was not built (python3-kanjidraw is not installed)";
    for (int k = 1; k <= KanjiCount; ++k) {
        const ReferenceStrokeList &ref = strokes->of(k);
        ASSERT_FALSE(ref.isEmpty()) << k;
        const Ink careful = jittered(inkFromReference(ref), 4.0, unsigned(k));
        EXPECT_EQ(compareStrokeOrder(careful, ref), StrokeOrderVerdict::Same) << "kanji " << k;
        EXPECT_EQ(compareStrokeOrder(smallInTheCorner(careful), ref), StrokeOrderVerdict::Same)
            << "kanji " << k;
        // A stroke drawn from its end is a matter of direction, not of order.
        Ink backwards = careful;
        for (InkStroke &s : backwards)
            std::reverse(s.begin(), s.end());
        EXPECT_EQ(compareStrokeOrder(backwards, ref), StrokeOrderVerdict::Same) << "kanji " << k;
    }
}

TEST(StrokeOrder, AStrokeMoreOrLessIsACountDifference)
{
    const ReferenceStrokes *strokes = test::shippedStrokes();
    if (!strokes)
        GTEST_SKIP() << "Kakijun1.dat was not built (python3-kanjidraw is not installed)";
    for (int k = 1; k <= KanjiCount; ++k) {
        const ReferenceStrokeList &ref = strokes->of(k);
        Ink ink = jittered(inkFromReference(ref), 4.0, unsigned(k));
        ink.push_back(ink.last());
        EXPECT_EQ(compareStrokeOrder(ink, ref), StrokeOrderVerdict::CountDiffers) << "kanji " << k;
        ink.removeLast();
        ink.removeFirst();
        EXPECT_EQ(compareStrokeOrder(ink, ref), StrokeOrderVerdict::CountDiffers) << "kanji " << k;
    }
    EXPECT_EQ(compareStrokeOrder({}, strokes->of(1)), StrokeOrderVerdict::CountDiffers);
}

TEST(StrokeOrder, SwappedStrokesAreAnOrderDifference)
{
    const ReferenceStrokes *strokes = test::shippedStrokes();
    if (!strokes)
        GTEST_SKIP() << "Kakijun1.dat was not built (python3-kanjidraw is not installed)";
    // The first and last strokes swapped, in every kanji where they lie
    // apart (their ends a sixth of the square or more from each other).
    int tried = 0;
    for (int k = 1; k <= KanjiCount; ++k) {
        const ReferenceStrokeList &ref = strokes->of(k);
        if (ref.size() < 2)
            continue;
        const ReferenceStroke &a = ref.first(), &b = ref.last();
        const QPointF d1 = a.from - b.from, d2 = a.to - b.to;
        if (std::hypot(d1.x(), d1.y()) + std::hypot(d2.x(), d2.y()) < 2 * InkSide / 6.0)
            continue;
        Ink ink = jittered(inkFromReference(ref), 4.0, unsigned(k));
        std::swap(ink.first(), ink.last());
        EXPECT_EQ(compareStrokeOrder(ink, ref), StrokeOrderVerdict::OrderDiffers) << "kanji " << k;
        ++tried;
    }
    EXPECT_GT(tried, 200);
    // The classic faults: 十 with its upright first, 右 begun with the
    // horizontal, 左 with the sweep.
    for (const char *glyph : {"十", "右", "左"}) {
        const int k = test::kanjiNumber(glyph);
        ASSERT_GT(k, 0) << glyph;
        Ink ink = inkFromReference(strokes->of(k));
        std::swap(ink[0], ink[1]);
        EXPECT_EQ(compareStrokeOrder(ink, strokes->of(k)), StrokeOrderVerdict::OrderDiffers) << "kanji " << k;
    }
}
