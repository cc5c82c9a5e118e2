#include "data/errors.h"
#include "data/progress.h"
#include "testutil.h"

using namespace fm;

namespace
{
// A challenge record at (level, kind) with the first `right` answers right.
StudyRecord test(int level, int kind, int right, int mode = 1, int firstKanji = 0)
{
    StudyRecord r;
    r.Mode = static_cast<StudyMode>(mode);
    r.Level = static_cast<int16_t>(level);
    r.Kind = static_cast<StudyKind>(kind);
    r.Time = 46000.5;
    const int base = firstKanji ? firstKanji : 20 * (level - 1) + 1;
    for (int i = 1; i <= 10; ++i) {
        r.Kanji[i] = static_cast<int16_t>(base + i - 1);
        r.Correct[i] = i <= right ? 1 : 0;
    }
    r.Counted = right >= 7 ? 1 : 0;
    return r;
}

QByteArray logOf(std::initializer_list<StudyRecord> records)
{
    QByteArray out;
    for (const StudyRecord &r : records)
        out += encodeStudyRecord(r);
    return out;
}
} // namespace

TEST(StudyRecordFormat, FiftyTwoBytesAtTheirOffsets)
{
    StudyRecord r = test(3, 2, 2, 1, 41);
    r.Time = 45000.25;
    r.Counted = 1;
    const QByteArray b = encodeStudyRecord(r);
    ASSERT_EQ(b.size(), 52);
    EXPECT_EQ(b.mid(0, 6), QByteArray::fromHex("010003000200"));
    EXPECT_EQ(b.mid(8, 8), QByteArray::fromHex("0000000008f9e540")); // 45000.25 as a double
    EXPECT_EQ(b.mid(16, 4), QByteArray::fromHex("29002a00"));
    EXPECT_EQ(b.mid(36, 3), QByteArray::fromHex("010100"));
    EXPECT_EQ(b.mid(46, 3), QByteArray::fromHex("000001"));
    const StudyRecord back = decodeStudyRecord(b);
    EXPECT_EQ(back.Time, 45000.25);
    EXPECT_EQ(back.Kanji[10], 50);
    EXPECT_EQ(back.rightCount(), 2);
    EXPECT_EQ(encodeStudyRecord(back), b) << "byte for byte";

    // A view cut short reads only what it holds: the rest reads as zeros, so
    // such a record is outside the data model and never counted.
    const StudyRecord cut = decodeStudyRecord(QByteArrayView(b).first(19));
    EXPECT_EQ(cut.Kind, StudyKind::Writing);
    EXPECT_EQ(cut.Kanji[1], 0x29);
    EXPECT_EQ(cut.Kanji[2], 0x2a); // its high byte is past the end
    EXPECT_EQ(cut.Kanji[3], 0);
    EXPECT_EQ(cut.Counted, 0);
    EXPECT_FALSE(isValidRecord(cut));
}

TEST(RebuildLevel, FortyRightAnswersPassTheKind)
{
    EXPECT_EQ(rebuildLevel({test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), test(1, 1, 9)}).Kind,
              StudyKind::Reading);
    const LevelKind passed = rebuildLevel({test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), test(1, 1, 10)});
    EXPECT_EQ(passed.Level, 1);
    EXPECT_EQ(passed.Kind, StudyKind::Writing);
    const LevelKind nextLevel =
        rebuildLevel({test(2, 2, 10), test(3, 2, 10), test(3, 2, 10), test(3, 2, 10), test(3, 2, 10)});
    EXPECT_EQ(nextLevel.Level, 4);
    EXPECT_EQ(nextLevel.Kind, StudyKind::Reading);
}

TEST(RebuildLevel, OnlyTheLastRunCountsAndPracticeIsIgnored)
{
    // 30 right at level 1 reading, then a run at writing: the writing run starts from 0.
    const LevelKind lk = rebuildLevel({test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), test(1, 2, 10),
                                       test(1, 2, 10), test(1, 2, 10), test(5, 1, 10, 2)});
    EXPECT_EQ(lk.Level, 1);
    EXPECT_EQ(lk.Kind, StudyKind::Writing);
    // A failed (uncounted) challenge test's right answers do not count, as
    // they do not while the child plays.
    StudyRecord failed = test(1, 1, 6);
    EXPECT_EQ(failed.Counted, 0);
    EXPECT_EQ(rebuildLevel({test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), test(1, 1, 8), failed}).Kind,
              StudyKind::Reading);
    EXPECT_EQ(rebuildLevel({test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), failed, test(1, 1, 10)}).Kind,
              StudyKind::Writing);
}

class LogTest : public DataDirTest
{
  protected:
    AppState state;
    void SetUp() override
    {
        state.ProgramDir = dir();
        state.DataDir = dir();
        addPlayer(state.Players, sj("いち"));
        addPlayer(state.Players, sj("に"));
    }
    void setSlots(int firstKanji, int right)
    {
        for (int i = 1; i <= 10; ++i) {
            state.QuestionSlots[i].Kanji = static_cast<int16_t>(firstKanji + i - 1);
            state.QuestionSlots[i].Correct = i <= right ? 1 : 0;
        }
    }
};

TEST_F(LogTest, EachPlayerIsRebuiltFromItsOwnLog)
{
    write("Kiroku1.dat", logOf({test(1, 1, 10), test(1, 1, 10), test(1, 1, 10)}));
    write("Kiroku2.dat", logOf({test(1, 1, 10), test(1, 1, 5)}));
    rebuildLevels(state.Players, dir());
    EXPECT_EQ(state.Players.PlayerTable[2].Level, 1);
    EXPECT_EQ(state.Players.PlayerTable[2].Kind, StudyKind::Reading);
}

TEST_F(LogTest, SelectionMastersAtThreeRecordingAtTwo)
{
    StudyRecord a = test(1, 1, 1); // kanji 1 right
    write("Kiroku1.dat", logOf({a, a}));
    selectPlayer(state, 1);
    EXPECT_EQ(state.Progress[1][1].AskedCount, 2);
    EXPECT_EQ(state.Progress[1][1].CorrectCount, 2);
    EXPECT_FALSE(state.Progress[1][1].Mastered) << "two right answers are not enough at selection";
    EXPECT_EQ(state.LevelCorrectCount, 0) << "failed tests collect nothing toward the level";

    state.ChallengeMode = true;
    setSlots(1, 1);
    recordTest(state, false, 46000.0);
    EXPECT_TRUE(state.Progress[1][1].Mastered) << "while testing, two right answers master a kanji";
    selectPlayer(state, 1);
    EXPECT_TRUE(state.Progress[1][1].Mastered);
    EXPECT_EQ(state.Progress[1][1].CorrectCount, 3);
}

TEST_F(LogTest, SelectionCountsOnlyTheEntrysLevelAndKind)
{
    write("Kiroku1.dat", logOf({test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), test(1, 2, 7),
                                test(2, 1, 9, 2)}));
    rebuildLevels(state.Players, dir());
    selectPlayer(state, 1);
    EXPECT_EQ(state.CurrentLevel, 1);
    EXPECT_EQ(state.CurrentKind, fm::StudyKind::Writing);
    EXPECT_EQ(state.LevelCorrectCount, 7);
    EXPECT_EQ(state.Progress[21][1].AskedCount, 0) << "practice records change no progress";
    EXPECT_FALSE(state.ReviewMode);
}

TEST_F(LogTest, PracticeIsLoggedButChangesNothing)
{
    state.CurrentPlayer = 1;
    state.ChallengeMode = false;
    state.CurrentLevel = 4;
    state.CurrentKind = fm::StudyKind::Writing;
    setSlots(61, 10);
    recordTest(state, true, 46001.0);
    const QByteArray log = read("Kiroku1.dat");
    ASSERT_EQ(log.size(), 52) << "the first test creates the log with one record";
    EXPECT_EQ(decodeStudyRecord(log).Mode, StudyMode::Practice);
    EXPECT_EQ(state.Progress[61][2].AskedCount, 0);
    EXPECT_EQ(state.LevelCorrectCount, 0);
    EXPECT_FALSE(state.LevelUpFlag);
}

TEST_F(LogTest, UncountedChallengeUpdatesProgressButNotTheLevelCount)
{
    state.CurrentPlayer = 1;
    setSlots(1, 5);
    recordTest(state, false, 46001.0);
    EXPECT_EQ(state.Progress[1][1].CorrectCount, 1);
    EXPECT_EQ(state.Progress[10][1].AskedCount, 1);
    EXPECT_EQ(state.LevelCorrectCount, 0);
    EXPECT_EQ(decodeStudyRecord(read("Kiroku1.dat")).Counted, 0);
}

TEST_F(LogTest, PassingResetsTheCountAndRaisesTheLevel)
{
    state.CurrentPlayer = 1;
    state.LevelCorrectCount = 35;
    setSlots(1, 7);
    recordTest(state, true, 46001.0);
    EXPECT_TRUE(state.LevelUpFlag);
    EXPECT_EQ(state.LevelCorrectCount, 0) << "answers beyond 40 are not carried over";
    EXPECT_EQ(state.Players.PlayerTable[1].Kind, StudyKind::Writing);
    EXPECT_EQ(state.CurrentKind, fm::StudyKind::Reading)
        << "the current level and kind wait for the mode screen";

    state.Players.PlayerTable[1].Level = 12;
    state.CurrentLevel = 12;
    state.CurrentKind = fm::StudyKind::Writing;
    state.LevelCorrectCount = 39;
    setSlots(221, 1);
    recordTest(state, true, 46002.0);
    EXPECT_EQ(state.Players.PlayerTable[1].Level, 13);
    EXPECT_EQ(state.Players.PlayerTable[1].Kind, StudyKind::Reading);
}

TEST_F(LogTest, IncompleteTailIsIgnoredAndCutBeforeTheNextAppend)
{
    write("Kiroku1.dat", logOf({test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), test(1, 1, 10)}) +
                             encodeStudyRecord(test(1, 1, 10)).left(20));
    const LogContents log = readLog(dir(), 1);
    EXPECT_EQ(log.records.size(), 4);
    EXPECT_EQ(log.tailBytes, 20);
    rebuildLevels(state.Players, dir());
    EXPECT_EQ(state.Players.PlayerTable[1].Kind, StudyKind::Writing) << "the damaged log still counts";

    state.CurrentPlayer = 1;
    setSlots(1, 3);
    recordTest(state, false, 46003.0);
    const QByteArray bytes = read("Kiroku1.dat");
    ASSERT_EQ(bytes.size(), 5 * 52);
    EXPECT_EQ(decodeStudyRecord(QByteArrayView(bytes).sliced(4 * 52)).rightCount(), 3);
}

TEST_F(LogTest, RecordsOutsideTheModelAreSkipped)
{
    StudyRecord badKanji = test(1, 1, 10);
    badKanji.Kanji[3] = 241;
    StudyRecord badKind = test(1, 1, 10);
    badKind.Kind = StudyKind(3);
    StudyRecord badLevel = test(1, 1, 10);
    badLevel.Level = 0;
    write("Kiroku1.dat", logOf({test(1, 1, 10), badKanji, badKind, badLevel, test(1, 1, 10)}));
    const LogContents log = readLog(dir(), 1);
    EXPECT_EQ(log.records.size(), 2);
    EXPECT_EQ(log.skipped, 3);
    EXPECT_NO_THROW(selectPlayer(state, 1));
    EXPECT_EQ(state.LevelCorrectCount, 20);
}

TEST_F(LogTest, UnwritableLogIsReportedByName)
{
    QDir(dir()).mkdir("Kiroku1.dat"); // a directory where the log should be
    state.CurrentPlayer = 1;
    setSlots(1, 1);
    try {
        recordTest(state, true, 1.0);
        FAIL();
    } catch (const FileError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Kiroku1.datでエラーがおこりました。 "));
    }
}
