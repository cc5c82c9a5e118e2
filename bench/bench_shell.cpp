// The shell's figures: one title-animation tick (24 sprites composed and
// copied) and the start-up sequence with the shipped files up to the menu.
#include "data/cp932.h"
#include "shell/look.h"
#include "shell/mainform.h"
#include "shell/program.h"
#include "shell/random.h"
#include "shell/titleanim.h"
#include "support/testshell.h"
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

using fm::test::app; // the offscreen application with the program's faces

// A tick with every slot in use: compose the frame, then copy it once to the
// view's surface. Arg: pixel ratio x 100 (100 plain, 225 on a 1920 x 1080 display).
void BM_TitleTick(benchmark::State &state)
{
    app();
    static fm::Catalogue cat; // large: keep it off the stack
    const QString glyphs =
        QStringLiteral("一右雨円王音下火花貝学気九休玉金空月犬見五口校左三山子四糸字耳七車手十出女小上森人水"
                       "正生青夕石赤千川先早草足村大男竹中虫町天田土二日入年白八百文木本名目立力林六");
    for (int n = 1; n <= 240; ++n)
        cat.KanjiTable[size_t(n)].Glyph = fm::cp932::fromUnicode(glyphs.mid((n - 1) % glyphs.size(), 1));
    const qreal ratio = state.range(0) / 100.0;
    fm::TitleAnimation anim(cat, 1.0, ratio);
    fm::StdRandom random(42);
    // Every slot moving, as after the first seconds.
    for (int i = 1; i <= fm::SpriteSlotCount; ++i) {
        fm::SpriteSlot &s = anim.motion.Slots[size_t(i)];
        s = fm::SpriteSlot{
            1, int16_t(20 * i), int16_t(10 + 13 * i), int16_t(1 + i % 8), 2, int16_t(i % 8), int16_t(i)};
    }
    anim.setPixelRatio(ratio + 0.001); // builds the pictures of the moving slots
    anim.setPixelRatio(ratio);
    QImage surface(anim.canvas().size(), QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(ratio);
    int drawn = 0;
    for (auto _ : state) {
        // Keep all 24 moving: a sprite that left comes back at once.
        for (int i = 1; i <= fm::SpriteSlotCount; ++i) {
            fm::SpriteSlot &s = anim.motion.Slots[size_t(i)];
            if (s.State == 0 || !anim.motion.inside(s))
                s = fm::SpriteSlot{1, 300, 180, int16_t(1 + i % 8), 2, int16_t(i % 8), int16_t(i)};
        }
        anim.tick(random, 12);
        QPainter p(&surface);
        p.drawImage(QPoint(0, 0), anim.canvas());
        p.end();
        benchmark::DoNotOptimize(surface.constBits());
        for (int i = 1; i <= fm::SpriteSlotCount; ++i)
            drawn += anim.motion.Slots[size_t(i)].State;
    }
    state.counters["sprites"] = benchmark::Counter(drawn, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TitleTick)->Arg(100)->Arg(225)->Unit(benchmark::kMicrosecond);

// The program from its construction to the menu shown and painted, with the
// generated files of the program directory (the QApplication already exists).
void BM_StartupToMenu(benchmark::State &state)
{
    app();
    const QString bin = QStringLiteral(FUDEMARU_BIN_DIR);
    if (!QFile::exists(bin + "/Mondai2.dat") || !QFile::exists(bin + "/Pop10.wmf")) {
        state.SkipWithError("the generated files are not built");
        return;
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    for (auto _ : state) {
        fm::Program program(bin, config.filePath(QStringLiteral("data")));
        if (!program.start()) {
            state.SkipWithError("start-up failed");
            return;
        }
        // The main menu: the screen start() left showing.
        auto *menu = qobject_cast<fm::TF_Main *>(program.services().nav.current());
        if (!menu) {
            state.SkipWithError("start-up showed no menu");
            return;
        }
        menu->repaint();
        benchmark::DoNotOptimize(menu);
    }
}
BENCHMARK(BM_StartupToMenu)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
