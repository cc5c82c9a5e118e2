// The generator's checks: a source outside its bounds is refused with a
// line that names the file, the row and the problem.
#include "sources.h"
#include <gtest/gtest.h>

using namespace fm::content;

namespace
{

QByteArray u8(const char *s)
{
    return QByteArray(s);
}

QVector<Part> twoParts()
{
    QStringList problems;
    return readParts("parts.tsv",
                     u8("へん\t1\t亻\t-\tにんべん\nかんむり\t1\t⺮\t答@0,0,1,0.42\tたけかんむり\n"),
                     problems);
}

QVector<Kanji> someKanji(const QVector<Part> &parts)
{
    QStringList problems;
    return readKanji("kanji.tsv", u8("1\t休\t6\tへん:亻\t-\n2\t答\t12\tかんむり:⺮\t-\n"), parts, problems);
}

bool anyLine(const QStringList &lines, const QString &start, const QString &part)
{
    for (const QString &l : lines)
        if (l.startsWith(start) && l.contains(part))
            return true;
    return false;
}

} // namespace

TEST(ContentSources, SentencesAreSplitAndWidened)
{
    QStringList problems;
    const auto kanji = someKanji(twoParts());
    const auto s =
        readSentences("sentences.tsv", u8("# comment\n休\tきょうは /{やす}/みです。\n"), kanji, problems);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));
    ASSERT_EQ(s.size(), 1);
    EXPECT_EQ(s[0].kanji, 1);
    EXPECT_EQ(s[0].target, 2);
    EXPECT_EQ(s[0].segments[0], QString::fromUtf8("きょうは　"));
    EXPECT_EQ(s[0].segments[1], QString::fromUtf8("やす"));
    EXPECT_EQ(s[0].row, 2);
}

TEST(ContentSources, SentencesOutsideTheirBoundsAreRefusedByRow)
{
    QStringList problems;
    const auto kanji = someKanji(twoParts());
    readSentences("sentences.tsv",
                  u8("休\tあいうえおかきくけこさ/{やす}/む。\n" // 11 characters: 22 bytes
                     "休\tこかげで /{やすむ}/。\n"
                     "休\tこかげで /やす/む。\n"
                     "休\tこかげで /{ヤス}/む。\n"
                     "休\t{やす}/{み}/。\n"
                     "答\tよく /{こたえこたえ}/る。\n"
                     "森\t{もり}/の /なか。\n"
                     "休\tひとつ/だけ\n"),
                  kanji, problems);
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:1: ", "22 bytes"));
    EXPECT_FALSE(anyLine(problems, "sentences.tsv:2: ", "")) << "a 3-kana target within bounds";
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:3: ", "no {target}"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:4: ", "hiragana"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:5: ", "more than one"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:6: ", "more than 4 kana"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:7: ", "not in the kanji table"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:8: ", "three segments"));
}

TEST(ContentSources, PartsAndKanjiRefuseWhatThePanelsCannotShow)
{
    QStringList problems;
    const auto parts = readParts("parts.tsv",
                                 u8("へん\t20\t氵\t-\tさんずい\n"
                                    "ななめ\t1\t氵\t-\tさんずい\n"
                                    "へん\t1\t亻\t-\tにんべん\n"
                                    "へん\t1\t木\t-\tきへん\n"
                                    "かんむり\t1\t⺮\t答@0,0,1,2\tたけかんむり\n"),
                                 problems);
    EXPECT_TRUE(anyLine(problems, "parts.tsv:1: ", "outside 1..19"));
    EXPECT_TRUE(anyLine(problems, "parts.tsv:2: ", "unknown group"));
    EXPECT_TRUE(anyLine(problems, "parts.tsv:4: ", "given twice"));
    EXPECT_TRUE(anyLine(problems, "parts.tsv:5: ", "picture area"));
    ASSERT_EQ(parts.size(), 1);

    problems.clear();
    readKanji("kanji.tsv", u8("1\t休\t6\tへん:木\t-\n3\t森\t12\t-\t-\n"), parts, problems);
    EXPECT_TRUE(anyLine(problems, "kanji.tsv:1: ", "not in the part table"));
    EXPECT_TRUE(anyLine(problems, "kanji.tsv:2: ", "out of sequence"));
    EXPECT_TRUE(anyLine(problems, "kanji.tsv: ", "want 240"));
}

TEST(ContentSources, EqualPicturesShareACell)
{
    QStringList problems;
    const auto parts = readParts("parts.tsv",
                                 u8("へん\t1\t日\t-\tひへん\nかんむり\t1\t日\t-\tひ\nあし\t1\t口\t-\tくち\n"
                                    "かんむり\t2\t⺮\t答@0,0,1,0.42\tたけかんむり\n"),
                                 problems);
    ASSERT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));
    ASSERT_EQ(parts.size(), 4);
    EXPECT_EQ(parts[0].cell, 1);
    EXPECT_EQ(parts[1].cell, 1);
    EXPECT_EQ(parts[2].cell, 2);
    EXPECT_EQ(parts[3].cell, 3);
    EXPECT_EQ(parts[3].picture, QString::fromUtf8("答"));
    EXPECT_DOUBLE_EQ(parts[3].clip.bottom(), 0.42);
}

TEST(ContentSources, HintPagesKeepTheirBoundsAndStayTogether)
{
    QStringList problems;
    const QByteArray longLine = QString(21, QChar(0x3042)).toUtf8(); // 21 × あ: 42 bytes
    const auto pages =
        readHints("hints.tsv",
                  u8("1\t1\t1\tよう|こそ\tせつめい\n") + "4\t1\t1\t" + longLine + "\tせつめい\n" +
                      u8("1\t1\t1\tまた\tせつめい\n"
                         "12\t6\t1\tあ\tい\n"
                         "2\t1\t1\ta|b|c|d|e|f\tい\n"),
                  problems);
    EXPECT_TRUE(anyLine(problems, "hints.tsv:2: ", "42 bytes, at most 40"));
    EXPECT_TRUE(anyLine(problems, "hints.tsv:3: ", "follow each other"));
    EXPECT_TRUE(anyLine(problems, "hints.tsv:4: ", "want 1..13, 1..5, 1..2"));
    EXPECT_TRUE(anyLine(problems, "hints.tsv:5: ", "6 lines"));
    ASSERT_GE(pages.size(), 1);
    EXPECT_EQ(pages[0].level1, QStringList({QString::fromUtf8("よう"), QString::fromUtf8("こそ")}));

    // A screen without its page is reported once everything is read.
    Sources s;
    s.hints = pages.mid(0, 1);
    problems.clear();
    checkTogether(s, problems);
    EXPECT_TRUE(problems.contains(QStringLiteral("hints.tsv: no page for screen,situation,kind 13,1,1")));
    EXPECT_TRUE(problems.contains(QStringLiteral("hints.tsv: no page for screen,situation,kind 12,5,2")));
}
