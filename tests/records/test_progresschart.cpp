// The progress chart's rules on small hand-made logs, without any widget:
// where the level rose, which kanji are weak, and how the tests become marks.
#include "data/datetime.h"
#include "data/studylog.h"
#include "records/chart/chartpicture.h"
#include "records/chart/progresschart.h"
#include <gtest/gtest.h>
#include <limits>

using namespace fm;
using namespace fm::chart;

namespace
{

// A test at (level, kind) on the given kanji (the level's first ten when
// none are given), the first `right` of them answered right.
StudyRecord test(int level, int kind, int right, int mode = 1, double day = 46000.4,
                 std::initializer_list<int> kanji = {})
{
    StudyRecord r;
    r.Mode = StudyMode(mode); // as the file stores it
    r.Level = int16_t(level);
    r.Kind = kindFromFile(kind);
    r.Time = day;
    auto k = kanji.begin();
    for (int i = 1; i <= QuestionsPerTest; ++i) {
        r.Kanji[i] = int16_t(k != kanji.end() ? *k++ : 20 * (level - 1) + i);
        r.Correct[i] = i <= right ? 1 : 0;
    }
    r.Counted = right >= 7 ? 1 : 0;
    return r;
}

QString rises(const ProgressChart &c)
{
    QStringList out;
    for (const LevelRise &r : c.rises)
        out << QStringLiteral("%1:%2").arg(r.test).arg(r.reached.Level > LevelCount
                                                           ? QStringLiteral("ぜんぶ")
                                                           : QString::number(r.reached.Level) +
                                                                 (r.reached.Kind == StudyKind::Reading
                                                                      ? QStringLiteral("よむ")
                                                                      : QStringLiteral("かく")));
    return out.join(' ');
}

QString weak(const ProgressChart &c)
{
    QStringList out;
    for (const WeakKanji &w : c.weak)
        out << QStringLiteral("%1%2 %3/%4")
                   .arg(w.kanji)
                   .arg(w.kind == StudyKind::Reading ? 'r' : 'w')
                   .arg(w.right)
                   .arg(w.asked);
    return out.join(", ");
}

} // namespace

TEST(ProgressChart, LevelRisesAreMarkedAtTheTestThatPassed)
{
    const struct {
        const char *what;
        QVector<StudyRecord> log;
        const char *rises;
    } cases[] = {
        {"no tests", {}, ""},
        {"39 right answers do not pass", {test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), test(1, 1, 9)}, ""},
        {"the 40th right answer passes reading, then writing",
         {test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), test(1, 1, 10), test(1, 2, 10), test(1, 2, 10),
          test(1, 2, 10), test(1, 2, 9), test(1, 2, 7)},
         "3:1かく 8:2よむ"},
        {"neither practice nor failed challenges count",
         {test(1, 1, 10, 2), test(1, 1, 10, 2), test(1, 1, 10, 2), test(1, 1, 10, 2), test(1, 1, 6),
          test(1, 1, 6), test(1, 1, 6), test(1, 1, 6), test(1, 1, 6), test(1, 1, 6), test(1, 1, 4)},
         ""},
        {"passed tests between failed ones",
         {test(1, 1, 10), test(1, 1, 6), test(1, 1, 10), test(1, 1, 6), test(1, 1, 10), test(1, 1, 6),
          test(1, 1, 10), test(1, 1, 6)},
         "6:1かく"},
        {"a record at a new kind shows it reached; after a return only a new height is a rise",
         {test(1, 1, 10), test(1, 1, 10), test(1, 2, 5), test(1, 1, 10), test(1, 1, 10), test(1, 1, 10),
          test(1, 1, 10), test(2, 1, 1)},
         "2:1かく 7:2よむ"},
        {"passing writing at level 12 is every level",
         {test(12, 2, 10), test(12, 2, 10), test(12, 2, 10), test(12, 2, 10)},
         "0:12かく 3:ぜんぶ"},
    };
    for (const auto &c : cases) {
        const ProgressChart chart = buildProgressChart(c.log);
        EXPECT_EQ(rises(chart), QString::fromUtf8(c.rises)) << c.what;
        // The level after the whole log is the one the program starts with.
        const LevelKind start = rebuildLevel(c.log);
        EXPECT_EQ(chart.reached.Level, start.Level) << c.what;
        EXPECT_EQ(chart.reached.Kind, start.Kind) << c.what;
    }
}

TEST(ProgressChart, WeakKanjiAreTheLowestSharesOfTheLevelsReached)
{
    const struct {
        const char *what;
        QVector<StudyRecord> log;
        const char *weak;
    } cases[] = {
        {"never asked and always right are not weak", {test(1, 1, 10)}, ""},
        {"lowest share first; of equal shares the more often asked",
         {test(1, 1, 8, 1, 46000, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}),
          test(1, 1, 9, 1, 46001, {1, 2, 3, 4, 5, 6, 7, 8, 10, 10}),
          test(1, 1, 8, 1, 46002, {1, 2, 3, 4, 5, 6, 7, 8, 11, 9})},
         "9r 0/2, 11r 0/1, 10r 1/3"},
        {"reading and writing are weak each on its own",
         {test(1, 1, 9, 1, 46000, {1, 2, 3, 4, 5, 6, 7, 8, 9, 5}), test(1, 2, 10, 1, 46001, {5, 5, 5, 5, 5})},
         "5r 1/2"},
        {"practice answers are not counted",
         {test(1, 1, 0, 2), test(1, 1, 9, 1, 46001, {1, 1, 1, 1, 1})},
         "10r 0/1"},
        {"kanji of levels above the one reached are left out",
         {test(3, 1, 5, 1, 46000), test(1, 1, 9, 1, 46001)},
         "10r 0/1"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(weak(buildProgressChart(c.log)), QString::fromUtf8(c.weak)) << c.what;

    // Twenty-one weak kanji: the twenty weakest are shown.
    const ProgressChart chart =
        buildProgressChart({test(2, 1, 3), test(3, 1, 3), test(3, 2, 3), test(3, 2, 9, 1, 46001)});
    ASSERT_EQ(chart.weak.size(), MaxWeakKanji);
    EXPECT_TRUE(weak(chart).startsWith(QStringLiteral("50w 0/2, 24r 0/1"))) << weak(chart).toStdString();
    EXPECT_TRUE(weak(chart).endsWith(QStringLiteral("47w 1/2, 48w 1/2"))) << weak(chart).toStdString();
}

TEST(ProgressChart, TestsBecomeMarksThatNeverOverlap)
{
    // Sparse tests: one mark each, as they were.
    {
        const ProgressChart c = buildProgressChart(
            {test(1, 1, 4, 1, 46000.3), test(1, 1, 8, 2, 46000.6), test(1, 2, 7, 1, 46010.5)});
        const ChartMarks m = chartMarks(c, 60);
        EXPECT_EQ(m.bucketDays, 0);
        ASSERT_EQ(m.marks.size(), 3);
        EXPECT_EQ(m.marks[1].right, 8);
        EXPECT_EQ(m.marks[1].mode, StudyMode::Practice);
    }
    // Two challenge readings the same morning would overlap: one mark, their mean.
    {
        const ProgressChart c = buildProgressChart(
            {test(1, 1, 4, 1, 46000.3), test(1, 1, 8, 1, 46000.31), test(1, 1, 7, 1, 46030.5)});
        const ChartMarks m = chartMarks(c, 60);
        EXPECT_EQ(m.bucketDays, 1);
        ASSERT_EQ(m.marks.size(), 2);
        EXPECT_DOUBLE_EQ(m.marks[0].right, 6);
        EXPECT_EQ(m.marks[0].tests, 2);
    }
    // 10,000 tests over three years: few enough marks for the axis, and
    // every test in exactly one of them.
    {
        QVector<StudyRecord> log;
        for (int i = 0; i < 10000; ++i)
            log << test(1 + i / 900, 1 + i % 2, i % 11, 1 + (i % 5 == 0), 46000 + i * 0.11);
        const ProgressChart c = buildProgressChart(log);
        const ChartMarks m = chartMarks(c, 60);
        EXPECT_GE(m.bucketDays * 60, c.last - c.first);
        int tests = 0;
        for (const ChartMark &mk : m.marks)
            tests += mk.tests;
        EXPECT_EQ(tests, 10000);
        EXPECT_LE(m.marks.size(), 4 * 61);
    }
    // A test whose time is no date is counted but not placed; the dates
    // placed are those the history shows.
    for (double day : {-693593.9, 0.0, 46000.5, 2958465.9})
        EXPECT_TRUE(isDated(day) && !shortDate(day).isEmpty()) << day;
    for (double day : {-693594.0, 2958466.0, 1e300, std::numeric_limits<double>::infinity()})
        EXPECT_TRUE(!isDated(day) && shortDate(day).isEmpty()) << day;
    {
        StudyRecord lost = test(1, 1, 5);
        lost.Time = std::numeric_limits<double>::quiet_NaN();
        const ProgressChart c = buildProgressChart({lost, test(1, 1, 9, 1, 46000)});
        EXPECT_EQ(c.undated, 1);
        EXPECT_EQ(c.tests.size(), 1);
        EXPECT_EQ(c.first, 46000);
    }
}

// A card said 「かく 0%」 for one question missed and for six: the count
// goes with the share.
TEST(ProgressChart, AWeakCardTellsHowManyQuestionsItsShareIsOf)
{
    const struct {
        int asked, right;
        const char *label;
    } cases[] = {{1, 0, "かく 0%\n0/1もん"}, {6, 0, "かく 0%\n0/6もん"}, {6, 2, "かく 33%\n2/6もん"}};
    for (const auto &c : cases) {
        WeakKanji w;
        w.kind = StudyKind::Writing;
        w.asked = c.asked;
        w.right = c.right;
        EXPECT_EQ(weakLabel(w), QString::fromUtf8(c.label));
    }
}
