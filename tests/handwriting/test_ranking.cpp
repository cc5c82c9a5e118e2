// The ranking of the recogniser's guesses into the candidates a child sees.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "handwriting/ranking.h"
#include <gtest/gtest.h>
#include <memory>

using namespace fm;

namespace
{

// A catalogue of a few kanji: number, glyph, strokes.
std::unique_ptr<Catalogue> smallCatalogue()
{
    auto cat = std::make_unique<Catalogue>();
    const struct {
        int number;
        const char *glyph;
        int strokes;
    } kanji[] = {{1, "一", 1},  {10, "十", 2}, {15, "木", 4},  {30, "土", 3},
                 {50, "士", 3}, {45, "本", 5}, {100, "体", 7}, {200, "休", 6}};
    for (const auto &k : kanji) {
        cat->KanjiTable[k.number].Glyph = cp932::fromUnicode(QString::fromUtf8(k.glyph));
        cat->KanjiTable[k.number].Strokes = int16_t(k.strokes);
    }
    return cat;
}

QVector<RecognizerGuess> guesses(std::initializer_list<std::pair<const char *, double>> list)
{
    QVector<RecognizerGuess> out;
    for (const auto &[glyph, score] : list)
        out.push_back({QString::fromUtf8(glyph), score});
    return out;
}

} // namespace

TEST(Ranking, CandidatesFollowTheRules)
{
    const auto cat = smallCatalogue();
    struct Case {
        const char *rule;
        QVector<RecognizerGuess> guesses;
        int strokes;
        int level;
        int max;
        QVector<int> expected;
    };
    const Case cases[] = {
        {"only taught kanji, each once, in the recogniser's order when nothing else differs",
         guesses({{"エ", 0.9}, {"土", 0.5}, {"工", 0.4}, {"士", 0.3}, {"土", 0.2}}),
         3,
         0,
         5,
         {30, 50}},
        {"at most max", guesses({{"土", 0.5}, {"士", 0.4}, {"木", 0.3}, {"十", 0.2}}), 3, 0, 2, {30, 50}},
        {"nothing taught: no candidates", guesses({{"エ", 1.0}, {"工", 0.5}}), 3, 0, 5, {}},
        {"no guesses: no candidates", {}, 3, 0, 5, {}},
        {"a near equal with the stroke count drawn goes first",
         guesses({{"休", 0.30}, {"体", 0.25}}),
         7,
         0,
         5,
         {100, 200}},
        {"a clear match one stroke off stays first",
         guesses({{"休", 1.2}, {"体", -0.6}}),
         7,
         0,
         5,
         {200, 100}},
        {"a reached kanji goes first among near equals",
         guesses({{"士", 0.52}, {"土", 0.50}}),
         3,
         2,
         5,
         {30, 50}},
        {"no level given: the recogniser's order", guesses({{"士", 0.52}, {"土", 0.50}}), 3, 0, 5, {50, 30}},
        {"every level passed: the recogniser's order",
         guesses({{"士", 0.52}, {"土", 0.50}}),
         3,
         13,
         5,
         {50, 30}},
        {"a clearly better kanji not yet reached stays first",
         guesses({{"士", 0.9}, {"土", 0.3}}),
         3,
         2,
         5,
         {50, 30}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rankCandidates(c.guesses, c.strokes, *cat, c.level, c.max), c.expected) << c.rule;
}

TEST(Ranking, ADrawingOnAKanjisReferenceStrokesLiftsIt)
{
    const auto cat = smallCatalogue();
    const ReferenceStrokeList one{{QPointF(25, 126), QPointF(226, 116)}};
    const ReferenceStrokeList ten{{QPointF(20, 120), QPointF(236, 120)},
                                  {QPointF(128, 20), QPointF(128, 240)}};
    const ReferenceStrokeList earth{{QPointF(50, 110), QPointF(206, 110)},
                                    {QPointF(128, 30), QPointF(128, 220)},
                                    {QPointF(20, 225), QPointF(236, 225)}};
    const ReferenceStrokeList tree{{QPointF(30, 90), QPointF(226, 90)},
                                   {QPointF(128, 20), QPointF(128, 245)},
                                   {QPointF(120, 95), QPointF(30, 200)},
                                   {QPointF(136, 95), QPointF(230, 200)}};
    const ReferenceStrokes strokes = ReferenceStrokes::fromBytes(
        ReferenceStrokes::toBytes({{1, one}, {10, ten}, {15, tree}, {30, earth}}));
    // 十 drawn, the recogniser thinking of 一 only: 十 comes first all the
    // same, then 土 and 木, which begin with its strokes, before 一.
    EXPECT_EQ(rankCandidates(guesses({{"一", 0.3}}), inkFromReference(ten), *cat, strokes, 0, 3),
              (QVector<int>{10, 30, 15}));
    // A kanji the recogniser is sure of stays ahead of one it did not name.
    EXPECT_EQ(rankCandidates(guesses({{"木", 1.2}}), inkFromReference(earth), *cat, strokes, 0, 2),
              (QVector<int>{15, 30}));
    EXPECT_TRUE(rankCandidates(guesses({{"土", 0.3}}), Ink{}, *cat, strokes, 0).isEmpty());
}
