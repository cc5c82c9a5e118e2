#include "study/grading.h"
#include "data/cp932.h"
#include "data/roster.h"
#include "data/studylog.h"
#include "media/mediafiles.h"
#include <algorithm>

namespace fm
{

GradingFinish gradingFinish(int score)
{
    if (score >= QuestionsPerTest)
        return GradingFinish::RecordAndResult;
    if (score < AppState::PassMark)
        return GradingFinish::RecordResultThenReview;
    return GradingFinish::ReviewFirst;
}

bool answerIsRight(const QByteArray &answer, const QByteArray &expected)
{
    return answer.size() == expected.size() && answer == expected;
}

GradedRow gradeQuestion(AppState &state, int n)
{
    QuestionSlot &slot = state.QuestionSlots.at(n);
    GradedRow row;
    row.number = n;
    row.sentence =
        cp932::cut(slot.ShownSegments[1] + slot.ShownSegments[2] + slot.ShownSegments[3], SentenceBytes);
    row.answer = slot.PlayerAnswer;
    row.drawingUnchosen = slot.PlayerAnswer.isEmpty() && slot.DrawingUnchosen;
    row.expected = slot.CorrectAnswer;
    row.right = answerIsRight(slot.PlayerAnswer, slot.CorrectAnswer);
    slot.Correct = row.right ? 1 : 0;
    if (row.right)
        ++state.TestScore;
    return row;
}

bool strokeOrderAdvised(const QuestionSlot &slot)
{
    return slot.Correct == 1 && slot.StrokeOrderDiffers && !slot.WrittenGlyph.isEmpty() &&
           slot.PlayerAnswer.contains(slot.WrittenGlyph);
}

QString pointsText(int score)
{
    if (score <= 0)
        return {};
    return QString::number(score * 10) + QStringLiteral("てん");
}

bool pointsInRed(int score)
{
    return score >= AppState::PassMark;
}

ResultContent resultContent(const AppState &state)
{
    ResultContent r;
    const PlayerEntry &player =
        state.Players.PlayerTable.at(std::clamp<int>(state.CurrentPlayer, 0, MaxPlayers));
    const QByteArray name = player.Name;
    r.title = cp932::toUnicode(cp932::cut(cp932::fromUnicode(QStringLiteral("がんばれ！  ")) + name, 22));

    if (state.TestScore < AppState::PassMark) {
        r.message = QStringLiteral("ざんねんだったね。またがんばろうね。ふくしゅうもちゃんとやろうね。");
    } else if (state.TestScore >= QuestionsPerTest) {
        r.message = QStringLiteral("やったね！ １００てん、おめでとう！");
        r.picture = media::presentFile(media::kPresentFullMarks);
    } else {
        r.message = QStringLiteral("ごうかくおめでとう！ふくしゅうもがんばったね。");
        r.picture = media::presentFile(media::kPresentPass);
    }

    if (!state.ChallengeMode) {
        r.levelMessage = QStringLiteral("こんどは、チャレンジモードでがんばろうね。");
    } else if (state.LevelUpFlag) {
        r.levelMessage = player.Level >= TopLevel
                             ? QStringLiteral("おめでとう。これであなたは、かんじはかせです。")
                             : QStringLiteral("やったね。これでレベルがあがったよ。");
        r.picture = media::presentFile(media::kPresentLevelUp);
    }

    r.showProgress = player.Level < TopLevel;
    if (r.showProgress) {
        r.progressCaption = cp932::toUnicode(
            cp932::cut(name + cp932::fromUnicode(QStringLiteral("の、チャレンジきろく")), 30));
        r.levelLine = QStringLiteral("べんきょうちゅうのレベル: ") + QString::number(player.Level);
        r.kindLine = kindFromFile(player.Kind) == StudyKind::Reading
                         ? QStringLiteral("べんきょうちゅうのしゅるい: よむれんしゅう")
                         : QStringLiteral("べんきょうちゅうのしゅるい: かくれんしゅう");
        r.progress = std::clamp<int>(state.LevelCorrectCount, 0, PassCount);
    }
    return r;
}

} // namespace fm
