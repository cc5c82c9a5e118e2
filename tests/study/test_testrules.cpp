#include "data/cp932.h"
#include "data/errors.h"
#include "data/settings.h"
#include "study/grading.h"
#include "study/testrules.h"
#include "support/fakes.h"
#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace fm;
using fm::test::FakeClock;
using fm::test::ScriptedRandom;

namespace
{

QByteArray sj(const char *utf8)
{
    return cp932::fromUnicode(QString::fromUtf8(utf8));
}

QSet<int> asSet(const TestKanji &k)
{
    QSet<int> s;
    for (int i = 1; i <= QuestionsPerTest; ++i)
        s.insert(k[i]);
    return s;
}

} // namespace

TEST(TestChoice, ChallengeTossesForEveryEqualCandidateInScanOrder)
{
    // All twenty at the same count: slot j scans the 21 - j unchosen ones and
    // tosses for each. A toss below 0.5 for the first one only makes it the pick.
    ProgressTable progress{};
    ScriptedRandom random;
    for (int slot = 1; slot <= 10; ++slot) {
        random.reals.push_back(0.4);
        for (int i = 1; i < 21 - slot; ++i)
            random.reals.push_back(0.9);
    }
    TestKanji k = chooseChallengeKanji(progress, 3, StudyKind::Reading, random);
    EXPECT_TRUE(random.reals.empty()); // exactly 20 + 19 + ... + 11 tosses
    for (int slot = 1; slot <= 10; ++slot)
        EXPECT_EQ(k[slot], 40 + slot) << slot;

    // Tosses that never switch leave the last unchosen one as the pick.
    random.reals.assign(155, 0.9);
    k = chooseChallengeKanji(progress, 3, StudyKind::Reading, random);
    for (int slot = 1; slot <= 10; ++slot)
        EXPECT_EQ(k[slot], 61 - slot) << slot;
}

TEST(TestChoice, ChallengeAsksTheFewestRightAnswersFirst)
{
    ProgressTable progress{};
    // Level 2, writing: kanji 21..30 at 5 right answers, 31..40 at 0.
    for (int k = 21; k <= 30; ++k)
        progress[k][2].CorrectCount = 5;
    progress[35][1].CorrectCount = 9; // the other kind does not count
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        ScriptedRandom random(seed);
        const QSet<int> chosen = asSet(chooseChallengeKanji(progress, 2, StudyKind::Writing, random));
        QSet<int> expected;
        for (int k = 31; k <= 40; ++k)
            expected.insert(k);
        EXPECT_EQ(chosen, expected) << seed;
    }
    // Distinct counts: asked in order of the count.
    ProgressTable ordered{};
    for (int i = 1; i <= 20; ++i)
        ordered[200 + i][1].CorrectCount = int16_t(20 - i);
    ScriptedRandom random;
    const TestKanji k = chooseChallengeKanji(ordered, 11, StudyKind::Reading, random);
    for (int slot = 1; slot <= 10; ++slot)
        EXPECT_EQ(k[slot], 221 - slot);
}

TEST(TestChoice, ChallengeWithEqualCountsPicksTenDifferentKanjiOfTheLevel)
{
    ProgressTable progress{};
    for (uint64_t seed = 1; seed <= 50; ++seed) {
        ScriptedRandom random(seed);
        const TestKanji k = chooseChallengeKanji(progress, 12, StudyKind::Writing, random);
        const QSet<int> s = asSet(k);
        EXPECT_EQ(s.size(), 10);
        for (int v : s)
            EXPECT_TRUE(v >= 221 && v <= 240) << v;
    }
}

// Whatever the draws and the child's record: ten different kanji of the
// level, and none asked while a kanji with fewer right answers (of this
// kind) is left out.
TEST(TestChoice, ChallengeAsksTenDifferentKanjiOfTheLevelNoneBeforeAWeakerOne)
{
    std::mt19937 rng(5);
    for (uint64_t seed = 1; seed <= 60; ++seed) {
        ProgressTable progress{};
        for (int k = 1; k <= KanjiCount; ++k)
            for (int kind = 1; kind <= 2; ++kind)
                progress[k][kind].CorrectCount = int16_t(rng() % 4);
        const int level = 1 + int(seed % LevelCount);
        const StudyKind kind = seed % 2 ? StudyKind::Reading : StudyKind::Writing;
        ScriptedRandom random(seed);
        const TestKanji k = chooseChallengeKanji(progress, level, kind, random);
        const QSet<int> chosen = asSet(k);
        ASSERT_EQ(chosen.size(), QuestionsPerTest) << seed;
        int mostRightAsked = 0;
        for (int v : chosen) {
            ASSERT_TRUE(v >= firstKanjiOf(level) && v <= lastKanjiOf(level)) << seed << " " << v;
            mostRightAsked = std::max<int>(mostRightAsked, progress[v][fileValue(kind)].CorrectCount);
        }
        for (int v = firstKanjiOf(level); v <= lastKanjiOf(level); ++v) {
            if (!chosen.contains(v)) {
                EXPECT_GE(progress[v][fileValue(kind)].CorrectCount, mostRightAsked) << seed << " " << v;
            }
        }
    }
}

TEST(TestChoice, PracticeDrawsWithoutRepetitionKeepingTheRestInOrder)
{
    ScriptedRandom random;
    random.script = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    TestKanji k = choosePracticeKanji(4, random);
    for (int slot = 1; slot <= 10; ++slot)
        EXPECT_EQ(k[slot], 60 + slot);
    EXPECT_EQ(random.asked, (std::vector<int>{20, 19, 18, 17, 16, 15, 14, 13, 12, 11}));

    // Always the last remaining one; then position 2 of 1..20 minus the first pick.
    random.script = {19, 18, 17, 16, 15, 14, 13, 12, 11, 10};
    k = choosePracticeKanji(1, random);
    for (int slot = 1; slot <= 10; ++slot)
        EXPECT_EQ(k[slot], 21 - slot);
    random.script = {0, 1};
    k = choosePracticeKanji(1, random);
    EXPECT_EQ(k[1], 1);
    EXPECT_EQ(k[2], 3);

    for (uint64_t seed = 1; seed <= 50; ++seed) {
        ScriptedRandom r(seed);
        const QSet<int> s = asSet(choosePracticeKanji(6, r));
        EXPECT_EQ(s.size(), 10);
        for (int v : s)
            EXPECT_TRUE(v >= 101 && v <= 120) << v;
    }
}

TEST(TestChoice, PreparingDrawsOneSentencePerQuestionAndClearsTheSlots)
{
    AppState state;
    state.ChallengeMode = false;
    state.CurrentLevel = 1;
    for (int k = 1; k <= 20; ++k)
        state.Bank.QuestionIndex[k] = {0, int16_t(3 * k - 2), int16_t(k % 4)}; // counts 0..3
    for (int n = 1; n <= 10; ++n) {
        state.QuestionSlots[n].PlayerAnswer = "old";
        state.QuestionSlots[n].TargetSegment = 2;
    }
    ScriptedRandom random;
    random.script = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; // kanji 1..10
    random.script.insert(random.script.end(), {0, 1, 2, 0, 1, 2, 0, 1});
    prepareTestSlots(state, random);
    // Counts 1,2,3,0,1,2,3,0,1,2: a count of 0 or 1 draws nothing or 0.
    const int expected[] = {0, 1, 2, 3, 1, 1, 2, 3, 1, 1, 2};
    for (int n = 1; n <= 10; ++n) {
        const QuestionSlot &s = state.QuestionSlots[n];
        EXPECT_EQ(s.Kanji, n);
        EXPECT_EQ(s.QuestionChoice, expected[n]) << n;
        EXPECT_TRUE(s.PlayerAnswer.isEmpty());
        EXPECT_EQ(s.TargetSegment, 0);
    }
}

// Whatever the draws, in either mode and kind: ten different kanji of the
// level, each with a sentence it has (the first when it has none), and no
// answer yet.
TEST(TestChoice, EveryPreparedQuestionIsAKanjiOfTheLevelWithOneOfItsSentences)
{
    for (uint64_t seed = 1; seed <= 40; ++seed) {
        AppState state;
        state.ChallengeMode = seed % 2 == 0;
        state.CurrentKind = seed % 3 ? StudyKind::Reading : StudyKind::Writing;
        state.CurrentLevel = int16_t(1 + seed % LevelCount);
        for (int k = 1; k <= KanjiCount; ++k)
            state.Bank.QuestionIndex[k] = {0, int16_t(4 * k - 3), int16_t((k * seed) % 5)}; // 0..4 sentences
        for (int n = 1; n <= QuestionsPerTest; ++n)
            state.QuestionSlots[n].PlayerAnswer = "old";
        ScriptedRandom random(seed);
        prepareTestSlots(state, random);
        QSet<int> kanji;
        for (int n = 1; n <= QuestionsPerTest; ++n) {
            const QuestionSlot &q = state.QuestionSlots[n];
            kanji.insert(q.Kanji);
            EXPECT_TRUE(q.Kanji >= firstKanjiOf(state.CurrentLevel) &&
                        q.Kanji <= lastKanjiOf(state.CurrentLevel))
                << seed << " " << n;
            const int sentences = state.Bank.QuestionIndex[q.Kanji].RecordCount;
            EXPECT_GE(q.QuestionChoice, 1) << seed << " " << n;
            EXPECT_LE(q.QuestionChoice, std::max(1, sentences)) << seed << " " << n;
            EXPECT_TRUE(q.PlayerAnswer.isEmpty());
            EXPECT_EQ(q.Correct, 0);
        }
        EXPECT_EQ(kanji.size(), QuestionsPerTest) << seed;
    }
}

TEST(TestClock, LabelTextShowsWholeMinutesOnlyWhenThereAreAny)
{
    EXPECT_EQ(clockText(4 * 60 + 7), QStringLiteral("のこり4ふん7びょう"));
    EXPECT_EQ(clockText(42), QStringLiteral("のこり42びょう"));
    EXPECT_EQ(clockText(60), QStringLiteral("のこり1ふん0びょう"));
    EXPECT_EQ(clockText(59 * 60 + 59), QStringLiteral("のこり59ふん59びょう"));
    EXPECT_EQ(clockText(0), QStringLiteral("のこり0びょう"));
    EXPECT_EQ(clockText(-3), QStringLiteral("のこり0びょう"));
}

TEST(TestClock, CountsDownSecondBySecondOnTheDayNumberClock)
{
    FakeClock clock;
    const double end = clockEnd(clock.now(), 1);
    QStringList seen;
    for (int tick = 1; tick <= 60; ++tick) {
        clock.advanceSeconds(1);
        seen << clockText(remainingSeconds(end, clock.now()));
        EXPECT_EQ(remainingSeconds(end, clock.now()) > 0, tick < 60) << tick;
    }
    EXPECT_EQ(seen.first(), QStringLiteral("のこり59びょう"));
    EXPECT_EQ(seen.last(), QStringLiteral("のこり0びょう"));

    // A long test: every tick shows one second less, none is skipped.
    FakeClock c2;
    c2.days = 45123.987654321;
    const double end59 = clockEnd(c2.now(), 59);
    for (int tick = 1; tick <= 59 * 60; ++tick) {
        c2.advanceSeconds(1);
        const qint64 left = 59 * 60 - tick;
        ASSERT_EQ(remainingSeconds(end59, c2.now()), left) << tick;
    }
    // A tick a little late or early shows the same second.
    FakeClock c4;
    const double end10 = clockEnd(c4.now(), 10);
    c4.advanceSeconds(1.004);
    EXPECT_EQ(clockText(remainingSeconds(end10, c4.now())), QStringLiteral("のこり9ふん59びょう"));
    c4.advanceSeconds(0.990);
    EXPECT_EQ(clockText(remainingSeconds(end10, c4.now())), QStringLiteral("のこり9ふん58びょう"));
    FakeClock c3;
    const double end12 = clockEnd(c3.now(), 12);
    c3.advanceSeconds(1);
    EXPECT_EQ(clockText(remainingSeconds(end12, c3.now())), QStringLiteral("のこり11ふん59びょう"));
}

// Every limit a parent can set, from any start: the whole limit shows at the
// start, one second less each second, and the time is up exactly when the
// limit has passed, not a second before.
TEST(TestClock, EveryLimitIsGivenInFullAndEndsOnTime)
{
    for (double start : {45000.5, 45123.987654321, 46000.0 + 86399.0 / 86400.0})
        for (int limit = MinTimeLimit; limit <= MaxTimeLimit; ++limit) {
            const double end = clockEnd(start, limit);
            const auto after = [start](int seconds) { return start + seconds / 86400.0; };
            EXPECT_EQ(remainingSeconds(end, start), limit * 60) << limit;
            EXPECT_EQ(remainingSeconds(end, after(1)), limit * 60 - 1) << limit;
            EXPECT_EQ(remainingSeconds(end, after(limit * 60 - 1)), 1) << limit;
            EXPECT_EQ(remainingSeconds(end, after(limit * 60)), 0) << limit;
            EXPECT_LE(remainingSeconds(end, after(limit * 60 + 1)), 0) << limit;
            EXPECT_EQ(clockText(remainingSeconds(end, after(limit * 60 + 1))),
                      QStringLiteral("のこり0びょう"));
        }
}

TEST(TestAnswers, StoredWithoutBlanksAndCut)
{
    EXPECT_EQ(storedAnswer("  " + sj("やま") + " "), sj("やま"));
    EXPECT_EQ(storedAnswer(sj("あいうえおか")), sj("あいうえお")); // 10 bytes
}

TEST(TestAnswers, AnswerLineKeepsToItsLimitAndDeletesOneCharacterAtATime)
{
    AnswerLine line(ReadingAnswerLimit);
    for (const char *k : {"や", "ま", "か", "わ"})
        EXPECT_TRUE(line.append(sj(k)));
    EXPECT_FALSE(line.append(sj("き")));
    EXPECT_EQ(line.text(), sj("やまかわ"));
    EXPECT_TRUE(line.deleteLast());
    EXPECT_TRUE(line.append(sj("ぐ")));
    EXPECT_EQ(line.text(), sj("やまかぐ"));
    EXPECT_EQ(line.count(), 4);

    line.clear();
    EXPECT_FALSE(line.deleteLast());
    EXPECT_EQ(line.count(), 0);

    // A stored answer of three characters brought back.
    line.set(sj("やまか"));
    EXPECT_EQ(line.count(), 3);
    EXPECT_TRUE(line.append(sj("わ")));
    EXPECT_FALSE(line.append(sj("わ")));
    AnswerLine kanji(WritingAnswerLimit);
    kanji.set(sj("山川口"));
    EXPECT_FALSE(kanji.append(sj("木")));
    for (int i = 3; i >= 1; --i) {
        EXPECT_TRUE(kanji.deleteLast());
        EXPECT_EQ(kanji.count(), i - 1);
        EXPECT_EQ(cp932::charCount(kanji.text()), i - 1);
    }
}

TEST(TestReview, AdvancesOnlyToMissedQuestions)
{
    std::array<QuestionSlot, 11> qs{};
    for (int n = 1; n <= 10; ++n)
        qs[n].Correct = 1;
    qs[2].Correct = 0;
    qs[7].Correct = 0;
    EXPECT_EQ(reviewAdvance(qs, 0), 2);
    EXPECT_EQ(reviewAdvance(qs, 2), 7);
    EXPECT_EQ(reviewAdvance(qs, 7), 0);

    qs[2].Correct = qs[7].Correct = 1;
    qs[10].Correct = 0;
    EXPECT_EQ(reviewAdvance(qs, 0), 10);
    EXPECT_EQ(reviewAdvance(qs, 10), 0);

    qs[1].Correct = 0;
    qs[10].Correct = 1;
    EXPECT_EQ(reviewAdvance(qs, 0), 1);
    EXPECT_EQ(reviewAdvance(qs, 1), 0);

    for (int n = 1; n <= 10; ++n)
        qs[n].Correct = 0;
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(reviewAdvance(qs, n), n + 1);
    EXPECT_EQ(reviewAdvance(qs, 10), 0);
}

TEST(TestHints, SituationDependsOnThePartListOnlyInWriting)
{
    struct Case {
        StudyKind kind;
        KanjiListSource source;
        Panel panel;
        HintSituation expected;
    };
    constexpr StudyKind R = StudyKind::Reading, W = StudyKind::Writing;
    const Case cases[] = {
        {R, KanjiListSource::Part, Panel::KanjiList, HintSituation::Question},
        {W, KanjiListSource::None, Panel::Parts, HintSituation::Question},
        {W, KanjiListSource::Strokes, Panel::KanjiList, HintSituation::Question},
        {W, KanjiListSource::WholeRange, Panel::KanjiList, HintSituation::Question},
        {W, KanjiListSource::Part, Panel::Choice, HintSituation::WritingChoice},
        {W, KanjiListSource::Part, Panel::Parts, HintSituation::WritingParts},
        {W, KanjiListSource::Part, Panel::KanjiList, HintSituation::WritingPartList},
        // The square has its own page, whatever list was made before it.
        {W, KanjiListSource::Part, Panel::Writing, HintSituation::WritingSquare},
        {W, KanjiListSource::None, Panel::Writing, HintSituation::WritingSquare},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hintSituation(c.kind, c.source, c.panel), c.expected)
            << fileValue(c.kind) << ' ' << int(c.source) << ' ' << int(c.panel);
}

TEST(TestPanels, BackGoesByPanelStateAndThePreviousOne)
{
    PanelNav nav;
    EXPECT_EQ(nav.back(), PanelNav::Back::Nothing);

    nav.toParts(); // group chosen
    nav.toList();  // part chosen
    EXPECT_EQ(nav.PreviousPanelState, Panel::Parts);
    EXPECT_EQ(nav.back(), PanelNav::Back::ToParts);
    EXPECT_EQ(nav.PanelState, Panel::Parts);
    EXPECT_EQ(nav.PreviousPanelState, Panel::Choice);
    EXPECT_EQ(nav.back(), PanelNav::Back::ToFirstPanels);
    EXPECT_EQ(nav.PanelState, Panel::Choice);

    nav.toList(); // stroke count from the first panels
    EXPECT_EQ(nav.back(), PanelNav::Back::ToFirstPanels);
    EXPECT_EQ(nav.PanelState, Panel::Choice);

    // A list made from another list goes back to the first panels.
    nav.toParts();
    nav.toList();
    nav.toList();
    EXPECT_EQ(nav.back(), PanelNav::Back::ToFirstPanels);
    EXPECT_EQ(nav.PanelState, Panel::Choice);
    EXPECT_EQ(nav.PreviousPanelState, Panel::Choice);
}

// Where the answer panels have their buttons: each panel's first and last,
// the whole-range button, and some with large fonts.
TEST(TestPanels, ButtonsStandWhereTheAnswerPanelsHaveThem)
{
    using PB = PanelButton;
    EXPECT_EQ(panelButtonRect(PB::Kana, 1, 1), QRect(10, 25, 32, 32));
    EXPECT_EQ(panelButtonRect(PB::Kana, 80, 1), QRect(490, 153, 32, 32));
    EXPECT_EQ(panelButtonRect(PB::RadicalGroup, 1, 1), QRect(10, 25, 128, 48));
    EXPECT_EQ(panelButtonRect(PB::RadicalGroup, 4, 1), QRect(10, 169, 128, 48));
    EXPECT_EQ(panelButtonRect(PB::RadicalGroup, 5, 1), QRect(138, 25, 128, 48));
    EXPECT_EQ(panelButtonRect(PB::Strokes, 1, 1), QRect(10, 25, 38, 38));
    EXPECT_EQ(panelButtonRect(PB::Strokes, 20, 1), QRect(124, 177, 38, 38));
    EXPECT_EQ(panelButtonRect(PB::WholeRange, 1, 1), QRect(10, 215, 152, 38));
    EXPECT_EQ(panelButtonRect(PB::Part, 1, 1), QRect(10, 25, 60, 60));
    EXPECT_EQ(panelButtonRect(PB::Part, 20, 1), QRect(250, 205, 60, 60));
    EXPECT_EQ(panelButtonRect(PB::Candidate, 1, 1), QRect(10, 24, 30, 30));
    EXPECT_EQ(panelButtonRect(PB::Candidate, 80, 1), QRect(460, 144, 30, 30));
    // Large fonts: sizes and steps scaled and rounded, the offsets not.
    EXPECT_EQ(panelButtonRect(PB::Kana, 7, 1.25), QRect(50, 65, 40, 40));
    EXPECT_EQ(panelButtonRect(PB::Strokes, 7, 1.25), QRect(58, 73, 48, 48));
    EXPECT_EQ(panelButtonRect(PB::Candidate, 6, 1.25), QRect(48, 24, 38, 38));
    EXPECT_EQ(panelButtonRect(PB::WholeRange, 1, 1.25), QRect(10, 265, 190, 48));
}

namespace
{

struct PanelGrid {
    PanelButton kind;
    int count;
    int rows;  // buttons a column holds before the next column starts
    QSize box; // the group box the answer panels (study/panels.cpp) put them in
};

const PanelGrid panelGrids[] = {
    {PanelButton::Kana, KanaKeyCount, 5, QSize(620, 281)},
    {PanelButton::RadicalGroup, RadicalGroupCount, 4, QSize(401, 281)},
    {PanelButton::Strokes, StrokeButtonCount, 5, QSize(201, 281)},
    {PanelButton::Part, PartButtonCount, 4, QSize(401, 281)},
    {PanelButton::Candidate, CandidateCount, 5, QSize(620, 281)},
};

} // namespace

// Every panel, at either size: buttons of one size, never smaller than with
// normal fonts, numbered down a column and then on in the next column to
// the right, touching their neighbours and overlapping none, the first one
// where it is with normal fonts.
TEST(TestPanels, EachPanelIsAGridOfEqualButtonsInNumberOrderWithoutOverlap)
{
    for (double scale : {1.0, 1.25})
        for (const PanelGrid &g : panelGrids) {
            const QRect first = panelButtonRect(g.kind, 1, scale);
            const QRect normal = panelButtonRect(g.kind, 1, 1.0);
            const std::string what = std::to_string(int(g.kind)) + " at " + std::to_string(scale);
            EXPECT_EQ(first.topLeft(), normal.topLeft()) << what;
            EXPECT_GE(first.width(), normal.width()) << what;
            EXPECT_GE(first.height(), normal.height()) << what;
            for (int i = 2; i <= g.count; ++i) {
                const QRect r = panelButtonRect(g.kind, i, scale);
                const QRect before = panelButtonRect(g.kind, i - 1, scale);
                EXPECT_EQ(r.size(), first.size()) << what << " " << i;
                if ((i - 1) % g.rows != 0) { // under the one before it
                    EXPECT_EQ(r.left(), before.left()) << what << " " << i;
                    EXPECT_EQ(r.top(), before.bottom() + 1) << what << " " << i;
                } else { // at the top of the next column
                    EXPECT_EQ(r.top(), first.top()) << what << " " << i;
                    EXPECT_EQ(r.left(), before.right() + 1) << what << " " << i;
                }
                for (int k = 1; k < i; ++k)
                    EXPECT_FALSE(r.intersects(panelButtonRect(g.kind, k, scale)))
                        << what << " " << i << " " << k;
            }
        }
}

// With normal fonts every panel fits its group box with the margin the
// box keeps, and the whole-range button stands under the stroke counts, as
// wide as their first column and more, within the same box.
TEST(TestPanels, WithNormalFontsEveryPanelFitsItsBox)
{
    for (const PanelGrid &g : panelGrids) {
        const QRect inside(QPoint(0, 0), g.box - QSize(10, 10));
        for (int i = 1; i <= g.count; ++i)
            EXPECT_TRUE(inside.contains(panelButtonRect(g.kind, i, 1))) << int(g.kind) << " " << i;
    }
    for (double scale : {1.0, 1.25}) {
        const QRect whole = panelButtonRect(PanelButton::WholeRange, 1, scale);
        const QRect lastRow = panelButtonRect(PanelButton::Strokes, 5, scale);
        EXPECT_EQ(whole.left(), lastRow.left()) << scale;
        EXPECT_GT(whole.top(), lastRow.bottom()) << scale;
        EXPECT_GE(whole.width(), lastRow.width()) << scale;
        EXPECT_EQ(whole.height(), lastRow.height()) << scale;
        for (int s = 1; s <= StrokeButtonCount; ++s)
            EXPECT_FALSE(whole.intersects(panelButtonRect(PanelButton::Strokes, s, scale)))
                << scale << " " << s;
    }
    const QRect inside(QPoint(0, 0), panelGrids[2].box - QSize(10, 10));
    EXPECT_TRUE(inside.contains(panelButtonRect(PanelButton::WholeRange, 1, 1)));
}

TEST(TestPanels, KanaKeysReadRightToLeftWithFiveGaps)
{
    EXPECT_EQ(kanaKey(1), sj("ぱ"));
    EXPECT_EQ(kanaKey(26), sj("ん"));
    EXPECT_EQ(kanaKey(27), sj("ゃ"));
    EXPECT_EQ(kanaKey(31), sj("わ"));
    EXPECT_EQ(kanaKey(35), sj("を"));
    EXPECT_EQ(kanaKey(41), sj("や"));
    EXPECT_EQ(kanaKey(43), sj("ゆ"));
    EXPECT_EQ(kanaKey(45), sj("よ"));
    EXPECT_EQ(kanaKey(76), sj("あ"));
    EXPECT_EQ(kanaKey(80), sj("お"));
    QList<int> gaps;
    for (int i = 1; i <= 80; ++i) {
        EXPECT_EQ(kanaKey(i).size(), 2) << i;
        if (!kanaKeyShown(i))
            gaps << i;
    }
    EXPECT_EQ(gaps, (QList<int>{32, 33, 34, 42, 44}));
    // あ stands in the rightmost column, at the top.
    const QRect a = panelButtonRect(PanelButton::Kana, 76, 1);
    for (int i = 1; i <= KanaKeyCount; ++i) {
        EXPECT_LE(panelButtonRect(PanelButton::Kana, i, 1).left(), a.left()) << i;
        EXPECT_GE(panelButtonRect(PanelButton::Kana, i, 1).top(), a.top()) << i;
    }
}

TEST(TestPanels, ListsStopAtTheirZeroOrTheirLimit)
{
    auto cat = std::make_unique<Catalogue>();
    for (int j = 1; j <= 25; ++j)
        cat->RadicalTable[3][j] = int16_t(j + 100);
    EXPECT_EQ(partsOfGroup(*cat, 3).size(), 19);
    EXPECT_EQ(partsOfGroup(*cat, 3).first(), 101);
    EXPECT_TRUE(partsOfGroup(*cat, 4).isEmpty());
    cat->RadicalTable[5][1] = 0;
    cat->RadicalTable[5][2] = 7; // after the first 0: never shown
    EXPECT_TRUE(partsOfGroup(*cat, 5).isEmpty());
}

TEST(TestPanels, WholeRangeCoversTheLevelsNeighbourhoodInRandomOrder)
{
    struct Case {
        int level, first;
    } cases[] = {{1, 1}, {3, 1}, {4, 1}, {5, 81}, {6, 81}, {7, 121}, {8, 141}, {9, 161}, {12, 161}};
    for (const Case &c : cases) {
        ScriptedRandom random(uint64_t(c.level));
        QVector<int16_t> list = wholeRangeList(c.level, random);
        ASSERT_EQ(list.size(), 80);
        std::sort(list.begin(), list.end());
        for (int i = 0; i < 80; ++i)
            ASSERT_EQ(list[i], c.first + i) << c.level;
        // Kanji of the course, the level's own twenty always among them.
        EXPECT_GE(list.first(), 1);
        EXPECT_LE(list.last(), KanjiCount);
        EXPECT_LE(list.first(), firstKanjiOf(c.level));
        EXPECT_GE(list.last(), lastKanjiOf(c.level));
    }
    ScriptedRandom random;
    random.script.assign(80, 0);
    random.script[0] = 79;
    const QVector<int16_t> list = wholeRangeList(7, random);
    EXPECT_EQ(list[0], 200);
    EXPECT_EQ(list[1], 121);
    EXPECT_EQ(list[79], 199);
    EXPECT_EQ(random.asked.front(), 80);
    EXPECT_EQ(random.asked.back(), 1);
    EXPECT_EQ(wholeRangeCaption(4), QStringLiteral("ぜんぶのじ"));
    EXPECT_EQ(wholeRangeCaption(5), QStringLiteral("これかな？"));
}

TEST(TestQuestions, ReadingShowsTheKanjiAndExpectsTheKanaWritingTheReverse)
{
    auto cat = std::make_unique<Catalogue>();
    cat->KanjiTable[7].Glyph = sj("山");
    QuestionRecord r;
    r.TargetSegment = 2;
    r.Segments = {QByteArray(), sj("たかい") + QByteArray(4, ' '),
                  QByteArray(" ") + sj("やま") + QByteArray(3, '\0'), sj("にのぼる。")};
    ShownQuestion reading = showQuestion(r, *cat, 7, StudyKind::Reading);
    EXPECT_EQ(reading.target, 2);
    EXPECT_EQ(reading.segments[1], sj("たかい"));
    EXPECT_EQ(reading.segments[2], sj("山"));
    EXPECT_EQ(reading.correctAnswer, sj("やま"));
    ShownQuestion writing = showQuestion(r, *cat, 7, StudyKind::Writing);
    EXPECT_EQ(writing.segments[2], sj("やま"));
    EXPECT_EQ(writing.correctAnswer, sj("山"));

    // A target word longer than an answer can be is cut to 10 bytes.
    r.Segments[2] = sj("あいうえおか");
    EXPECT_EQ(showQuestion(r, *cat, 7, StudyKind::Reading).correctAnswer, sj("あいうえお"));

    QuestionSlot slot;
    slot.Kanji = 7;
    storeShown(slot, writing);
    EXPECT_EQ(slot.ShownSegments[3], sj("にのぼる。"));
    EXPECT_EQ(slot.TargetSegment, 2);
    markUnseen(slot, *cat);
    EXPECT_EQ(slot.TargetSegment, 0);
    EXPECT_TRUE(slot.ShownSegments[2].isEmpty());
    EXPECT_FALSE(answerIsRight(QByteArray(), slot.CorrectAnswer));
}

TEST(TestChoice, PreparingLeavesNothingOfTheLastTest)
{
    AppState state;
    state.CurrentLevel = 1;
    for (int n = 1; n <= 10; ++n) {
        state.QuestionSlots[n].CorrectAnswer = sj("まえ");
        state.QuestionSlots[n].ShownSegments[1] = sj("まえのぶん");
        state.QuestionSlots[n].Correct = 1;
    }
    ScriptedRandom random;
    prepareTestSlots(state, random);
    for (int n = 1; n <= 10; ++n) {
        EXPECT_TRUE(state.QuestionSlots[n].CorrectAnswer.isEmpty());
        EXPECT_TRUE(state.QuestionSlots[n].ShownSegments[1].isEmpty());
        EXPECT_EQ(state.QuestionSlots[n].Correct, 0);
    }
}

TEST(TestQuestions, AWordReadAsAWholeIsAskedInReadingTestsOnlyAndGradedByItsReading)
{
    // 日 (kanji 11) has two sentences of its own and the whole word 一日.
    AppState state;
    state.ChallengeMode = false;
    state.CurrentLevel = 1;
    for (int k = 1; k <= 20; ++k)
        state.Bank.QuestionIndex[k] = {0, int16_t(2 * k - 1), 2};
    QuestionRecord word;
    word.Unused = 11;
    word.TargetSegment = 1;
    word.Segments = {QByteArray(), sj("一日:ついたち"), sj("は　"), sj("おしょうがつ。")};
    loadWholeWordsFromBytes(state.Bank, encodeQuestionRecord(word));
    state.Cat.KanjiTable[11].Glyph = sj("日");

    const auto drawFor = [&](StudyKind kind, int last) {
        state.CurrentKind = kind;
        ScriptedRandom random;
        random.script = {10, 0, 0, 0, 0, 0, 0, 0, 0, 0}; // kanji 11 first
        random.script.push_back(last);                   // the last choice there is
        prepareTestSlots(state, random);
        EXPECT_EQ(state.QuestionSlots[1].Kanji, 11);
        return std::make_pair(state.QuestionSlots[1].QuestionChoice, random.asked[10]);
    };
    // Reading: three choices, the third is the word, shown in red, read whole.
    const auto [readingChoice, readingCount] = drawFor(StudyKind::Reading, 2);
    EXPECT_EQ(readingCount, 3);
    ASSERT_EQ(readingChoice, 3);
    const QuestionRecord drawn = readQuestionRecord(state.Bank, QString(), 11, readingChoice);
    const ShownQuestion q = showQuestion(drawn, state.Cat, 11, StudyKind::Reading);
    EXPECT_EQ(q.target, 1);
    EXPECT_EQ(q.segments[1], sj("一日"));
    EXPECT_EQ(q.segments[3], sj("おしょうがつ。"));
    EXPECT_TRUE(answerIsRight(sj("ついたち"), q.correctAnswer));
    EXPECT_FALSE(answerIsRight(sj("いちにち"), q.correctAnswer));
    // Writing: the word is never drawn, the kanji's own two sentences are.
    const auto [writingChoice, writingCount] = drawFor(StudyKind::Writing, 1);
    EXPECT_EQ(writingCount, 2);
    EXPECT_EQ(writingChoice, 2);

    // A damaged whole-word file names itself: no separator, or no kanji.
    QuestionRecord bad = word;
    bad.Segments[1] = sj("ついたち");
    EXPECT_THROW(loadWholeWordsFromBytes(state.Bank, encodeQuestionRecord(bad)), FileError);
    bad = word;
    bad.Unused = 0;
    EXPECT_THROW(loadWholeWordsFromBytes(state.Bank, encodeQuestionRecord(bad)), FileError);
    EXPECT_THROW(loadWholeWordsFromBytes(state.Bank, encodeQuestionRecord(word).left(10)), FileError);
}
