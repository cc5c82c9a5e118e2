// The matching game in both layouts, before the start and in mid-game, and
// the score board over it and alone, with the build's data and pictures.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/datetime.h"
#include "data/gamescore.h"
#include "data/questionbank.h"
#include "games/game1.h"
#include "games/gkiroku.h"
#include "shell/catalogue.h"
#include "shell/kit.h"
#include "shell/startup.h"
#include "shots.h"
#include "support/find.h"
#include "support/testshell.h"
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::TestShell;

namespace
{

class ModeStandIn : public ScreenFrame
{
  public:
    explicit ModeStandIn(Services &sv) : ScreenFrame(sv, ScreenId::Mode) {}
};

// The matching game in a layout, with the build's data and pictures: before
// the start, and in mid-game with pairs taken and a card face up.
void shootGame(LayoutSize layout)
{
    TestShell t;
    QStringList files{"Kanji1.dat",  "Bushu1.dat",     "Mondai1.dat",  "Mondai2.dat",
                      "ButtonX.bmp", "GlyphStart.bmp", "GlyphBack.bmp"};
    for (int n = 1; n <= 10; ++n)
        files << QStringLiteral("Pop%1.wmf").arg(n);
    if (!shots::copyFromBuild(t, files))
        FAIL() << "the build has not made the program's files";
    loadCatalogue(t.state.Cat, t.state.ProgramDir);
    loadQuestionIndex(t.state.Bank, t.state.ProgramDir);
    StartupLoader loader;
    const QImage strip = loader.loadButtonStrip(t.state.ProgramDir);
    for (int i = 0; i < 8; ++i)
        t.shell.ImgLst_Header[size_t(i)] = whiteTransparent(strip.copy(48 * i, 0, 48, 48));
    const int square = layout == LayoutSize::Large ? 70 : 48;
    for (int n = 1; n <= 10; ++n)
        t.shell.ImgLst_Pop[size_t(n - 1)] =
            whiteTransparent(loader.loadPopPicture(t.state.ProgramDir, n, square));
    t.shell.Layout = layout;
    t.state.Players.PlayerCount = 1;
    t.state.CurrentPlayer = 1;
    t.state.Players.PlayerTable[1].Name = cp932::fromUnicode(QStringLiteral("はなこ"));
    t.state.CurrentLevel = 5;
    t.state.Game1Level = 3;
    t.nav.open<ModeStandIn>();
    auto *g = t.nav.open<TF_Game1>();
    const QString suffix = layout == LayoutSize::Large ? QStringLiteral("large") : QStringLiteral("normal");
    shots::save(g, QStringLiteral("game1_%1_before").arg(suffix));

    QTest::mouseClick(fm::test::child<QPushButton>(g, "Btn_Start"), Qt::LeftButton);
    // The computer's steps come from its timer while it runs.
    const auto step = [g]() {
        if (fm::test::child<QTimer>(g, "Timer1")->isActive())
            fm::test::tick(g, "Timer1");
    };
    const auto card = [g](int c) { return fm::test::child<QWidget>(g, "Btn_E", c); };
    // A few turns: the child takes a pair now and then, the computer plays.
    int turns = 0;
    while (turns < 8 && !g->game().over) {
        const auto &cards = g->game().cards;
        if (g->game().ManTurn) {
            const int a = cards.CardsOnBoard[1];
            int b = 0;
            for (int i = 2; i <= cards.RemainingCount && !b; ++i)
                if ((cards.CardKanji[size_t(cards.CardsOnBoard[size_t(i)])] == cards.CardKanji[size_t(a)]) ==
                    (turns % 3 == 0))
                    b = cards.CardsOnBoard[size_t(i)];
            QTest::mouseClick(card(a), Qt::LeftButton);
            QTest::mouseClick(card(b), Qt::LeftButton);
        } else {
            for (int n = 0; n < 3; ++n)
                step();
        }
        ++turns;
    }
    // The computer's turn with both its cards face up, or the child's first pick.
    if (!g->game().ManTurn) {
        step();
        step();
    } else {
        QTest::mouseClick(card(g->game().cards.CardsOnBoard[3]), Qt::LeftButton);
    }
    shots::save(g, QStringLiteral("game1_%1_playing").arg(suffix));

    // The board as the game leaves it, over the game.
    TF_Game_Kiroku board(t.services, GameId::Matching, 11, g);
    board.show();
    shots::save(&board, QStringLiteral("board_%1").arg(suffix));
}

} // namespace

TEST(GameShots, MatchingGameInBothLayouts)
{
    shootGame(LayoutSize::Normal);
    shootGame(LayoutSize::Large);
}

TEST(GameShots, ScoreBoard)
{
    TestShell t;
    t.state.Players.PlayerCount = 1;
    t.state.CurrentPlayer = 1;
    t.state.Players.PlayerTable[1].Name = cp932::fromUnicode(QStringLiteral("はなこ"));
    QVector<GameScoreRecord> old;
    const char *names[] = {"たろう",   "じろう", "さぶろう", "しろう", "ごろう",
                           "ろくろう", "ななこ", "やえ",     "くみ"};
    for (int i = 0; i < 9; ++i)
        old << GameScoreRecord{int16_t(16 - i), cp932::fromUnicode(QString::fromUtf8(names[i])),
                               toDayNumber(QDateTime(QDate(2024, 4, 1 + i), QTime()))};
    writeBoard(t.state.ProgramDir, GameId::Matching, old);
    TF_Game_Kiroku w(t.services, GameId::Matching, 12, nullptr);
    w.show();
    shots::save(&w, QStringLiteral("board_rank5"));

    TF_Game_Kiroku full(t.services, GameId::Matching, 2, nullptr);
    full.show();
    shots::save(&full, QStringLiteral("board_missed"));
}
