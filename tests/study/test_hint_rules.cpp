// Hint paging and the answer hint, without any widget.
#include "data/cp932.h"
#include "shell/random.h"
#include "study/hintrules.h"
#include "support/fakes.h"
#include <gtest/gtest.h>
#include <memory>

using namespace fm;

namespace
{

QByteArray sj(const char *utf8)
{
    return cp932::fromUnicode(QString::fromUtf8(utf8));
}

// Records 1..10: 1-6 one context, 7-9 the test screen reading with a question, 10 another.
HintIndex sampleIndex()
{
    HintIndex index;
    for (int n = 1; n <= 6; ++n)
        index.Entries[n] = {4, 1, 1};
    for (int n = 7; n <= 9; ++n)
        index.Entries[n] = {12, 2, 1};
    index.Entries[10] = {12, 2, 2};
    index.HintLastNumber = 10;
    index.HintLoaded = true;
    return index;
}

std::unique_ptr<AppState> readingQuestion(const char *answer)
{
    auto s = std::make_unique<AppState>();
    s->CurrentKind = fm::StudyKind::Reading;
    s->HintQuestion = 3;
    s->QuestionSlots[3].CorrectAnswer = sj(answer);
    return s;
}

} // namespace

TEST(HintPaging, OpensOnTheFirstPageOfTheContextOrPageOne)
{
    const HintIndex index = sampleIndex();
    EXPECT_EQ(firstHintPage(index, {12, HintSituation::Question, StudyKind::Reading}), 7);
    EXPECT_EQ(firstHintPage(index, {4, HintSituation::Screen, StudyKind::Reading}), 1);
    EXPECT_EQ(firstHintPage(index, {12, HintSituation::Question, StudyKind::Writing}), 10);
    EXPECT_EQ(firstHintPage(index, {9, HintSituation::Screen, StudyKind::Reading}), 1); // no record for it
    // Entries past the last record are never looked at.
    HintIndex shorter = index;
    shorter.HintLastNumber = 9;
    EXPECT_EQ(firstHintPage(shorter, {12, HintSituation::Question, StudyKind::Writing}), 1);
}

TEST(HintPaging, PagingNeverLeavesTheContext)
{
    const HintIndex index = sampleIndex();
    const HintCtx ctx{12, HintSituation::Question, StudyKind::Reading};
    EXPECT_EQ(stepHintPage(index, ctx, 7, -1), 7); // 6 belongs to another screen
    EXPECT_EQ(stepHintPage(index, ctx, 7, +1), 8);
    EXPECT_EQ(stepHintPage(index, ctx, 8, +1), 9);
    EXPECT_EQ(stepHintPage(index, ctx, 9, +1), 9); // 10 is writing
    EXPECT_EQ(stepHintPage(index, ctx, 9, -1), 8);

    const HintCtx first{4, HintSituation::Screen, StudyKind::Reading};
    EXPECT_EQ(stepHintPage(index, first, 1, -1), 1); // no page 0
    EXPECT_EQ(stepHintPage(index, {12, HintSituation::Question, StudyKind::Writing}, 10, +1),
              10); // past the last record
    // A context without pages stays on page 1 whatever is pressed.
    EXPECT_EQ(stepHintPage(index, {9, HintSituation::Screen, StudyKind::Reading}, 1, +1), 1);
}

TEST(HintPaging, AnswerHintOnlyOnTheTestScreenWithAQuestionInPractice)
{
    EXPECT_TRUE(answerHintOffered({12, HintSituation::Question, StudyKind::Reading}, false));
    EXPECT_TRUE(answerHintOffered({12, HintSituation::WritingPartList, StudyKind::Writing}, false));
    EXPECT_FALSE(answerHintOffered({12, HintSituation::Question, StudyKind::Reading}, true)); // challenge
    EXPECT_FALSE(answerHintOffered({12, HintSituation::Screen, StudyKind::Reading},
                                   false)); // before the first question
    EXPECT_FALSE(
        answerHintOffered({8, HintSituation::Question, StudyKind::Reading}, false)); // another screen
}

TEST(AnswerHint, ReadingOfOneCharacterAlwaysTellsItsLength)
{
    auto s = readingQuestion("め");
    test::ScriptedRandom random;
    for (int i = 0; i < 5; ++i) {
        const auto h = answerHint(*s, random);
        ASSERT_TRUE(h);
        EXPECT_EQ(h->level1, QStringLiteral("こたえはなんもじかな？"));
        EXPECT_EQ(h->level2, QStringLiteral("こたえは１もじです。"));
    }
    EXPECT_TRUE(random.asked.empty()); // no draw needed
}

TEST(AnswerHint, ReadingOfSeveralCharactersDrawsOneOfThreeCases)
{
    auto s = readingQuestion("やま");
    test::ScriptedRandom random;
    random.script = {0, 1, 2};
    auto h = answerHint(*s, random);
    EXPECT_EQ(h->level1, QStringLiteral("こたえはなんもじかな？"));
    EXPECT_EQ(h->level2, QStringLiteral("こたえは2もじです。"));
    h = answerHint(*s, random);
    EXPECT_EQ(h->level1, QStringLiteral("こたえのさいしょのじはなにかな？"));
    EXPECT_EQ(h->level2, QStringLiteral("やです？"));
    h = answerHint(*s, random);
    EXPECT_EQ(h->level1, QStringLiteral("こたえのさいごのじはなにかな？"));
    EXPECT_EQ(h->level2, QStringLiteral("まです？"));
    EXPECT_EQ(random.asked, (std::vector<int>{3, 3, 3}));
}

TEST(AnswerHint, SeededDrawsCoverTheThreeCasesEvenly)
{
    auto s = readingQuestion("がっこう");
    StdRandom random(20240601);
    std::map<QString, int> seen;
    const int draws = 3000;
    for (int i = 0; i < draws; ++i)
        ++seen[answerHint(*s, random)->level2];
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen.count(QStringLiteral("こたえは4もじです。")));
    EXPECT_TRUE(seen.count(QStringLiteral("がです？")));
    EXPECT_TRUE(seen.count(QStringLiteral("うです？")));
    for (const auto &[text, n] : seen)
        EXPECT_NEAR(n, draws / 3, draws / 15) << text.toStdString();
}

TEST(AnswerHint, WritingTellsTheStrokeCountOfTheQuestionsKanji)
{
    AppState s;
    s.CurrentKind = fm::StudyKind::Writing;
    s.HintQuestion = 10;
    s.QuestionSlots[10].Kanji = 37;
    s.QuestionSlots[10].CorrectAnswer = sj("森");
    s.Cat.KanjiTable[37].Strokes = 12;
    test::ScriptedRandom random;
    const auto h = answerHint(s, random);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->level1, QStringLiteral("こたえはなんかくかな？"));
    EXPECT_EQ(h->level2, QStringLiteral("こたえは12かくです。"));
}

TEST(AnswerHint, NothingWithoutAQuestion)
{
    auto s = readingQuestion("やま");
    test::ScriptedRandom random;
    s->HintQuestion = 0;
    EXPECT_FALSE(answerHint(*s, random));
    s->HintQuestion = 11;
    EXPECT_FALSE(answerHint(*s, random));
    s->HintQuestion = 3;
    s->QuestionSlots[3].CorrectAnswer.clear();
    EXPECT_FALSE(answerHint(*s, random));
}
