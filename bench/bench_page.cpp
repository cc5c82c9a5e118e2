// A kanji's page: judging one stroke as the pen lifts, and opening the page.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "handwriting/centrelines.h"
#include "handwriting/kanjipage.h"
#include "handwriting/strokejudge.h"
#include "records/register.h"
#include "support/testshell.h"
#include <QFile>
#include <benchmark/benchmark.h>

namespace
{

const fm::CentreLines &shipped()
{
    static const fm::CentreLines lines = fm::CentreLines::load(QStringLiteral(FUDEMARU_BIN_DIR "/"));
    return lines;
}

// The last stroke of the kanji with the most strokes, after all the others:
// the most the judge ever compares (every stroke still to come, the frame
// fitted over every accepted stroke).
void BM_JudgeStroke(benchmark::State &state)
{
    int most = 1;
    for (int k = 1; k <= 240; ++k)
        if (shipped().of(k).size() > shipped().of(most).size())
            most = k;
    const fm::StrokePaths lines = shipped().of(most);
    const fm::Ink ink = fm::inkFromCentreLines(lines);
    const int at = int(state.range(0) ? lines.size() / 2 : lines.size() - 1);
    fm::StrokeJudge judge(lines);
    for (int i = 0; i < at; ++i)
        judge.write(ink[i]);
    for (auto _ : state) {
        fm::StrokeJudge copy = judge;
        benchmark::DoNotOptimize(copy.write(ink[at]));
    }
    state.SetLabel(std::to_string(lines.size()) + " strokes");
}
BENCHMARK(BM_JudgeStroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// From a press on the kanji list to the page shown and painted once.
void BM_OpenKanjiPage(benchmark::State &state)
{
    fm::test::TestShell t;
    fm::registerRecordScreens(t.screens);
    fm::loadCatalogue(t.state.Cat, QStringLiteral(FUDEMARU_BIN_DIR "/"));
    for (const char *name : {"Hitsujun1.dat", "Yomikata1.dat", "BuhinX.bmp"})
        QFile::copy(QStringLiteral(FUDEMARU_BIN_DIR "/") + QLatin1String(name), t.file(QLatin1String(name)));
    auto *list = new fm::test::PlaceholderScreen(t.services, fm::ScreenId::KIchiran);
    t.nav.forward(list, false);
    int k = 1;
    for (auto _ : state) {
        fm::openKanjiPage(t.services, k);
        if (t.nav.current() == list) {
            state.SkipWithError("the page did not open");
            break;
        }
        t.nav.current()->repaint();
        state.PauseTiming();
        k = k % 240 + 1;
        t.nav.back();
        t.processDeletes();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenKanjiPage)->Unit(benchmark::kMillisecond);

} // namespace
