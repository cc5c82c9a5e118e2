// The whack-a-mole field: one tick as the screen runs it. The 25 holes are
// updated, the whole field is drawn off screen and the shown part copied in
// one piece. Arg: pixel ratio x 100 (100 plain, 225 on a 1920 x 1080 display).
#include "data/cp932.h"
#include "games/molefield.h"
#include "shell/look.h"
#include "shell/random.h"
#include "support/testshell.h"
#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace
{

using fm::test::app; // the offscreen application with the program's faces

// A 64 x 64 hole on its black surround, made ready as the screen does.
QImage picture(const QColor &inside)
{
    QImage p(fm::mole::PictureSize, fm::mole::PictureSize, QImage::Format_RGB32);
    p.fill(Qt::black);
    QPainter painter(&p);
    painter.setPen(Qt::NoPen);
    painter.setBrush(inside);
    painter.drawEllipse(QRect(4, 12, 56, 48));
    painter.end();
    return fm::mole::preparePicture(p);
}

QString glyphOf(int kanji)
{
    static const QString glyphs = QStringLiteral("一右雨円王音下火花貝学気九休玉金空月犬見");
    return glyphs.mid((kanji - 1) % glyphs.size(), 1);
}

struct Bench {
    explicit Bench(qreal ratio)
        : field(picture(QColor(120, 70, 20)), picture(Qt::red), glyphOf, 48, ratio), game(random)
    {
        newGame();
    }
    void newGame()
    {
        game.start(3);
        field.prepare(game.Block);
    }
    fm::StdRandom random{42};
    fm::mole::MoleField field;
    fm::mole::MoleGame game;
    QImage shown;
};

// Ticks of real games, one after another (about a third of the holes are up).
void BM_MoleTick(benchmark::State &state)
{
    app();
    Bench b(state.range(0) / 100.0);
    for (auto _ : state) {
        if (b.game.tick() == fm::mole::MoleGame::Tick::Over) {
            b.newGame();
            b.game.tick();
        }
        b.field.draw(b.game);
        b.shown = b.field.shown();
        benchmark::DoNotOptimize(b.shown.constBits());
    }
}
BENCHMARK(BM_MoleTick)->Arg(100)->Arg(225)->Unit(benchmark::kMicrosecond);

// The worst a tick can meet: a mole up in every hole, the most in phase 3.
void BM_MoleTickFullField(benchmark::State &state)
{
    app();
    Bench b(state.range(0) / 100.0);
    for (auto _ : state) {
        for (int c = 1; c <= fm::mole::Holes; ++c)
            for (int r = 1; r <= fm::mole::Holes; ++r)
                b.game.hole(c, r) = fm::mole::Hole{3, b.game.Block[size_t((c * 5 + r) % 20)]};
        b.game.tick(); // each hole moves on to phase 4; none is empty, so nothing is drawn
        b.field.draw(b.game);
        b.shown = b.field.shown();
        benchmark::DoNotOptimize(b.shown.constBits());
    }
}
BENCHMARK(BM_MoleTickFullField)->Arg(100)->Arg(225)->Unit(benchmark::kMicrosecond);

} // namespace
