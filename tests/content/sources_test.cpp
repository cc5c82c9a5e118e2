// The generator's checks: a source outside its bounds is refused with a
// line that names the file, the row and the problem.
#include "tools/contentgen/sources.h"
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
                         "12\t7\t1\tあ\tい\n"
                         "2\t1\t1\ta|b|c|d|e|f\tい\n"),
                  problems);
    EXPECT_TRUE(anyLine(problems, "hints.tsv:2: ", "42 bytes, at most 40"));
    EXPECT_TRUE(anyLine(problems, "hints.tsv:3: ", "follow each other"));
    EXPECT_TRUE(anyLine(problems, "hints.tsv:4: ", "want 1..14, 1..6, 1..2"));
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

TEST(ContentSources, SoundChangesAreTheRegularOnesOnly)
{
    const auto regular = [](const char *reading, const char *form) {
        return isRegularSoundChange(QString::fromUtf8(reading), QString::fromUtf8(form));
    };
    EXPECT_TRUE(regular("がく", "がっ"));    // がっこう
    EXPECT_TRUE(regular("いち", "いっ"));    // いっぽん
    EXPECT_TRUE(regular("ほん", "ぽん"));    // いっぽん
    EXPECT_TRUE(regular("ほん", "ぼん"));    // さんぼん
    EXPECT_TRUE(regular("しゃ", "じゃ"));    // じんじゃ
    EXPECT_TRUE(regular("ひ", "び"));        // にちようび
    EXPECT_FALSE(regular("がく", "がつ"));   // not a doubling
    EXPECT_FALSE(regular("やす", "やっ"));   // す does not double
    EXPECT_FALSE(regular("ほん", "もん"));   // not a voicing
    EXPECT_FALSE(regular("きち", "ぎっ"));   // two changes at once
    EXPECT_FALSE(regular("じん", "じん"));   // no change at all
    EXPECT_FALSE(regular("さん", "ざんね")); // another word
}

TEST(ContentSources, SentencesMustAskExactlyTheTaughtReadings)
{
    Sources s;
    QStringList problems;
    s.kanji = someKanji(twoParts()); // 休 答
    s.readings = readReadings("readings.tsv",
                              u8("休\tキュウ\tやす.む\n"
                                 "答\t-\tこた.える\n"),
                              s.kanji, problems);
    s.soundChanges = readSoundChanges("sound-changes.tsv",
                                      u8("休\tきゅう\tきゅっ\tきゅっけい\n" // no such change
                                         "答\tこた\tごた\tごたえ\n"         // regular, never asked
                                         "休\tやす\tやっ\tやっすみ\n"),     // す never doubles
                                      s.kanji, s.readings, problems);
    EXPECT_TRUE(anyLine(problems, "sound-changes.tsv:1: ", "no regular sound change"));
    EXPECT_TRUE(anyLine(problems, "sound-changes.tsv:3: ", "no regular sound change"));
    EXPECT_EQ(s.soundChanges.size(), 1);
    s.sentences = readSentences("sentences.tsv",
                                u8("休\tきょうは /{やす}/みです。\n"
                                   "休\tにちようびは /{やす}/みだ。\n"
                                   "休\tあしたも /{やす}/みに なる。\n" // やすみ a third time
                                   "休\tこかげで /{やつ}/む。\n"        // a wrong reading
                                   "答\tもんだいの かい/{とう}/。\n"    // KANJIDIC has it, grade 2 not
                                   "答\tしつもんに /{こた}/える。\n"),
                                s.kanji, problems);
    problems.clear();
    checkReadings(s, problems);
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:4: ", "やつ is not a reading 休 is taught with"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:5: ", "とう is not a reading 答 is taught with"));
    EXPECT_TRUE(problems.contains(
        QString::fromUtf8("readings.tsv:1: 休 is taught as きゅう, but no sentence asks it")));
    EXPECT_TRUE(anyLine(problems, "sound-changes.tsv:2: ", "no sentence asks ごた on 答"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:3: ", "休 asks 休み in 3 sentences (rows 1, 2, 3)"));
    EXPECT_EQ(problems.size(), 5) << qPrintable(problems.join('\n'));

    // A kanji that makes one word only may ask it every time.
    s.readings[0].oneWord << QString::fromUtf8("休み");
    problems.clear();
    checkReadings(s, problems);
    EXPECT_FALSE(anyLine(problems, "sentences.tsv:3: ", "やすみ")) << qPrintable(problems.join('\n'));
}

TEST(ContentSources, PhraseSpacingFollowsTheRule)
{
    QStringList problems;
    const auto kanji = someKanji(twoParts());
    auto sentences = readSentences("sentences.tsv",
                                   u8("休\tねこが /{やす}/んでいる。\n"           // helping verb joined
                                      "休\tこうえんで /{やす}/み さんぽ する。\n" // する split from its noun
                                      "休\tほんをよんで /{やす}/む。\n"           // no blank after を
                                      "休\t /{やす}/みです 。\n"         // blank at the start, before 。
                                      "休\tいすに /{やす}/んで いる。\n" // as the rule wants
                                      "答\tもんだいを /{こた}/えて いる。\n"
                                      "答\tよく かんがえて /{こた}/えて いるね。\n"),
                                   kanji, problems);
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:1: ", "helping verb"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:2: ", "する are one phrase"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:3: ", "after を"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:4: ", "start or the end"));
    EXPECT_TRUE(anyLine(problems, "sentences.tsv:4: ", "before a punctuation mark"));
    EXPECT_FALSE(anyLine(problems, "sentences.tsv:5: ", ""));
    EXPECT_FALSE(anyLine(problems, "sentences.tsv:6: ", ""));

    // One word written as one phrase in one sentence and as two in another.
    Sources s;
    s.kanji = kanji;
    s.readings = readReadings("readings.tsv", u8("休\t-\tやす.む\n答\t-\tこた.える\n"), kanji, problems);
    s.sentences = readSentences("sentences.tsv",
                                u8("休\tちからもちも /{やす}/む。\n"
                                   "答\tちから もちが /{こた}/える。\n"),
                                kanji, problems);
    problems.clear();
    checkReadings(s, problems);
    EXPECT_TRUE(
        anyLine(problems, "sentences.tsv:2: ", "\"ちから もちが\" is written as one phrase elsewhere"))
        << qPrintable(problems.join('\n'));
}

TEST(ContentSources, NoRightAnswerIsMarkedWrongAndNoAnswerIsGivenAway)
{
    Sources s;
    QStringList problems;
    s.kanji = readKanji("kanji.tsv", u8("1\t入\t2\t-\t-\n2\t歌\t14\t-\t-\n3\t何\t7\t-\t-\n4\t父\t4\t-\t-\n"),
                        {}, problems);
    s.readings = readReadings(
        "readings.tsv", u8("入\tニュウ\tはい.る い.れる\n歌\tカ\tうた\n何\t-\tなに なん\n父\tフ\tちち\n"),
        s.kanji, problems);
    s.specialReadings = readSpecialReadings("word-readings.tsv",
                                            u8("父\tとう\tおとうさん\t付表 お父さん\n"
                                               "父\tちち\tちちのひ\t-\n"    // no source, and taught already
                                               "歌\tうた\tうた\tどこか\n"), // no kana around it
                                            s.kanji, s.readings, problems);
    EXPECT_TRUE(anyLine(problems, "word-readings.tsv:2: ", "no source"));
    EXPECT_TRUE(anyLine(problems, "word-readings.tsv:3: ", "does not hold"));
    ASSERT_EQ(s.specialReadings.size(), 1);

    // Each faulty row is named for its fault; each row after a fault is how it is mended.
    struct Case {
        const char *row;
        const char *fault; // nullptr: no problem at all
    };
    const Case cases[] = {
        {"入\tはこに /{い}/れる。", "also read はいれる"},
        {"入\tおもちゃを はこに /{い}/れる。", nullptr}, // an object: not はいれる
        {"入\tおふろに /{はい}/る。", nullptr},
        {"入\tきょうは /{にゅう}/がくしき。", nullptr},
        {"歌\t{うた}/を /うたう。", "the answer うた shows elsewhere"},
        {"歌\tたのしい /{うた}/を きく。", nullptr},
        {"歌\tこ/{か}/を ならう。", nullptr}, // one kana: too short to tell
        {"何\t{なん}/じに /おきる。", "end it with ？"},
        {"何\t{なに}/を /して あそぶ？", nullptr},
        {"何\tいまは /{なん}/じですか。", nullptr},
        {"何\t{なん}/ぼんも /ある。", nullptr},
        {"父\t{とう}/さんは /いない。", "reads とう only in おとうさん"},
        {"父\tお/{とう}/さんと さんぽする。", nullptr},
        {"父\t{ちち}/の /ひ。", nullptr},
        {"父\tそ/{ふ}/の いえ。", nullptr},
    };
    QByteArray text;
    for (const Case &c : cases)
        text += QByteArray(c.row) + '\n';
    problems.clear();
    s.sentences = readSentences("sentences.tsv", text, s.kanji, problems);
    ASSERT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));
    checkReadings(s, problems);
    checkAnswers(s, problems);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const QString at = QStringLiteral("sentences.tsv:%1: ").arg(i + 1);
        if (cases[i].fault)
            EXPECT_TRUE(anyLine(problems, at, QString::fromUtf8(cases[i].fault)))
                << cases[i].row << "\n"
                << qPrintable(problems.join('\n'));
        else
            EXPECT_FALSE(anyLine(problems, at, "")) << qPrintable(problems.join('\n'));
    }

    // A special reading no sentence asks is reported like any taught reading.
    s.sentences.removeIf(
        [](const Sentence &x) { return x.segments[x.target - 1] == QString::fromUtf8("とう"); });
    problems.clear();
    checkReadings(s, problems);
    EXPECT_TRUE(anyLine(problems, "word-readings.tsv:1: ", "no sentence asks とう on 父"));
}

TEST(ContentSources, OkuriganaIsReadInEveryFormOfItsWord)
{
    const auto fits = [](const char *okurigana, const char *kana) {
        bool potential = false;
        const bool yes =
            continuesOkurigana(QString::fromUtf8(okurigana), QString::fromUtf8(kana), &potential);
        return yes ? (potential ? 2 : 1) : 0; // 2: only as the potential form
    };
    EXPECT_EQ(fits("る", "れる"), 2);   // はいれる
    EXPECT_EQ(fits("く", "く"), 1);     // ゆく beside いく
    EXPECT_EQ(fits("く", "った"), 0);   // かいた, never かった
    EXPECT_EQ(fits("う", "った"), 1);   // あった
    EXPECT_EQ(fits("れる", "る"), 0);   // いれる is not いる
    EXPECT_EQ(fits("れる", "れた"), 1); // いれた
    EXPECT_EQ(fits("い", "かく"), 0);   // ほそかく is no word
    EXPECT_EQ(fits("い", "かった"), 1); // ほそかった
    EXPECT_EQ(fits("く", "こうに"), 0); // くうこうに is not あこうに
    EXPECT_EQ(fits("す", "せん"), 0);   // ちょくせん is not なおせん
    EXPECT_EQ(fits("る", "ろう"), 1);   // かえろう
    EXPECT_EQ(fits("", "る"), 0);       // a reading without okurigana
}
