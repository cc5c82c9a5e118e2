#include "data/cp932.h"
#include "data/datetime.h"
#include "data/errors.h"
#include "data/gamescore.h"
#include "data/hintfile.h"
#include "testutil.h"

using namespace fm;

TEST(Cp932, CutNeverSplitsADoubleByteCharacter)
{
    const QByteArray mixed = sj("aかんじb");
    EXPECT_EQ(cp932::cut(mixed, 2), sj("a"));
    EXPECT_EQ(cp932::cut(mixed, 3), sj("aか"));
    EXPECT_EQ(cp932::cut(mixed, 100), mixed);
    EXPECT_EQ(cp932::cut(QByteArray("\x82", 1), 10), QByteArray()) << "a dangling lead byte is dropped";
    EXPECT_EQ(cp932::charCount(mixed), 5);
    EXPECT_EQ(cp932::charAt(mixed, 2), sj("ん"));
    EXPECT_EQ(cp932::toUnicode(sj("（小１～２）")), QString::fromUtf8("（小１～２）"));
    EXPECT_EQ(sj("～"), QByteArray::fromHex("8160"));
    // What cp932 lacks becomes '?', one for each character, whatever the
    // converter's own substitute would be; the rest converts as ever.
    EXPECT_EQ(cp932::fromUnicode(QString::fromUtf8("a😀か한b")), QByteArray("a?") + sj("か") + "?b");
    EXPECT_EQ(cp932::fromUnicode(QString::fromUtf8("😀")), QByteArray("?"));
}

TEST(DayNumber, MatchesTheDesktopDateConvention)
{
    EXPECT_EQ(toDayNumber(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_EQ(toDayNumber(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
    const QDateTime t(QDate(2026, 12, 7), QTime(9, 30, 15));
    EXPECT_EQ(fromDayNumber(toDayNumber(t)), t);
    EXPECT_FALSE(fromDayNumber(std::numeric_limits<double>::quiet_NaN()).isValid());
    EXPECT_FALSE(fromDayNumber(1e300).isValid());
}

class HintFileTest : public DataDirTest
{
};

TEST_F(HintFileTest, IndexIsKeyedByNumberAndPagesReadBack)
{
    QByteArray bytes;
    for (int n = 1; n <= 3; ++n) {
        HintRecord r;
        r.Screen = 12;
        r.Situation = static_cast<int16_t>(n);
        r.Kind = 2;
        r.Number = static_cast<int16_t>(n);
        r.Level1Lines[0] = sj("ヒント");
        r.Level2Lines[4] = sj("せつめい  ");
        bytes += encodeHintRecord(r);
    }
    ASSERT_EQ(bytes.size(), 3 * 510);
    write("Hint.dat", bytes);
    HintIndex index;
    loadHintIndex(index, dir());
    EXPECT_TRUE(index.HintLoaded);
    EXPECT_EQ(index.HintLastNumber, 3);
    EXPECT_EQ(index.Entries[2].Situation, 2);
    HintRecord page;
    ASSERT_TRUE(readHintPage(dir(), 3, page));
    EXPECT_EQ(page.Level1Lines[0], sj("ヒント"));
    EXPECT_EQ(page.Level2Lines[4], sj("せつめい  ")) << "trailing blanks stay";
    EXPECT_THROW(readHintPage(dir(), 4, page), FileError);
    QFile::remove(path("Hint.dat"));
    EXPECT_FALSE(readHintPage(dir(), 1, page)) << "no file: no page, and the window says so";
}

class BoardTest : public DataDirTest
{
};

TEST_F(BoardTest, RecordsAreTwentyFourBytesBestFirst)
{
    const QVector<GameScoreRecord> board{{12, sj("はなこ"), 46000.0}, {3, sj("あいうえおか"), 45999.0}};
    writeBoard(dir(), GameId::WhackAMole, board);
    const QByteArray bytes = read("Game2.dat");
    ASSERT_EQ(bytes.size(), 48);
    EXPECT_EQ(bytes.mid(0, 3), QByteArray::fromHex("0c0006"));
    const auto back = readBoard(dir(), GameId::WhackAMole);
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back[0].Name, sj("はなこ"));
    EXPECT_EQ(back[1].Name, sj("あいうえお"));
    EXPECT_EQ(back[1].Date, 45999.0);
    EXPECT_TRUE(readBoard(dir(), GameId::Matching).isEmpty()) << "the two games never share a board";
}

TEST_F(BoardTest, ReadsAtMostElevenRecordsAndSurvivesDamage)
{
    QVector<GameScoreRecord> many(13, {5, sj("あ"), 1.0});
    write("Game1.dat", encodeBoard(many) + QByteArray(5, '\xff'));
    EXPECT_EQ(readBoard(dir(), GameId::Matching).size(), 11);
    QByteArray bad = encodeBoard({{1, QByteArray("x"), 1.0}});
    bad[2] = static_cast<char>(200); // impossible name length
    write("Game1.dat", bad);
    EXPECT_EQ(readBoard(dir(), GameId::Matching)[0].Name.size(), 10);
}
