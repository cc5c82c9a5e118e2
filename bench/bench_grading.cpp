// Marking a finished test: the ten answers compared and scored, and the
// result window's texts decided from the state afterwards.
#include "data/cp932.h"
#include "study/grading.h"
#include <benchmark/benchmark.h>
#include <memory>

using namespace fm;

namespace
{

std::unique_ptr<AppState> finishedTest()
{
    auto s = std::make_unique<AppState>();
    const QByteArray segments[3] = {cp932::fromUnicode(QStringLiteral("きょうは")),
                                    cp932::fromUnicode(QStringLiteral("雨")),
                                    cp932::fromUnicode(QStringLiteral("がふるでしょう。"))};
    for (int n = 1; n <= 10; ++n) {
        QuestionSlot &q = s->QuestionSlots[n];
        q.Kanji = int16_t(n);
        q.ShownSegments = {QByteArray(), segments[0], segments[1], segments[2]};
        q.CorrectAnswer = cp932::fromUnicode(QStringLiteral("あめ"));
        // Seven right, three wrong: the comparison runs to the last byte either way.
        q.PlayerAnswer = cp932::fromUnicode(n % 3 == 0 ? QStringLiteral("あま") : QStringLiteral("あめ"));
    }
    s->CurrentPlayer = 1;
    s->Players.PlayerCount = 1;
    s->Players.PlayerTable[1].Name = cp932::fromUnicode(QStringLiteral("はなこ"));
    return s;
}

void BM_GradeTenAnswers(benchmark::State &st)
{
    auto s = finishedTest();
    for (auto _ : st) {
        s->TestScore = 0;
        for (int n = 1; n <= 10; ++n)
            benchmark::DoNotOptimize(gradeQuestion(*s, n));
        benchmark::DoNotOptimize(gradingFinish(s->TestScore));
    }
    if (s->TestScore != 7)
        st.SkipWithError("wrong score");
}
BENCHMARK(BM_GradeTenAnswers)->Unit(benchmark::kMicrosecond);

void BM_ResultContent(benchmark::State &st)
{
    auto s = finishedTest();
    s->TestScore = 10;
    s->LevelUpFlag = true;
    for (auto _ : st)
        benchmark::DoNotOptimize(resultContent(*s));
}
BENCHMARK(BM_ResultContent)->Unit(benchmark::kMicrosecond);

} // namespace
