#include "study/hintrules.h"
#include "data/cp932.h"
#include "data/studylog.h"
#include "shell/catalogue.h"
#include "shell/random.h"
#include <algorithm>

namespace fm
{

namespace
{
bool matches(const HintIndexEntry &e, const HintCtx &c)
{
    return e.Screen == c.screen && e.Situation == fileValue(c.situation) && e.Kind == fileValue(c.kind);
}

int lastNumber(const HintIndex &index)
{
    return std::min<int>(index.HintLastNumber, MaxHintRecords);
}
} // namespace

int firstHintPage(const HintIndex &index, const HintCtx &context)
{
    for (int n = 1; n <= lastNumber(index); ++n)
        if (matches(index.Entries[n], context))
            return n;
    return 1;
}

int stepHintPage(const HintIndex &index, const HintCtx &context, int current, int step)
{
    const int a = current + step;
    if (a < 1 || a > lastNumber(index))
        return current;
    return matches(index.Entries[a], context) ? a : current;
}

bool answerHintOffered(const HintCtx &context, bool challengeMode)
{
    return context.screen == screenRow(ScreenId::Shutsudai).number &&
           context.situation != HintSituation::Screen && !challengeMode;
}

std::optional<AnswerHint> answerHint(const AppState &state, Random &random)
{
    const int n = state.HintQuestion;
    if (n < 1 || n > QuestionsPerTest)
        return std::nullopt;
    const QuestionSlot &slot = state.QuestionSlots[n];
    AnswerHint h;
    if (state.CurrentKind == StudyKind::Reading) {
        const QByteArray &answer = slot.CorrectAnswer;
        const int chars = cp932::charCount(answer);
        const QString howMany = QStringLiteral("こたえはなんもじかな？");
        if (chars == 0)
            return std::nullopt; // no sentence read for this question yet
        if (chars == 1)
            return AnswerHint{howMany, QStringLiteral("こたえは１もじです。")};
        switch (random.random(3)) {
        case 0:
            h = {howMany, QStringLiteral("こたえは") + QString::number(chars) + QStringLiteral("もじです。")};
            break;
        case 1:
            h = {QStringLiteral("こたえのさいしょのじはなにかな？"),
                 cp932::toUnicode(cp932::charAt(answer, 0)) + QStringLiteral("です？")};
            break;
        default:
            h = {QStringLiteral("こたえのさいごのじはなにかな？"),
                 cp932::toUnicode(cp932::charAt(answer, chars - 1)) + QStringLiteral("です？")};
            break;
        }
        return h;
    }
    const int k = slot.Kanji;
    const int strokes = (k >= 1 && k <= MaxKanjiNumber) ? state.Cat.KanjiTable[k].Strokes : 0;
    return AnswerHint{QStringLiteral("こたえはなんかくかな？"),
                      QStringLiteral("こたえは") + QString::number(strokes) + QStringLiteral("かくです。")};
}

} // namespace fm
