#pragma once
// Which hint page to show and the answer hint of practice mode: plain rules
// behind the hint window.
#include "data/hintfile.h"
#include "data/state.h"
#include <QString>
#include <optional>

namespace fm
{

class Random;

// The first page of the context: the lowest Number 1..HintLastNumber whose
// entry matches; page 1 when none does.
int firstHintPage(const HintIndex &index, const HintCtx &context);

// The page one step (+1 or -1) from current, or current itself when that
// page lies outside 1..HintLastNumber or belongs to another context: paging
// never leaves the context.
int stepHintPage(const HintIndex &index, const HintCtx &context, int current, int step);

// The answer hint is offered only on the test screen, once a question is on
// screen (situation other than 1), and only in practice mode.
bool answerHintOffered(const HintCtx &context, bool challengeMode);

struct AnswerHint {
    QString level1;
    QString level2;
};

// The answer hint for question HintQuestion of the current test. Reading:
// the number of characters for a one-character answer, otherwise one of
// three cases drawn with equal chance (number of characters, first, last
// character); writing: the kanji's stroke count. Nothing when HintQuestion
// is not a question of the test or its expected answer is not known yet.
std::optional<AnswerHint> answerHint(const AppState &state, Random &random);

} // namespace fm
