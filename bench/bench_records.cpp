// The records screens' figures: one gliding frame of the kanji list (240
// glyphs drawn into the frame and the frame copied to the view's surface)
// and opening the per-kanji results screen with its 480 rows filled.
#include "data/cp932.h"
#include "records/kichiranpicture.h"
#include "records/kseiseki.h"
#include "records/register.h"
#include "shell/random.h"
#include "support/testshell.h"
#include <QPainter>
#include <benchmark/benchmark.h>

namespace
{

const QString kGlyphs =
    QStringLiteral("一右雨円王音下火花貝学気九休玉金空月犬見五口校左三山子四糸字耳七車手十出"
                   "女小上森人水正生青夕石赤千川先早草足村大男竹中虫町天田土二日入年白八百文"
                   "木本名目立力林六");

QString glyph(int k)
{
    return kGlyphs.mid((k - 1) % kGlyphs.size(), 1);
}

// Arg: pixel ratio x 100 (100 plain, 225 on a 1920 x 1080 display).
void BM_KanjiListGlideFrame(benchmark::State &state)
{
    fm::test::app();
    const qreal ratio = state.range(0) / 100.0;
    std::array<bool, fm::records::ListedKanji + 1> cleared{};
    std::vector<QString> glyphs(fm::records::ListedKanji + 1);
    for (int k = 1; k <= fm::records::ListedKanji; ++k) {
        cleared[size_t(k)] = k <= 90;
        glyphs[size_t(k)] = glyph(k);
    }
    fm::StdRandom random(42);
    fm::records::KanjiListPicture picture(ratio);
    picture.prepare(fm::records::layoutKanjiList(cleared, random), glyphs);
    QImage frame = picture.blank();
    QImage surface(frame.size(), QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(ratio);
    int tick = 0;
    for (auto _ : state) {
        tick = tick % (fm::records::GlideTicks - 1) + 1; // 1..29: every kanji on its way
        picture.drawGlide(frame, tick);
        QPainter p(&surface);
        p.drawImage(QPoint(0, 0), frame);
        p.end();
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_KanjiListGlideFrame)->Arg(100)->Arg(225)->Unit(benchmark::kMillisecond);

// The glyphs of one press rendered once (what a press costs before the
// first frame).
void BM_KanjiListPrepare(benchmark::State &state)
{
    fm::test::app();
    const qreal ratio = state.range(0) / 100.0;
    std::array<bool, fm::records::ListedKanji + 1> cleared{};
    std::vector<QString> glyphs(fm::records::ListedKanji + 1);
    for (int k = 1; k <= fm::records::ListedKanji; ++k)
        glyphs[size_t(k)] = glyph(k);
    fm::StdRandom random(42);
    for (auto _ : state) {
        fm::records::KanjiListPicture picture(ratio);
        picture.prepare(fm::records::layoutKanjiList(cleared, random), glyphs);
        benchmark::DoNotOptimize(picture.scattered().constBits());
    }
}
BENCHMARK(BM_KanjiListPrepare)->Arg(100)->Arg(225)->Unit(benchmark::kMillisecond);

// From the mode screen's command to the screen shown and painted once.
void BM_OpenKanjiResults(benchmark::State &state)
{
    fm::test::TestShell t;
    fm::registerRecordScreens(t.screens);
    for (int k = 1; k <= 240; ++k)
        t.state.Cat.KanjiTable[size_t(k)].Glyph = fm::cp932::fromUnicode(glyph(k));
    fm::addPlayer(t.state.Players, fm::cp932::fromUnicode(QStringLiteral("はると")));
    t.state.CurrentPlayer = 1;
    t.state.CurrentLevel = 5;
    t.state.CurrentKind = fm::StudyKind::Writing;
    for (int k = 1; k <= 120; ++k)
        t.state.Progress[size_t(k)][1] = {int16_t(k % 7), int16_t(k % 5), k % 3 == 0};
    auto *menu = new fm::test::PlaceholderScreen(t.services, fm::ScreenId::Mode);
    t.nav.forward(menu, false);
    for (auto _ : state) {
        fm::Screen *s = t.nav.open(fm::ScreenId::KSeiseki1);
        s->repaint();
        benchmark::DoNotOptimize(s);
        state.PauseTiming();
        t.nav.back();
        t.processDeletes();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenKanjiResults)->Unit(benchmark::kMillisecond);

} // namespace
