// The marking rules and the result window's texts, without any widget.
#include "data/cp932.h"
#include "study/grading.h"
#include <gtest/gtest.h>
#include <memory>

using namespace fm;

namespace
{

QByteArray sj(const char *utf8)
{
    return cp932::fromUnicode(QString::fromUtf8(utf8));
}

std::unique_ptr<AppState> stateWithPlayer(int level, int kind)
{
    auto s = std::make_unique<AppState>();
    s->CurrentPlayer = 1;
    s->Players.PlayerCount = 1;
    s->Players.PlayerTable[1].Name = sj("はなこ");
    s->Players.PlayerTable[1].Level = int16_t(level);
    s->Players.PlayerTable[1].Kind = fm::StudyKind(kind);
    return s;
}

} // namespace

TEST(GradingRules, FinishDependsOnTheScore)
{
    EXPECT_EQ(gradingFinish(10), GradingFinish::RecordAndResult);
    for (int score : {7, 8, 9})
        EXPECT_EQ(gradingFinish(score), GradingFinish::ReviewFirst) << score;
    for (int score : {0, 1, 4, 6})
        EXPECT_EQ(gradingFinish(score), GradingFinish::RecordResultThenReview) << score;
}

TEST(GradingRules, AnswersMatchOnlyByteForByte)
{
    EXPECT_TRUE(answerIsRight(sj("やま"), sj("やま")));
    EXPECT_FALSE(answerIsRight(QByteArray(), sj("やま")));
    EXPECT_FALSE(answerIsRight(sj("ヤマ"), sj("やま"))); // katakana for hiragana
    EXPECT_FALSE(answerIsRight(sj("やまや"), sj("やま")));
    EXPECT_FALSE(answerIsRight(sj("や"), sj("やま")));
    EXPECT_FALSE(answerIsRight(sj("山山"), sj("山")));
    EXPECT_TRUE(answerIsRight(QByteArray(), QByteArray()));
}

TEST(GradingRules, GradingAQuestionMarksTheSlotAndCountsTheScore)
{
    AppState s;
    s.TestScore = 0;
    QuestionSlot &right = s.QuestionSlots[1];
    right.ShownSegments = {QByteArray(), sj("あかい"), sj("花"), sj("がさいた。")};
    right.PlayerAnswer = sj("はな");
    right.CorrectAnswer = sj("はな");
    right.Correct = 0;
    QuestionSlot &wrong = s.QuestionSlots[2];
    wrong.PlayerAnswer = sj("はし");
    wrong.CorrectAnswer = sj("はな");
    wrong.Correct = 1; // left over from an earlier test

    GradedRow r1 = gradeQuestion(s, 1);
    EXPECT_TRUE(r1.right);
    EXPECT_EQ(r1.number, 1);
    EXPECT_EQ(r1.sentence, sj("あかい花がさいた。"));
    EXPECT_EQ(s.QuestionSlots[1].Correct, 1);
    EXPECT_EQ(s.TestScore, 1);

    GradedRow r2 = gradeQuestion(s, 2);
    EXPECT_FALSE(r2.right);
    EXPECT_EQ(r2.answer, sj("はし"));
    EXPECT_EQ(r2.expected, sj("はな"));
    EXPECT_EQ(s.QuestionSlots[2].Correct, 0);
    EXPECT_EQ(s.TestScore, 1);
}

TEST(GradingRules, SentenceIsCutTo60BytesWithoutSplittingACharacter)
{
    AppState s;
    QuestionSlot &q = s.QuestionSlots[3];
    // 20 + 20 + 21 bytes: a single-byte character shifts the last kana across the bound.
    q.ShownSegments = {QByteArray(), sj("ああああああああああ"), sj("いいいいいいいいいい"),
                       "x" + sj("うううううううううう")};
    const GradedRow r = gradeQuestion(s, 3);
    EXPECT_EQ(r.sentence.size(), 59);
    EXPECT_TRUE(r.sentence.endsWith(sj("う")));
}

TEST(GradingRules, PointsAreEmptyAtZeroAndRedFromThePassMark)
{
    EXPECT_EQ(pointsText(0), QString());
    EXPECT_EQ(pointsText(1), QStringLiteral("10てん"));
    EXPECT_EQ(pointsText(10), QStringLiteral("100てん"));
    EXPECT_FALSE(pointsInRed(6));
    EXPECT_TRUE(pointsInRed(7));
    EXPECT_TRUE(pointsInRed(10));
}

TEST(ResultRules, PracticeHundredPointsShowsTheChallengeProgress)
{
    auto s = stateWithPlayer(4, 2);
    s->ChallengeMode = false;
    s->TestScore = 10;
    s->LevelCorrectCount = 25;
    const ResultContent r = resultContent(*s);
    EXPECT_EQ(r.title, QStringLiteral("がんばれ！  はなこ"));
    EXPECT_EQ(r.message, QStringLiteral("やったね！ １００てん、おめでとう！"));
    EXPECT_EQ(r.picture, QStringLiteral("Present1.wmf"));
    EXPECT_EQ(r.levelMessage, QStringLiteral("こんどは、チャレンジモードでがんばろうね。"));
    ASSERT_TRUE(r.showProgress);
    EXPECT_EQ(r.progressCaption, QStringLiteral("はなこの、チャレンジきろく"));
    EXPECT_EQ(r.levelLine, QStringLiteral("べんきょうちゅうのレベル: 4"));
    EXPECT_EQ(r.kindLine, QStringLiteral("べんきょうちゅうのしゅるい: かくれんしゅう"));
    EXPECT_EQ(r.progress, 25);
}

TEST(ResultRules, LevelUpReplacesThePictureAndShowsTheNextKind)
{
    // Reading at level 3 just passed: the record routine left level 3, writing, count 0.
    auto s = stateWithPlayer(3, 2);
    s->ChallengeMode = true;
    s->TestScore = 8;
    s->LevelUpFlag = true;
    s->LevelCorrectCount = 0;
    const ResultContent r = resultContent(*s);
    EXPECT_EQ(r.message, QStringLiteral("ごうかくおめでとう！ふくしゅうもがんばったね。"));
    EXPECT_EQ(r.picture, QStringLiteral("Present2.wmf"));
    EXPECT_EQ(r.levelMessage, QStringLiteral("やったね。これでレベルがあがったよ。"));
    EXPECT_EQ(r.levelLine, QStringLiteral("べんきょうちゅうのレベル: 3"));
    EXPECT_EQ(r.kindLine, QStringLiteral("べんきょうちゅうのしゅるい: かくれんしゅう"));
    EXPECT_EQ(r.progress, 0);
}

TEST(ResultRules, EveryLevelPassedHidesTheProgress)
{
    auto s = stateWithPlayer(13, 1);
    s->TestScore = 10;
    s->LevelUpFlag = true;
    const ResultContent r = resultContent(*s);
    EXPECT_EQ(r.levelMessage, QStringLiteral("おめでとう。これであなたは、かんじはかせです。"));
    EXPECT_EQ(r.picture, QStringLiteral("Present2.wmf"));
    EXPECT_FALSE(r.showProgress);
}

TEST(ResultRules, FailedChallengeKeepsTheBuiltInPictureAndNoLevelNews)
{
    auto s = stateWithPlayer(2, 1);
    s->TestScore = 6;
    s->LevelCorrectCount = 55; // never beyond the bar's end
    const ResultContent r = resultContent(*s);
    EXPECT_EQ(r.message,
              QStringLiteral("ざんねんだったね。またがんばろうね。ふくしゅうもちゃんとやろうね。"));
    EXPECT_TRUE(r.picture.isEmpty());
    EXPECT_TRUE(r.levelMessage.isEmpty());
    EXPECT_EQ(r.kindLine, QStringLiteral("べんきょうちゅうのしゅるい: よむれんしゅう"));
    EXPECT_EQ(r.progress, 40);
}

TEST(ResultRules, LongNamesAreCutInBytes)
{
    auto s = stateWithPlayer(1, 1);
    // A name over its 10-byte bound (a damaged roster) still fits the title and caption.
    s->Players.PlayerTable[1].Name = sj("あいうえおかきく");
    const ResultContent r = resultContent(*s);
    EXPECT_EQ(cp932::fromUnicode(r.title).size(), 22);
    EXPECT_EQ(r.title, QStringLiteral("がんばれ！  あいうえお"));
    EXPECT_EQ(r.progressCaption, QStringLiteral("あいうえおかきくの、チャレンジ"));
}
