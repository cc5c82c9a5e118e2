#include "records/layout.h"
#include <QSet>
#include <gtest/gtest.h>

using namespace fm::records;

namespace
{

// The screen every page has (shell/screen.h's DesignWidth x DesignHeight).
constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;

} // namespace

TEST(KanaKeys, CaptionsFollowTheKeyTableInOrder)
{
    const QString table =
        QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやいゆえよ"
                       "らりるれろわいうえをんゃゅょっがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ");
    ASSERT_EQ(table.size(), KanaKeyCount);
    QString joined;
    for (int i = 1; i <= KanaKeyCount; ++i)
        joined += kanaKeyCaption(i);
    EXPECT_EQ(joined, table);
    // The fillers of the や and わ rows type the vowels of the あ row.
    EXPECT_EQ(kanaKeyCaption(37), kanaKeyCaption(2));
    EXPECT_EQ(kanaKeyCaption(39), kanaKeyCaption(4));
    EXPECT_EQ(kanaKeyCaption(47), kanaKeyCaption(2));
    EXPECT_EQ(kanaKeyCaption(48), kanaKeyCaption(3));
    EXPECT_EQ(kanaKeyCaption(49), kanaKeyCaption(4));
    EXPECT_TRUE(kanaKeyCaption(0).isEmpty());
    EXPECT_TRUE(kanaKeyCaption(81).isEmpty());
}

// Where the registration screen has the keypad: the first key, the corner of
// each block, the last key.
TEST(KanaKeys, TheBlocksStandWhereTheRegistrationScreenHasThem)
{
    EXPECT_EQ(kanaKeyRect(1), QRect(10, 120, 40, 40));
    EXPECT_EQ(kanaKeyRect(40), QRect(170, 400, 40, 40));
    EXPECT_EQ(kanaKeyRect(41), QRect(230, 120, 40, 40));
    EXPECT_EQ(kanaKeyRect(80), QRect(390, 400, 40, 40));
}

// Every key is a whole key, on the screen, clear of the name and the buttons
// to its right and of every other key.
TEST(KanaKeys, EveryKeyIsWholeOnTheScreenAndOverlapsNothing)
{
    const QRect screen(0, 0, ScreenWidth, ScreenHeight);
    for (int i = 1; i <= KanaKeyCount; ++i) {
        const QRect r = kanaKeyRect(i);
        EXPECT_EQ(r.size(), QSize(KanaKeySize, KanaKeySize)) << i;
        EXPECT_TRUE(screen.contains(r)) << i;
        // The name starts at 460, the two buttons at 512 and end at 440.
        EXPECT_LT(r.right(), 460) << i;
        EXPECT_LE(r.bottom(), 440) << i;
        for (int k = 1; k < i; ++k)
            EXPECT_FALSE(r.intersects(kanaKeyRect(k))) << i << " " << k;
    }
}

// The keys read as the kana table does: in rows of five, left to right, each
// row under the last, the second block to the right of the first and at the
// same height. A key's right neighbour touches it, so that the block has no
// hole a small hand could aim into.
TEST(KanaKeys, KeysReadInRowsOfFiveInTwoBlocksSideBySide)
{
    constexpr int PerBlock = KanaKeyCount / 2;
    for (int block = 0; block < 2; ++block) {
        const int first = 1 + block * PerBlock;
        QSet<int> rowTops;
        for (int i = first; i < first + PerBlock; ++i) {
            const QRect r = kanaKeyRect(i);
            rowTops.insert(r.top());
            const bool rowStart = (i - first) % 5 == 0;
            if (!rowStart) {
                const QRect left = kanaKeyRect(i - 1);
                EXPECT_EQ(r.top(), left.top()) << i;
                EXPECT_EQ(r.left(), left.right() + 1) << i;
            } else if (i > first) {
                const QRect above = kanaKeyRect(i - 5);
                EXPECT_EQ(r.left(), above.left()) << i;
                EXPECT_EQ(r.top(), above.bottom() + 1) << i;
            }
        }
        EXPECT_EQ(rowTops.size(), 8) << block;
    }
    for (int i = 1; i <= PerBlock; ++i) {
        EXPECT_EQ(kanaKeyRect(i + PerBlock).top(), kanaKeyRect(i).top()) << i;
        EXPECT_GT(kanaKeyRect(i + PerBlock).left(), kanaKeyRect(5).right()) << i;
    }
}

// The player list at the screen's width: players 1..5 in the left column,
// 6..10 in the right one, 52 apart.
TEST(PlayerList, PlayersStandWhereThePlayerScreenHasThem)
{
    EXPECT_EQ(playerColumnOffset(1, 640), 0);
    EXPECT_EQ(playerColumnOffset(5, 640), 0);
    EXPECT_EQ(playerColumnOffset(6, 640), 310);
    EXPECT_EQ(playerColumnOffset(10, 640), 310);
    EXPECT_EQ(playerRow(5), 5);
    EXPECT_EQ(playerRow(6), 1);
    EXPECT_EQ(playerRowTop(1, 640), 132);
    EXPECT_EQ(playerRowTop(5, 640), 340);
    EXPECT_EQ(playerRowTop(6, 640), 132);
    EXPECT_EQ(playerRowTop(10, 640), 340);
}

// At the screen's width and at the wider ones of an 800 x 600 screen: two
// columns side by side, each within its half of the screen, five rows in
// order under the column titles, at an even step, the last one whole on the
// screen; a wider screen never crowds them.
TEST(PlayerList, TwoColumnsOfFiveRowsInOrderOnTheScreenAtEveryWidth)
{
    int narrowerStep = 0;
    int narrowerHalf = 0;
    for (int width : {ScreenWidth, 720, 800, 801}) {
        const int height = width * ScreenHeight / ScreenWidth;
        const int half = playerColumnOffset(6, width);
        EXPECT_GT(half, 0) << width;
        EXPECT_LT(half, width / 2) << width;
        const int step = playerRowTop(2, width) - playerRowTop(1, width);
        EXPECT_GT(step, 0) << width;
        for (int p = 1; p <= 5; ++p) {
            EXPECT_EQ(playerRow(p), p);
            EXPECT_EQ(playerRow(p + 5), p);
            EXPECT_EQ(playerColumnOffset(p, width), 0) << width << " " << p;
            EXPECT_EQ(playerColumnOffset(p + 5, width), half) << width << " " << p;
            // Side by side: the same row in both columns.
            EXPECT_EQ(playerRowTop(p + 5, width), playerRowTop(p, width)) << width << " " << p;
            if (p > 1) {
                EXPECT_EQ(playerRowTop(p, width) - playerRowTop(p - 1, width), step) << width << " " << p;
            }
        }
        // Under the column titles, and the last row with a row's height below it on the screen.
        EXPECT_GT(playerRowTop(1, width), PlayerTitleTop) << width;
        EXPECT_LE(playerRowTop(5, width) + step, height) << width;
        EXPECT_GE(step, narrowerStep) << width;
        EXPECT_GE(half, narrowerHalf) << width;
        narrowerStep = step;
        narrowerHalf = half;
    }
}
