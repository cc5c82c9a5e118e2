// The whack-a-mole rules without a window: stages, holes, the end of a game,
// the hit test on its boundaries and the pass and level rules.
#include "games/molegame.h"
#include "support/fakes.h"
#include <QSet>
#include <gtest/gtest.h>

using namespace fm;
using namespace fm::mole;
using fm::test::ScriptedRandom;

namespace
{

// What a whole game looked like, tick by tick.
struct Journal {
    int ticks = 0;
    int overTick = 0;                 // the tick that reported the end
    int fiftiethTick = 0;             // the tick that showed the 50th target
    std::vector<int> targetsPerStage; // targets that came up in each stage
    std::vector<int> pauseLengths;    // ticks from a stage's fifth target to the next stage
    std::vector<int16_t> askedKanji;  // the kanji of each stage
    QSet<int> decoys;                 // every decoy kanji seen
    int decoysOutsideTheBlock = 0;
    int newStagesWithMolesUp = 0; // a new stage must start on an empty field
};

Journal play(int level, uint64_t seed)
{
    ScriptedRandom random(seed);
    MoleGame g(random);
    g.start(level);
    Journal j;
    j.askedKanji.push_back(g.stageKanji());
    j.targetsPerStage.push_back(0);
    int doneAt = 0;
    const QSet<int16_t> block(g.Block.begin(), g.Block.end());
    for (int tick = 1; tick <= 100000; ++tick) {
        const bool wasDone = g.StageDone;
        const MoleGame::Tick t = g.tick();
        j.ticks = tick;
        if (t == MoleGame::Tick::Over) {
            j.overTick = tick;
            break;
        }
        if (t == MoleGame::Tick::NewStage) {
            j.pauseLengths.push_back(tick - doneAt);
            j.askedKanji.push_back(g.stageKanji());
            j.targetsPerStage.push_back(0);
            // The holes were cleared before this tick's update: only phase 1 can be up.
            for (int c = 1; c <= Holes; ++c)
                for (int r = 1; r <= Holes; ++r)
                    j.newStagesWithMolesUp += g.hole(c, r).Phase > 1;
        }
        for (int c = 1; c <= Holes; ++c)
            for (int r = 1; r <= Holes; ++r) {
                const Hole &h = g.hole(c, r);
                if (h.Phase != 1)
                    continue;
                if (h.HoleKanji == g.stageKanji()) {
                    ++j.targetsPerStage.back();
                } else {
                    j.decoys.insert(h.HoleKanji);
                    j.decoysOutsideTheBlock += !block.contains(h.HoleKanji);
                }
            }
        if (!wasDone && g.StageDone)
            doneAt = tick;
        if (g.TargetsShown == TargetsPerGame && j.fiftiethTick == 0)
            j.fiftiethTick = tick;
    }
    return j;
}

} // namespace

TEST(MoleRules, WholeGamesShowFiftyTargetsInTenStagesOfFive)
{
    for (uint64_t seed : {1u, 2u, 3u, 42u}) {
        for (int level : {0, 4, 11, 12}) {
            const Journal j = play(level, seed);
            SCOPED_TRACE(testing::Message() << "seed " << seed << " level " << level);
            ASSERT_GT(j.overTick, 0);
            // Ten stages of exactly five targets; the game ends on the tick after the 50th.
            ASSERT_EQ(j.targetsPerStage, std::vector<int>(10, TargetsPerStage));
            EXPECT_EQ(j.overTick, j.fiftiethTick + 1);
            // Between stages the field waits six ticks and starts empty.
            EXPECT_EQ(j.pauseLengths, std::vector<int>(9, PauseTicks));
            EXPECT_EQ(j.newStagesWithMolesUp, 0);
            // Five different kanji of the level's block, asked 1..5 and then 1..5 again.
            const int first = (level >= 11 ? 11 : level) * 20 + 1;
            QSet<int> five;
            for (int s = 0; s < 5; ++s) {
                EXPECT_GE(j.askedKanji[s], first);
                EXPECT_LT(j.askedKanji[s], first + 20);
                EXPECT_EQ(j.askedKanji[s], j.askedKanji[s + 5]);
                five.insert(j.askedKanji[s]);
            }
            EXPECT_EQ(five.size(), 5);
            // Decoys come from the whole block; a decoy of the stage's kanji would
            // have made a stage count more than five targets above.
            EXPECT_EQ(j.decoysOutsideTheBlock, 0);
            EXPECT_EQ(j.decoys.size(), 20) << "every kanji of the block appears as a decoy in some stage";
        }
    }
}

TEST(MoleRules, LevelTwelveAndAboveUseTheLastBlock)
{
    EXPECT_EQ(kanjiBlock(12).front(), 221);
    EXPECT_EQ(kanjiBlock(12).back(), 240);
    EXPECT_EQ(kanjiBlock(11), kanjiBlock(12));
    EXPECT_EQ(kanjiBlock(0).front(), 1);
    EXPECT_EQ(kanjiBlock(3).front(), 61);
    // A damaged roster's level still names a block of real kanji.
    EXPECT_EQ(kanjiBlock(-4), kanjiBlock(0));
    EXPECT_EQ(kanjiBlock(300), kanjiBlock(12));

    // The five stage kanji: draw r below 21 - m from what is left of the block.
    ScriptedRandom random;
    random.script = {19, 0, 0, 16, 1};
    MoleGame g(random);
    g.start(12);
    EXPECT_EQ(random.asked, (std::vector<int>{20, 19, 18, 17, 16}));
    EXPECT_EQ(std::vector<int16_t>(g.StageKanji.begin() + 1, g.StageKanji.end()),
              (std::vector<int16_t>{240, 221, 222, 239, 224}));
}

TEST(MoleRules, HolesRiseAndSinkInTheDrawOrder)
{
    ScriptedRandom random;
    random.script = {0, 0, 0, 0, 0}; // stage kanji 1, 2, 3, 4, 5
    MoleGame g(random);
    g.start(0);
    // Hole (1, 1) rises with a target; (1, 2) with a decoy that first draws
    // the stage's kanji and is drawn again; the other 23 stay empty.
    random.reals = {0.05, 0.29, 0.09, 0.3};
    random.reals.insert(random.reals.end(), 23, 0.1);
    random.script = {0, 6};
    EXPECT_EQ(g.tick(), MoleGame::Tick::Played);
    EXPECT_TRUE(random.reals.empty());
    EXPECT_EQ(g.hole(1, 1).Phase, 1);
    EXPECT_EQ(g.hole(1, 1).HoleKanji, 1);
    EXPECT_EQ(g.hole(1, 2).HoleKanji, 7);
    EXPECT_EQ(g.TargetsShown, 1);
    EXPECT_EQ(g.StageShown, 1);

    // Phases 2..5 on the next ticks without a draw for the two; then down.
    for (int phase = 2; phase <= 5; ++phase) {
        random.reals.assign(23, 0.5);
        g.tick();
        EXPECT_TRUE(random.reals.empty()) << phase;
        EXPECT_EQ(g.hole(1, 1).Phase, phase);
    }
    random.reals.assign(23, 0.5);
    g.tick();
    EXPECT_EQ(g.hole(1, 1).Phase, 0);
    EXPECT_EQ(g.hole(1, 1).HoleKanji, 0);
    // From the seventh tick it can rise again.
    random.reals.assign(25, 0.5);
    random.reals.front() = 0.0;
    random.reals.insert(random.reals.begin() + 1, 0.9);
    g.tick();
    EXPECT_EQ(g.hole(1, 1).Phase, 1);

    EXPECT_EQ(tickInterval(0), 2000);
    EXPECT_EQ(tickInterval(OpeningSpeed), 1300);
    EXPECT_EQ(tickInterval(15), 500);
}

TEST(MoleRules, PressesOnTheBoundariesOfACellAndItsMole)
{
    ScriptedRandom random;
    MoleGame g(random);
    g.start(0);
    const int16_t target = g.stageKanji();
    // A press at design offset (x', y') within column 3, row 2 of the field.
    const auto pressAt = [&](int phase, int x, int y, int16_t kanji) {
        g.hole(3, 2) = Hole{int16_t(phase), kanji};
        const int before = g.HitCount;
        const MoleGame::PressResult p = g.press(2 * Pitch + x, Pitch + y);
        EXPECT_EQ(p.c, 3);
        EXPECT_EQ(p.r, 2);
        if (p.press == Press::Hit) {
            EXPECT_EQ(g.HitCount, before + 1);
            EXPECT_EQ(g.hole(3, 2).Phase, 0) << "a hit mole is gone";
        } else {
            EXPECT_EQ(g.HitCount, before);
        }
        return p.press;
    };
    // The gap and the first column and row of a cell never hit.
    EXPECT_EQ(pressAt(3, 8, 40, target), Press::Miss);
    EXPECT_EQ(pressAt(3, 9, 40, target), Press::Hit);
    EXPECT_EQ(pressAt(3, 40, 8, target), Press::Miss);
    EXPECT_EQ(pressAt(3, 40, 9, target), Press::Hit);
    EXPECT_EQ(pressAt(3, 71, 71, target), Press::Hit);
    // Phases 1 and 5 show 21 rows, but only the bottom 20 count.
    for (int phase : {1, 5}) {
        EXPECT_EQ(pressAt(phase, 40, 51, target), Press::Miss) << phase;
        EXPECT_EQ(pressAt(phase, 40, 52, target), Press::Hit) << phase;
        EXPECT_EQ(pressAt(phase, 40, 71, target), Press::Hit) << phase;
    }
    for (int phase : {2, 4}) {
        EXPECT_EQ(pressAt(phase, 40, 30, target), Press::Miss) << phase;
        EXPECT_EQ(pressAt(phase, 40, 31, target), Press::Hit) << phase;
    }
    // A decoy or an empty hole is a miss wherever it is pressed.
    EXPECT_EQ(pressAt(3, 40, 40, int16_t(target == 1 ? 2 : 1)), Press::Miss);
    EXPECT_EQ(pressAt(0, 40, 40, 0), Press::Miss);
    // A press beyond the five rows does nothing at all.
    EXPECT_EQ(g.press(100, 5 * Pitch + 20).press, Press::Outside);
}

TEST(MoleRules, TargetsStillUpAfterTheStageCanBeHitDuringThePause)
{
    ScriptedRandom random(9);
    MoleGame g(random);
    g.start(2);
    while (!g.StageDone)
        g.tick();
    int up = 0;
    for (int c = 1; c <= Holes; ++c)
        for (int r = 1; r <= Holes; ++r)
            if (g.isTarget(g.hole(c, r))) {
                ++up;
                EXPECT_EQ(g.press((c - 1) * Pitch + 40, (r - 1) * Pitch + 70).press, Press::Hit);
            }
    EXPECT_GT(up, 0) << "the fifth target came up on this very tick";
    EXPECT_EQ(g.HitCount, up);
    // Hits do not bring a new target: the pause goes on and ends as before.
    EXPECT_EQ(g.TargetsShown, 5);
    int ticks = 0;
    while (g.tick() != MoleGame::Tick::NewStage)
        ++ticks;
    EXPECT_EQ(ticks, PauseTicks - 1);
}

TEST(MoleRules, PassMarkAndLevelRule)
{
    EXPECT_TRUE(passes(36));
    EXPECT_FALSE(passes(35));
    EXPECT_TRUE(passes(50));
    // Raised only while the game level stays below the study level minus 1.
    EXPECT_TRUE(levelRises(0, 2));
    EXPECT_FALSE(levelRises(1, 2));
    EXPECT_FALSE(levelRises(0, 1));
    EXPECT_TRUE(levelRises(11, 13));
    EXPECT_FALSE(levelRises(12, 13));
}
