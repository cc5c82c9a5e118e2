// One level rule for every way a child's level is known: recording tests one
// by one, choosing the child again, starting the program again (the rebuild
// from the log) and the progress chart's rises must all agree, for any log.
#include "data/progress.h"
#include "data/state.h"
#include "data/studylog.h"
#include "records/chart/progresschart.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <random>

using namespace fm;
using namespace fm::chart;

namespace
{

int rank(LevelKind lk)
{
    return lk.Level * 2 + fileValue(lk.Kind);
}

std::unique_ptr<AppState> stateIn(const QString &dir)
{
    auto state = std::make_unique<AppState>();
    state->ProgramDir = dir;
    state->DataDir = dir;
    addPlayer(state->Players, QByteArrayLiteral("\x82\xa0")); // "あ"
    selectPlayer(*state, 1);
    return state;
}

// One test as the test screen hands it to the record routine.
struct TestTaken {
    StudyMode mode = StudyMode::Challenge;
    LevelKind at;
    int right = 0;
    bool counted = false;
    int offset = 0; // where in the level's twenty kanji the test starts
};

void record(AppState &state, const TestTaken &t, double day)
{
    state.ChallengeMode = t.mode == StudyMode::Challenge;
    state.CurrentLevel = t.at.Level;
    state.CurrentKind = t.at.Kind;
    for (int i = 1; i <= QuestionsPerTest; ++i) {
        state.QuestionSlots[i].Kanji =
            int16_t(firstKanjiOf(t.at.Level) + (t.offset + 2 * (i - 1)) % KanjiPerLevel);
        state.QuestionSlots[i].Correct = i <= t.right ? 1 : 0;
    }
    recordTest(state, t.counted, day);
}

// Mostly what the program writes (challenge tests at the child's own level,
// passed or failed, and practice anywhere), now and then a challenge record
// at another level, as an older or damaged log holds.
TestTaken nextTest(std::mt19937 &rng, LevelKind child)
{
    TestTaken t;
    const unsigned roll = rng() % 100;
    t.right = int(rng() % 4 == 0 ? rng() % 11 : 4 + rng() % 7); // mostly 4..10, as children score
    t.counted = rng() % 6 ? t.right >= 7 : rng() % 2 == 0;
    if (roll < 88 && child.Level <= LevelCount) {
        t.at = child;
    } else {
        t.mode = roll < 98 ? StudyMode::Practice : StudyMode::Challenge;
        t.at = {int16_t(1 + rng() % LevelCount), kindFromFile(int(1 + rng() % 2))};
    }
    t.offset = int(rng() % KanjiPerLevel);
    return t;
}

LevelKind entryOf(const AppState &state)
{
    const PlayerEntry &e = state.Players.PlayerTable[1];
    return {e.Level, e.Kind};
}

} // namespace

TEST(LevelRule, RecordingChoosingAgainAndRestartingAgreeOnAnyLog)
{
    // Each test is appended and synced to disk twice, so a few seeds of
    // some dozens of tests each (several level rises apiece) keep it short.
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        std::mt19937 rng(seed);
        QTemporaryDir liveDir;
        QTemporaryDir againDir;
        auto live = stateIn(liveDir.path());   // one run of the program
        auto again = stateIn(againDir.path()); // chosen again and restarted now and then
        QVector<int> expectedRises;
        int best = rank(entryOf(*live));
        int levelUps = 0;
        const int tests = 40 + int(rng() % 60);
        for (int n = 0; n < tests; ++n) {
            SCOPED_TRACE(::testing::Message() << "test " << n);
            const unsigned action = rng() % 10;
            if (action == 0) {
                selectPlayer(*again, 1);
            } else if (action == 1) {
                auto restarted = stateIn(againDir.path());
                restarted->Players = again->Players;
                rebuildLevels(restarted->Players, againDir.path());
                selectPlayer(*restarted, 1);
                again = std::move(restarted);
            }
            const TestTaken t = nextTest(rng, entryOf(*live));
            record(*live, t, 46000.0 + n * 0.01);
            record(*again, t, 46000.0 + n * 0.01);
            levelUps += live->LevelUpFlag;

            ASSERT_EQ(entryOf(*again), entryOf(*live));
            ASSERT_EQ(again->LevelCorrectCount, live->LevelCorrectCount);
            ASSERT_EQ(again->LevelUpFlag, live->LevelUpFlag);

            const QVector<StudyRecord> log = readLog(liveDir.path(), 1).records;
            ASSERT_EQ(log.size(), n + 1);
            ASSERT_EQ(rebuildLevel(log), entryOf(*live)) << "the next start";
            auto chosen = stateIn(liveDir.path());
            chosen->Players = live->Players;
            selectPlayer(*chosen, 1);
            ASSERT_EQ(chosen->LevelCorrectCount, live->LevelCorrectCount) << "choosing the child now";

            if (rank(entryOf(*live)) > best) {
                best = rank(entryOf(*live));
                expectedRises.push_back(n);
            }
        }
        const ProgressChart chart = buildProgressChart(readLog(liveDir.path(), 1).records);
        QVector<int> chartRises;
        for (const LevelRise &r : chart.rises)
            chartRises.push_back(r.test);
        EXPECT_EQ(chartRises, expectedRises) << "the chart shows the rises the child saw";
        EXPECT_EQ(chart.reached, entryOf(*live));
        EXPECT_GT(levelUps, 0) << "a log that never passes a level tests nothing";
    }
}

// The log a child made: three passed tests (30 right), one failed test with
// 6 right, then a passed test with 7. The failed test does not count, so 37
// is short of 40 in every view, and the chart shows no rise.
TEST(LevelRule, AFailedTestsRightAnswersNeverCount)
{
    QTemporaryDir dir;
    auto live = stateIn(dir.path());
    const LevelKind start{1, StudyKind::Reading};
    const TestTaken tests[] = {{StudyMode::Challenge, start, 10, true, 0},
                               {StudyMode::Challenge, start, 10, true, 0},
                               {StudyMode::Challenge, start, 10, true, 0},
                               {StudyMode::Challenge, start, 6, false, 0},
                               {StudyMode::Challenge, start, 7, true, 0}};
    for (const TestTaken &t : tests)
        record(*live, t, 46000.5);
    EXPECT_FALSE(live->LevelUpFlag);
    EXPECT_EQ(live->LevelCorrectCount, 37);

    const QVector<StudyRecord> log = readLog(dir.path(), 1).records;
    EXPECT_EQ(rebuildLevel(log), start) << "no silent rise at the next start";
    selectPlayer(*live, 1);
    EXPECT_EQ(live->LevelCorrectCount, 37);
    EXPECT_TRUE(buildProgressChart(log).rises.isEmpty());

    // Another passed test: the rise every view shows.
    record(*live, {StudyMode::Challenge, start, 7, true, 0}, 46001.5);
    EXPECT_TRUE(live->LevelUpFlag);
    EXPECT_EQ(entryOf(*live), (LevelKind{1, StudyKind::Writing}));
    EXPECT_EQ(rebuildLevel(readLog(dir.path(), 1).records), (LevelKind{1, StudyKind::Writing}));
}
