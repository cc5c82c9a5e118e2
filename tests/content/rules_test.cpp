// The rules a sentence, a word and the reading box keep, fed one sample of
// each fault on top of the shipped content: each must be refused with its
// own message, and the shipped content, the guard, with none.
#include "tools/contentgen/sources.h"
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using namespace fm::content;

namespace
{

const QString ContentDir = QStringLiteral(FUDEMARU_CONTENT_DIR);

const Sources &shipped()
{
    static const Sources s = [] {
        QStringList problems;
        Sources out = readAll(ContentDir, problems);
        EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));
        return out;
    }();
    return s;
}

QByteArray u8(const char *s)
{
    return QByteArray(s);
}

void addSentences(Sources &s, const char *rows)
{
    QStringList problems;
    s.sentences += readSentences(QStringLiteral("sentences.tsv"), u8(rows), s.kanji, problems);
    ASSERT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));
}

// Every check a content row goes through, counts included.
QStringList everyProblem(const Sources &s)
{
    QStringList problems;
    checkReadings(s, problems);
    checkAnswers(s, problems);
    checkShownKanji(s, problems);
    checkReadingBox(s, problems);
    // Shortfalls last: a planted fault is named before them.
    return problems + countShortfalls(s);
}

// Keeps only the sentences of one kanji that pass `keep`.
void keepOnly(Sources &s, const QString &glyph, const std::function<bool(const Sentence &)> &keep)
{
    int number = 0;
    for (const Kanji &k : s.kanji)
        if (k.glyph == glyph)
            number = k.number;
    QVector<Sentence> rest;
    for (const Sentence &x : s.sentences)
        if (x.kanji != number || keep(x))
            rest << x;
    s.sentences = rest;
}

struct Fault {
    const char *name;
    std::function<void(Sources &)> plant;
    const char *expected; // part of the line that must name the fault
};

} // namespace

TEST(ContentRules, EachFaultAWriterCanMakeIsRefusedByName)
{
    const Sources &base = shipped();
    ASSERT_EQ(base.kanji.size(), KanjiCount);
    // Until the new sentences are merged, only the counts may fall short.
    QStringList before;
    checkReadings(base, before);
    checkAnswers(base, before);
    checkShownKanji(base, before);
    checkReadingBox(base, before);
    EXPECT_TRUE(before.isEmpty()) << qPrintable(before.join('\n'));

    const std::vector<Fault> faults{
        {"a kanji of a later level",
         [](Sources &s) { addSentences(s, "日\t学校は /{にち}/ようびも ある。\n"); },
         "学 is taught at level 4, after this level-1 sentence"},
        {"a kanji outside the 240", [](Sources &s) { addSentences(s, "日\tあさ /{ひ}/が 昇る。\n"); },
         "昇 is not one of the kanji taught"},
        {"its own kanji beside the target",
         [](Sources &s) { addSentences(s, "日\t{にち}/よう日に /あそぶ。\n"); },
         "日 shows outside the target"},
        {"a word split between kanji and kana",
         [](Sources &s) { addSentences(s, "校\tがっ/{こう}/の にわ。\n"); }, "\"がっ校\" splits 学校"},
        {"the other half split", [](Sources &s) { addSentences(s, "先\t{せん}/せいと /うたう。\n"); },
         "\"先せい\" splits 先生"},
        {"one sentence under two kanji",
         [](Sources &s) { addSentences(s, "校\t学/{こう}/へ いく。\n学\t{がっ}/校へ /いく。\n"); },
         "the same sentence as row"},
        {"a word asked a third time",
         [](Sources &s) {
             addSentences(s, "休\tあしたは /{やす}/みです。\n休\tきょうも /{やす}/みだ。\n"
                             "休\tあさっても /{やす}/みだよ。\n");
         },
         "休 asks 休み in"},
        {"too few sentences for a kanji",
         [](Sources &s) { keepOnly(s, QStringLiteral("山"), [](const Sentence &) { return false; }); },
         "山 (level 1) has 0 sentences, at least 5"},
        {"a reading asked once",
         [](Sources &s) {
             bool first = true;
             keepOnly(s, QStringLiteral("花"), [&](const Sentence &x) {
                 const bool keep = x.segments[x.target - 1] != QStringLiteral("はな") || first;
                 first = first && x.segments[x.target - 1] != QStringLiteral("はな");
                 return keep;
             });
         },
         "花 はな is asked in 1 sentence(s), at least 2"},
        {"a whole word that is not listed",
         [](Sources &s) { addSentences(s, "日\t{一月:ひとつき}/が /すぎた。\n"); },
         "the whole word 一月 ひとつき is not in words.tsv"},
        {"a whole word filed under a kanji it lacks",
         [](Sources &s) { addSentences(s, "月\t{一日:ついたち}/は /やすみ。\n"); }, "does not hold 月"},
        {"a whole word asked before its kanji are taught",
         [](Sources &s) { addSentences(s, "日\t{今日:きょう}/は /はれ。\n"); }, "今 is taught at level 8"},
        {"a reading-box word no sentence shows",
         [](Sources &s) {
             QStringList p;
             s.readingBox = readReadingBox(QStringLiteral("reading-box.tsv"),
                                           u8("山\t訓\tやま\t山みち\tやまみち\n"), s.kanji, p);
         },
         "no sentence of 山 shows the example 山みち"},
        {"a reading with no box row",
         [](Sources &s) {
             QVector<BoxRow> rest;
             for (const BoxRow &b : s.readingBox)
                 if (!(b.reading == QStringLiteral("サン") &&
                       s.kanji[b.kanji - 1].glyph == QStringLiteral("山")))
                     rest << b;
             s.readingBox = rest;
         },
         "山 サン has no row"},
        {"a reading-box word that does not sound the reading",
         [](Sources &s) {
             QStringList p;
             s.readingBox += readReadingBox(QStringLiteral("reading-box.tsv"),
                                            u8("三\t音\tサン\t三つ\tみっつ\n"), s.kanji, p);
         },
         "サン is not heard in 三つ"},
    };
    for (const Fault &f : faults) {
        Sources s = base;
        f.plant(s);
        const QStringList problems = everyProblem(s);
        const QString expected = QString::fromUtf8(f.expected);
        EXPECT_TRUE(std::any_of(problems.begin(), problems.end(),
                                [&](const QString &l) { return l.contains(expected); }))
            << f.name << ": want \"" << qPrintable(expected) << "\" among\n"
            << qPrintable(
                   QStringList(problems.begin(), problems.begin() + std::min<qsizetype>(problems.size(), 12))
                       .join('\n'));
    }

    // The words table itself: a word whose parts do not spell its reading.
    QStringList problems;
    readWords(QStringLiteral("words.tsv"), u8("学校\tがっこう\tがく こう\n"), base.kanji, problems);
    EXPECT_TRUE(problems.filter(QStringLiteral("do not spell 学校")).size() == 1)
        << qPrintable(problems.join('\n'));
}
