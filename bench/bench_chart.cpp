// The progress chart of a child of years: 10,000 tests over three years
// through all twelve levels. Working out what it shows (level walk, progress
// table, weak kanji) and drawing it, on screen and into the file's picture.
#include "data/studylog.h"
#include "records/chart/chartpicture.h"
#include "records/chart/progresschart.h"
#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace
{

QGuiApplication &app()
{
    static int argc = 1;
    static char name[] = "bench_chart";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication a(argc, argv);
    return a;
}

QVector<fm::StudyRecord> longLog()
{
    QVector<fm::StudyRecord> log;
    uint32_t seed = 3;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % uint32_t(n));
    };
    for (int n = 0; n < 10000; ++n) {
        fm::StudyRecord r;
        r.Mode = next(4) == 0 ? fm::StudyMode::Practice : fm::StudyMode::Challenge;
        r.Level = int16_t(1 + n * 12 / 10000);
        r.Kind = (n / 200) % 2 ? fm::StudyKind::Writing : fm::StudyKind::Reading;
        r.Time = 46000.3 + n * 0.11;
        for (int i = 1; i <= 10; ++i) {
            r.Kanji[i] = int16_t(20 * (r.Level - 1) + next(20) + 1);
            r.Correct[i] = next(10) < 7;
        }
        r.Counted = r.rightCount() >= 7;
        log << r;
    }
    return log;
}

const QVector<fm::StudyRecord> &theLog()
{
    static const QVector<fm::StudyRecord> log = longLog();
    return log;
}

void BM_ChartRules(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(fm::chart::buildProgressChart(theLog()));
}
BENCHMARK(BM_ChartRules)->Unit(benchmark::kMillisecond);

// Arg: pixel ratio x 100 (100 plain, 225 on a 1920 x 1080 display): what
// the screen paints.
void BM_ChartDraw(benchmark::State &state)
{
    app();
    const qreal ratio = state.range(0) / 100.0;
    const fm::chart::ProgressChart chart = fm::chart::buildProgressChart(theLog());
    QImage surface(fm::chart::PictureSize * ratio, QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        QPainter p(&surface);
        fm::chart::drawProgressChart(p, chart);
        p.end();
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_ChartDraw)->Arg(100)->Arg(225)->Unit(benchmark::kMillisecond);

// Reading nothing but the records already in memory: rules and drawing
// together, as opening the screen costs after the log is read.
void BM_ChartOpen(benchmark::State &state)
{
    app();
    QImage surface(fm::chart::PictureSize * 2.25, QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(2.25);
    for (auto _ : state) {
        const fm::chart::ProgressChart chart = fm::chart::buildProgressChart(theLog());
        QPainter p(&surface);
        fm::chart::drawProgressChart(p, chart);
        p.end();
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_ChartOpen)->Unit(benchmark::kMillisecond);

// The file's picture: the PNG of fudemaru-data (2.5 times the design size).
void BM_ChartFileImage(benchmark::State &state)
{
    app();
    const fm::chart::ProgressChart chart = fm::chart::buildProgressChart(theLog());
    for (auto _ : state)
        benchmark::DoNotOptimize(
            fm::chart::renderProgressChart(chart, QStringLiteral("はるとのグラフ"), 2.5));
}
BENCHMARK(BM_ChartFileImage)->Unit(benchmark::kMillisecond);

} // namespace
