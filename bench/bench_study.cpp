// Preparing a test: the choice of ten kanji and their sentences, as the test
// screen does it each time it is shown; and the pieces a question needs.
#include "data/cp932.h"
#include "data/questionbank.h"
#include "data/state.h"
#include "shell/random.h"
#include "study/testrules.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace fm;

namespace
{

std::unique_ptr<AppState> stateWithBank()
{
    auto state = std::make_unique<AppState>();
    for (int k = 1; k <= 240; ++k)
        state->Bank.QuestionIndex[k] = {0, int16_t(3 * k - 2), 3};
    state->Bank.QuestionIndexCount = 240;
    for (int k = 1; k <= 240; ++k)
        for (int kind = 1; kind <= 2; ++kind)
            state->Progress[k][kind].CorrectCount = int16_t((k * 7 + kind) % 4);
    state->CurrentLevel = 7;
    state->CurrentKind = fm::StudyKind::Reading;
    return state;
}

void BM_PrepareChallengeTest(benchmark::State &bs)
{
    auto state = stateWithBank();
    state->ChallengeMode = true;
    StdRandom random;
    for (auto _ : bs) {
        random.seed(uint64_t(bs.iterations()));
        prepareTestSlots(*state, random);
        benchmark::DoNotOptimize(state->QuestionSlots[10].Kanji);
    }
}
BENCHMARK(BM_PrepareChallengeTest);

void BM_PrepareChallengeTestAllEqual(benchmark::State &bs)
{
    auto state = stateWithBank();
    state->Progress = {};
    state->ChallengeMode = true;
    StdRandom random;
    for (auto _ : bs) {
        prepareTestSlots(*state, random);
        benchmark::DoNotOptimize(state->QuestionSlots[10].Kanji);
    }
}
BENCHMARK(BM_PrepareChallengeTestAllEqual);

void BM_PreparePracticeTest(benchmark::State &bs)
{
    auto state = stateWithBank();
    state->ChallengeMode = false;
    StdRandom random;
    for (auto _ : bs) {
        prepareTestSlots(*state, random);
        benchmark::DoNotOptimize(state->QuestionSlots[10].Kanji);
    }
}
BENCHMARK(BM_PreparePracticeTest);

// One question shown: the record read from Mondai1.dat and its display.
void BM_ShowQuestion(benchmark::State &bs)
{
    auto state = stateWithBank();
    QTemporaryDir tmp;
    QByteArray sentences;
    QuestionRecord r;
    r.TargetSegment = 2;
    r.Segments = {QByteArray(), cp932::fromUnicode(QStringLiteral("きょうは")),
                  cp932::fromUnicode(QStringLiteral("やま")),
                  cp932::fromUnicode(QStringLiteral("にのぼる。"))};
    for (int i = 0; i < 720; ++i)
        sentences += encodeQuestionRecord(r);
    QFile f(QDir(tmp.path()).filePath(QStringLiteral("Mondai1.dat")));
    if (!f.open(QIODevice::WriteOnly) || f.write(sentences) != sentences.size())
        std::abort();
    f.close();
    for (int k = 1; k <= 240; ++k)
        state->Cat.KanjiTable[k].Glyph = cp932::fromUnicode(QStringLiteral("山"));
    const QString dir = tmp.path() + QLatin1Char('/');
    int k = 0;
    for (auto _ : bs) {
        k = k % 240 + 1;
        const ShownQuestion q =
            showQuestion(readQuestionRecord(state->Bank, dir, k, 2), state->Cat, k, StudyKind::Reading);
        benchmark::DoNotOptimize(q.correctAnswer.size());
    }
}
BENCHMARK(BM_ShowQuestion);

void BM_WholeRangeList(benchmark::State &bs)
{
    StdRandom random;
    for (auto _ : bs) {
        const QVector<int16_t> list = wholeRangeList(9, random);
        benchmark::DoNotOptimize(list.constData());
    }
}
BENCHMARK(BM_WholeRangeList);

} // namespace
