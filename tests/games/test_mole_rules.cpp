// The whack-a-mole rules without a window: whole games on a seeded
// generator, the hit test on its boundaries, the pass and level rules.
#include "games/molegame.h"
#include "support/fakes.h"
#include <QSet>
#include <gtest/gtest.h>

using namespace fm::mole;
using fm::test::ScriptedRandom;

TEST(MoleRules, WholeGamesShowFiftyTargetsInTenStagesOfFive)
{
    for (int level : {0, 4, 12}) {
        SCOPED_TRACE(level);
        ScriptedRandom random(uint64_t(level) + 1);
        MoleGame g(random);
        g.start(level);
        const int first = (level >= 11 ? 11 : level) * 20 + 1;
        std::vector<int> targets{0}, pauses;
        std::vector<int16_t> asked{g.stageKanji()};
        QSet<int> decoys;
        int doneAt = 0, fiftiethAt = 0, tick = 0;
        for (MoleGame::Tick t; (t = g.tick()) != MoleGame::Tick::Over && tick < 5000;) {
            ++tick;
            if (t == MoleGame::Tick::NewStage) {
                pauses.push_back(tick - doneAt);
                asked.push_back(g.stageKanji());
                targets.push_back(0);
            }
            for (int c = 1; c <= Holes; ++c)
                for (int r = 1; r <= Holes; ++r) {
                    const Hole &h = g.hole(c, r);
                    EXPECT_FALSE(t == MoleGame::Tick::NewStage && h.Phase > 1) << "a new stage starts empty";
                    if (h.Phase == 1 && g.isTarget(h))
                        ++targets.back();
                    else if (h.Phase == 1)
                        decoys.insert(h.HoleKanji);
                }
            if (g.StageDone && !doneAt)
                doneAt = tick;
            if (!g.StageDone)
                doneAt = 0;
            if (g.TargetsShown == TargetsPerGame && !fiftiethAt)
                fiftiethAt = tick;
        }
        // Ten stages of exactly five targets, six ticks apart; over on the tick after the 50th.
        EXPECT_EQ(targets, std::vector<int>(10, TargetsPerStage));
        EXPECT_EQ(pauses, std::vector<int>(9, PauseTicks));
        EXPECT_EQ(tick, fiftiethAt);
        // Five different kanji of the level's block, asked 1..5 and again 1..5;
        // decoys from the whole block (a decoy of the stage's kanji would have
        // counted as a sixth target above).
        EXPECT_EQ(QSet<int16_t>(asked.begin(), asked.begin() + 5).size(), 5);
        for (int s = 0; s < 5; ++s)
            EXPECT_EQ(asked[s], asked[s + 5]);
        QSet<int> block;
        for (int k = first; k < first + 20; ++k)
            block.insert(k);
        EXPECT_EQ(decoys, block);
    }
}

TEST(MoleRules, PressesOnTheBoundariesOfACellAndItsMole)
{
    ScriptedRandom random;
    MoleGame g(random);
    g.start(0);
    const int16_t target = g.stageKanji();
    // A press at (x', y') within column 3, row 2.
    const auto pressAt = [&](int phase, int x, int y, int16_t kanji = 0) {
        g.hole(3, 2) = Hole{int16_t(phase), kanji ? kanji : target};
        const int before = g.HitCount;
        const Press p = g.press(2 * Pitch + x, Pitch + y).press;
        EXPECT_EQ(g.HitCount - before, p == Press::Hit);
        EXPECT_EQ(g.hole(3, 2).Phase, p == Press::Hit ? 0 : phase)
            << "a hit mole is gone, a missed one stays";
        return p;
    };
    EXPECT_EQ(pressAt(3, 8, 40), Press::Miss); // the gap and the cell's first column
    EXPECT_EQ(pressAt(3, 9, 40), Press::Hit);
    EXPECT_EQ(pressAt(3, 40, 8), Press::Miss); // the gap and the cell's first row
    EXPECT_EQ(pressAt(3, 40, 9), Press::Hit);
    EXPECT_EQ(pressAt(3, 71, 71), Press::Hit);
    for (int phase : {1, 5}) { // 21 rows show, the bottom 20 count
        EXPECT_EQ(pressAt(phase, 40, 51), Press::Miss);
        EXPECT_EQ(pressAt(phase, 40, 52), Press::Hit);
    }
    for (int phase : {2, 4}) {
        EXPECT_EQ(pressAt(phase, 40, 30), Press::Miss);
        EXPECT_EQ(pressAt(phase, 40, 31), Press::Hit);
    }
    EXPECT_EQ(pressAt(3, 40, 40, int16_t(target % 20 + 1)), Press::Miss); // a decoy
    EXPECT_EQ(pressAt(0, 40, 40), Press::Miss);                           // an empty hole
    EXPECT_EQ(g.press(100, 5 * Pitch + 20).press, Press::Outside);
}

TEST(MoleRules, TargetsLeftUpCanBeHitDuringThePauseAndThePassMark)
{
    ScriptedRandom random(9);
    MoleGame g(random);
    g.start(2);
    while (!g.StageDone)
        g.tick();
    int up = 0;
    for (int c = 1; c <= Holes; ++c)
        for (int r = 1; r <= Holes; ++r)
            if (g.isTarget(g.hole(c, r)))
                up += g.press((c - 1) * Pitch + 40, (r - 1) * Pitch + 70).press == Press::Hit;
    EXPECT_GT(up, 0);
    EXPECT_EQ(g.HitCount, up);
    EXPECT_EQ(g.TargetsShown, 5);

    EXPECT_TRUE(passes(36));
    EXPECT_FALSE(passes(35));
    // A pass raises the game level only while it is below the study level minus 1.
    EXPECT_TRUE(levelRises(0, 2));
    EXPECT_FALSE(levelRises(1, 2));
    EXPECT_FALSE(levelRises(12, 13));
    EXPECT_EQ(tickInterval(0), 2000);
    EXPECT_EQ(tickInterval(15), 500);
}
