#include "data/cp932.h"
#include "records/recordrules.h"
#include <gtest/gtest.h>
#include <limits>

using namespace fm;
using namespace fm::records;

TEST(HistoryPaging, PreviousPageFromAShortOrFullPage)
{
    EXPECT_EQ(previousPagePosition(20), 0);  // after a full second page
    EXPECT_EQ(previousPagePosition(25), 10); // after a third page of five
    EXPECT_EQ(previousPagePosition(21), 10);
    EXPECT_EQ(previousPagePosition(30), 10);
    EXPECT_EQ(previousPagePosition(31), 20);
    EXPECT_EQ(previousPagePosition(0), 0); // never before the first record
    const HistoryPage last = readHistoryPage(20, 23);
    EXPECT_EQ(last.first, 20);
    EXPECT_EQ(last.count, 3);
    EXPECT_TRUE(last.prevShown);
    EXPECT_FALSE(last.nextShown);
}

TEST(HistoryPaging, TitleAndDateStayWithinWhatTheyCanShow)
{
    // One byte too many for the title: the last kana goes whole.
    EXPECT_EQ(historyTitle(cp932::fromUnicode(QStringLiteral("Aあいうえお"))),
              QStringLiteral("Aあいうえおのせいせきひょ"));
    // A time that is no date leaves the cell empty rather than showing nonsense.
    EXPECT_EQ(historyDate(std::numeric_limits<double>::quiet_NaN()), QString());
    EXPECT_EQ(historyDate(1e300), QString());
    EXPECT_EQ(historyDate(45000.99), QStringLiteral("2023/03/15"));
}

TEST(LevelClear, ByLevelKindAndMastery)
{
    constexpr StudyKind R = StudyKind::Reading, W = StudyKind::Writing;
    const auto marked = [](StudyKind kind, int level, StudyKind currentKind) {
        int count = 0;
        for (int j = 1; j <= ListedKanji; ++j)
            count += levelCleared(false, j, kind, level, currentKind) ? 1 : 0;
        return count;
    };
    // Level 1, reading: only what is mastered.
    EXPECT_EQ(marked(R, 1, R), 0);
    EXPECT_EQ(marked(W, 1, R), 0);
    EXPECT_TRUE(levelCleared(true, 240, W, 1, R));
    // Level 3, writing: reading 1..60, writing 1..40; 41 only when mastered.
    EXPECT_EQ(marked(R, 3, W), 60);
    EXPECT_TRUE(levelCleared(false, 60, R, 3, W));
    EXPECT_EQ(marked(W, 3, W), 40);
    EXPECT_TRUE(levelCleared(false, 40, W, 3, W));
    EXPECT_FALSE(levelCleared(false, 41, W, 3, W));
    EXPECT_TRUE(levelCleared(true, 41, W, 3, W));
    // Level 3, reading: both kinds up to 40.
    EXPECT_EQ(marked(R, 3, R), 40);
    // Every level passed: everything, whichever kind.
    for (StudyKind kind : {R, W})
        for (StudyKind currentKind : {R, W})
            EXPECT_EQ(marked(kind, 13, currentKind), 240);
}

TEST(KanjiListCells, DownEachColumnThenGlidingStraightIntoPlace)
{
    EXPECT_EQ(listCell(1), QPoint(0, 0));
    EXPECT_EQ(listCell(12), QPoint(0, 330));
    EXPECT_EQ(listCell(13), QPoint(24, 0));
    EXPECT_EQ(listCell(240), QPoint(456, 330));

    const QPoint start(456, 330);
    const QPoint target(0, 0);
    EXPECT_EQ(glidePosition(start, target, 1), QPoint(440, 319));
    EXPECT_EQ(glidePosition(start, target, 15), QPoint(228, 165));
    EXPECT_EQ(glidePosition(start, target, 29), QPoint(15, 11));
    EXPECT_EQ(glidePosition(start, target, 30), target);
    EXPECT_EQ(glidePosition(QPoint(0, 0), QPoint(24, 30), 10), QPoint(8, 10)); // a third of the way
}
