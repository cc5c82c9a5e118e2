#include "records/layout.h"
#include <QSet>
#include <gtest/gtest.h>

using namespace fm::records;

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

TEST(KanaKeys, TwoBlocksOfEightRowsByFiveKeys)
{
    // Corners and row ends of both blocks.
    EXPECT_EQ(kanaKeyRect(1), QRect(10, 120, 40, 40));
    EXPECT_EQ(kanaKeyRect(5), QRect(170, 120, 40, 40));
    EXPECT_EQ(kanaKeyRect(6), QRect(10, 160, 40, 40));
    EXPECT_EQ(kanaKeyRect(40), QRect(170, 400, 40, 40));
    EXPECT_EQ(kanaKeyRect(41), QRect(230, 120, 40, 40));
    EXPECT_EQ(kanaKeyRect(45), QRect(390, 120, 40, 40));
    EXPECT_EQ(kanaKeyRect(80), QRect(390, 400, 40, 40));

    QSet<int> lefts[2], tops[2];
    for (int i = 1; i <= KanaKeyCount; ++i) {
        const QRect r = kanaKeyRect(i);
        lefts[i > 40].insert(r.left());
        tops[i > 40].insert(r.top());
        // No two keys overlap, and all stay left of the name and the buttons.
        for (int k = 1; k < i; ++k)
            EXPECT_FALSE(r.intersects(kanaKeyRect(k))) << i << " " << k;
        EXPECT_LT(r.right(), 460);
        EXPECT_LE(r.bottom(), 440);
    }
    EXPECT_EQ(lefts[0], (QSet<int>{10, 50, 90, 130, 170}));
    EXPECT_EQ(lefts[1], (QSet<int>{230, 270, 310, 350, 390}));
    EXPECT_EQ(tops[0], tops[1]);
    EXPECT_EQ(tops[0].size(), 8);
}

TEST(PlayerList, ColumnsAndRowStepComeFromTheWidth)
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
    // On a wider screen the two columns and the rows spread out, and still
    // stand side by side, top to bottom, within the screen.
    for (int width : {640, 800, 801}) {
        const int height = width * 3 / 4;
        const int half = playerColumnOffset(6, width);
        EXPECT_GE(half, playerColumnOffset(6, 640)) << width;
        EXPECT_LT(half, width / 2) << width;
        for (int p = 1; p <= 5; ++p) {
            EXPECT_EQ(playerColumnOffset(p + 5, width), half) << width << " " << p;
            EXPECT_EQ(playerRowTop(p + 5, width), playerRowTop(p, width)) << width << " " << p;
            if (p > 1) {
                EXPECT_GE(playerRowTop(p, width) - playerRowTop(p - 1, width),
                          playerRowTop(p, 640) - playerRowTop(p - 1, 640))
                    << width << " " << p;
            }
        }
        EXPECT_LT(playerRowTop(5, width), height - 60) << width;
    }
}
