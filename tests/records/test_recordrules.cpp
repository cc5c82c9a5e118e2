#include "data/cp932.h"
#include "records/recordrules.h"
#include "shell/random.h"
#include <QMap>
#include <QSet>
#include <climits>
#include <gtest/gtest.h>
#include <limits>

using namespace fm;
using namespace fm::records;

namespace
{

// Pages as "first..last next prev" for a reader's clicks.
std::string describe(const HistoryPage &p)
{
    std::string s = p.count ? std::to_string(p.first + 1) + ".." + std::to_string(p.first + p.count) : "none";
    return s + (p.nextShown ? " next" : "") + (p.prevShown ? " prev" : "");
}

std::array<bool, ListedKanji + 1> clearedBelow(int last)
{
    std::array<bool, ListedKanji + 1> cleared{};
    for (int s = 1; s <= last; ++s)
        cleared[s] = true;
    return cleared;
}

} // namespace

TEST(HistoryPaging, ShortLogsShowOnePageWithoutButtons)
{
    EXPECT_EQ(describe(readHistoryPage(0, 0)), "none");
    EXPECT_EQ(describe(readHistoryPage(0, 7)), "1..7");
    EXPECT_EQ(describe(readHistoryPage(0, 10)), "1..10");
    EXPECT_EQ(readHistoryPage(0, 10).position, 10);
    EXPECT_EQ(describe(readHistoryPage(0, 11)), "1..10 next");
}

TEST(HistoryPaging, TwentyThreeRecordsForwardAndBack)
{
    HistoryPage p = readHistoryPage(0, 23);
    EXPECT_EQ(describe(p), "1..10 next");
    p = readHistoryPage(p.position, 23);
    EXPECT_EQ(describe(p), "11..20 next prev");
    p = readHistoryPage(p.position, 23);
    EXPECT_EQ(describe(p), "21..23 prev");
    EXPECT_EQ(p.position, 23);
    // Back from the short third page lands on 11..20, and again on 1..10.
    p = readHistoryPage(previousPagePosition(p.position), 23);
    EXPECT_EQ(describe(p), "11..20 next prev");
    p = readHistoryPage(previousPagePosition(p.position), 23);
    EXPECT_EQ(describe(p), "1..10 next");
}

TEST(HistoryPaging, PreviousPageArithmetic)
{
    EXPECT_EQ(previousPagePosition(20), 0);
    EXPECT_EQ(previousPagePosition(25), 10);
    EXPECT_EQ(previousPagePosition(21), 10);
    EXPECT_EQ(previousPagePosition(30), 10);
    EXPECT_EQ(previousPagePosition(31), 20);
    // Never before the first record, whatever the position.
    EXPECT_EQ(previousPagePosition(10), 0);
    EXPECT_EQ(previousPagePosition(0), 0);
}

TEST(HistoryRows, TextsOfAChallengeAndAPracticeRecord)
{
    Catalogue cat;
    const QString level2 = QStringLiteral("右雨円王音下火花貝学気九休玉金空月犬見五");
    for (int i = 0; i < 20; ++i)
        cat.KanjiTable[21 + i].Glyph = cp932::fromUnicode(level2.mid(i, 1));
    StudyRecord r;
    r.Mode = 1;
    r.Level = 2;
    r.Kind = 2;
    r.Time = 45000.75; // 2023-03-15, evening
    r.Counted = 1;
    EXPECT_EQ(historyRow(r, 13, cat),
              (QStringList{"13", "2023/03/15", "2", level2, "かく", "チャレンジ", "○"}));
    r.Mode = 2;
    r.Kind = 1;
    r.Counted = 0;
    r.Time = 36526.0; // 2000-01-01
    EXPECT_EQ(historyRow(r, 1, cat),
              (QStringList{"1", "2000/01/01", "2", level2, "よむ", "れんしゅう", "×"}));
    // A time that is no date leaves the cell empty rather than showing nonsense.
    EXPECT_EQ(historyDate(std::numeric_limits<double>::quiet_NaN()), QString());
    EXPECT_EQ(historyDate(1e300), QString());
}

TEST(HistoryRows, TitleIsBoundWithoutSplittingACharacter)
{
    EXPECT_EQ(historyTitle(cp932::fromUnicode(QStringLiteral("あいうえお"))),
              QStringLiteral("あいうえおのせいせきひょう"));
    EXPECT_EQ(cp932::fromUnicode(historyTitle(cp932::fromUnicode(QStringLiteral("あいうえお")))).size(), 26);
    // One byte too many: the last kana goes whole.
    EXPECT_EQ(historyTitle(cp932::fromUnicode(QStringLiteral("Aあいうえお"))),
              QStringLiteral("Aあいうえおのせいせきひょ"));
}

TEST(LevelClear, LevelOneReaderHasOnlyMasteredKanji)
{
    for (int j : {1, 20, 21, 240})
        for (int kind : {1, 2}) {
            EXPECT_FALSE(levelCleared(false, j, kind, 1, 1)) << j << " " << kind;
            EXPECT_TRUE(levelCleared(true, j, kind, 1, 1)) << j << " " << kind;
        }
}

TEST(LevelClear, LevelThreeWriterHasReadingUpToSixtyAndWritingUpToForty)
{
    auto marks = [](int kind) {
        int last = 0;
        int count = 0;
        for (int j = 1; j <= ListedKanji; ++j)
            if (levelCleared(false, j, kind, 3, 2)) {
                last = j;
                ++count;
            }
        return std::pair(count, last);
    };
    EXPECT_EQ(marks(1), std::pair(60, 60));
    EXPECT_EQ(marks(2), std::pair(40, 40));
    EXPECT_FALSE(levelCleared(false, 41, 2, 3, 2));
    EXPECT_TRUE(levelCleared(true, 41, 2, 3, 2));
    // The same player back at reading: both kinds cleared up to 40 only.
    EXPECT_FALSE(levelCleared(false, 41, 1, 3, 1));
    EXPECT_TRUE(levelCleared(false, 40, 1, 3, 1));
}

TEST(LevelClear, EveryLevelPassedClearsAllKanji)
{
    for (int currentKind : {1, 2})
        for (int kind : {1, 2}) {
            EXPECT_TRUE(levelCleared(false, 240, kind, 13, currentKind));
            EXPECT_TRUE(levelCleared(false, 1, kind, 13, currentKind));
        }
    EXPECT_EQ(kanjiLevel(1), 1);
    EXPECT_EQ(kanjiLevel(20), 1);
    EXPECT_EQ(kanjiLevel(21), 2);
    EXPECT_EQ(kanjiLevel(240), 12);
}

TEST(KanjiListCells, DownEachColumnThenToTheRight)
{
    EXPECT_EQ(listCell(1), QPoint(0, 0));
    EXPECT_EQ(listCell(2), QPoint(0, 30));
    EXPECT_EQ(listCell(12), QPoint(0, 330));
    EXPECT_EQ(listCell(13), QPoint(24, 0));
    EXPECT_EQ(listCell(240), QPoint(456, 330));
    // Every cell lies wholly inside the 480 x 360 picture, none shared.
    QSet<int> seen;
    for (int c = 1; c <= ListedKanji; ++c) {
        const QPoint p = listCell(c);
        EXPECT_TRUE(p.x() >= 0 && p.x() + ListCellWidth <= ListWidth && p.y() >= 0 &&
                    p.y() + ListCellHeight <= ListHeight);
        seen.insert(p.x() * 1000 + p.y());
    }
    EXPECT_EQ(seen.size(), ListedKanji);
}

TEST(KanjiListCells, GlideRunsStraightFromStartToTarget)
{
    const QPoint start(456, 330);
    const QPoint target(0, 0);
    EXPECT_EQ(glidePosition(start, target, 30), target);
    EXPECT_EQ(glidePosition(start, target, 15), QPoint(228, 165));
    EXPECT_EQ(glidePosition(start, target, 1), QPoint(440, 319));
    EXPECT_EQ(glidePosition(start, target, 29), QPoint(15, 11));
    // Down and to the right too: a third of the way after ten ticks.
    EXPECT_EQ(glidePosition(QPoint(0, 0), QPoint(24, 30), 10), QPoint(8, 10));
    EXPECT_EQ(glidePosition(QPoint(24, 0), QPoint(0, 0), 0), QPoint(24, 0));
    // Each step moves towards the target, never past it.
    int lastDistance = INT_MAX;
    for (int n = 1; n <= 30; ++n) {
        const QPoint p = glidePosition(start, target, n);
        const int d = (p - target).manhattanLength();
        EXPECT_LE(d, lastDistance);
        lastDistance = d;
    }
    EXPECT_EQ(lastDistance, 0);
}

TEST(KanjiListLayout, ClearedKanjiLineUpInFrontTheOthersFromTheBack)
{
    StdRandom random(11);
    const ListItems items = layoutKanjiList(clearedBelow(60), random);
    QSet<int> kanji;
    QSet<int> targets;
    for (int c = 1; c <= ListedKanji; ++c) {
        const ListItem &item = items[c];
        EXPECT_EQ(item.start, listCell(c)); // indexed by the start cell
        kanji.insert(item.kanji);
        targets.insert(item.target.x() * 1000 + item.target.y());
        EXPECT_EQ(item.cleared, item.kanji <= 60);
        if (item.kanji <= 60)
            EXPECT_EQ(item.target, listCell(item.kanji)) << item.kanji;
        else
            EXPECT_EQ(item.target, listCell(ListedKanji + 61 - item.kanji)) << item.kanji;
    }
    EXPECT_EQ(kanji.size(), ListedKanji);
    EXPECT_EQ(targets.size(), ListedKanji);
}

TEST(KanjiListLayout, NothingClearedEndsInReverseAndStartsDifferEachPress)
{
    StdRandom random(3);
    const ListItems a = layoutKanjiList(clearedBelow(0), random);
    const ListItems b = layoutKanjiList(clearedBelow(0), random);
    int moved = 0;
    QMap<int, QPoint> targetA;
    QMap<int, QPoint> targetB;
    for (int c = 1; c <= ListedKanji; ++c) {
        moved += a[c].kanji != b[c].kanji ? 1 : 0;
        targetA[a[c].kanji] = a[c].target;
        targetB[b[c].kanji] = b[c].target;
    }
    EXPECT_GT(moved, 200);
    EXPECT_EQ(targetA, targetB);
    EXPECT_EQ(targetA[1], listCell(240)); // the bottom of the right-most column
    EXPECT_EQ(targetA[240], listCell(1));
}
