// The matching game on the offscreen platform: whole games to their end
// with the boxes, the level, the roster and the board; the back button in
// mid-game; the two card layouts.
#include "gamefixture.h"
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

using namespace gametest;
using games::Strength;
using Kind = fm::test::FakeDialogs::Kind;

namespace
{

// How the child plays a turn, by the cards left on the board.
enum class Child {
    TakesUnlessFourLeft, // ends the game itself: the computer never faces the last pair
    TakesOnlyAtFour      // leaves the last pair to the computer
};

struct Finish {
    int manBar = -1, comBar = -1; // the red bars when the board opened
    int boardScore = -1;          // the marked row's score
    int boards = 0;
};

// Plays to the end. Along the way it checks that clicks out of turn, on a
// face-up card and on a taken card change nothing.
Finish playThrough(GameWorld &w, Child child)
{
    Finish f;
    fm::test::ModalWatcher watcher([&](QWidget *modal) {
        auto *board = qobject_cast<TF_Game_Kiroku *>(modal);
        ASSERT_NE(board, nullptr);
        ++f.boards;
        f.manBar = w.ctl<QWidget>("Shap_Man_Toku")->width();
        f.comBar = w.ctl<QWidget>("Shap_Com_Toku")->width();
        for (const auto &row : board->board().rows)
            if (row.isNew)
                f.boardScore = row.record.Score;
    });
    QPointer<TF_Game1> screen = w.game;
    int taken = 0; // a card the child has taken, to click again later
    for (int guard = 0; guard < 1000 && screen && !w.g().over; ++guard) {
        const int left = w.g().cards.RemainingCount;
        if (!w.g().ManTurn) {
            // Out of turn a click does nothing.
            const int c = w.g().cards.CardsOnBoard[1];
            const int picks = w.g().PickCount;
            w.click(c);
            EXPECT_EQ(w.g().PickCount, picks);
            EXPECT_EQ(w.g().cards.RemainingCount, left);
            w.tick();
            // A taken pair, the computer's as the child's, is gone from the board.
            for (int c = 1; c <= 36; ++c) {
                if (!w.g().cards.onBoard(c) && !w.g().over) {
                    EXPECT_TRUE(w.card(c)->isHidden()) << "card " << c;
                }
            }
            continue;
        }
        if (taken) {
            w.click(taken);
            EXPECT_EQ(w.g().PickCount, 0);
        }
        const int a = w.g().cards.CardsOnBoard[1];
        w.click(a);
        EXPECT_EQ(w.g().PickCount, 1);
        EXPECT_FALSE(w.timer()->isActive()); // stopped after the first pick
        EXPECT_TRUE(w.card(a)->isHidden());
        EXPECT_TRUE(w.kanjiLabel(1)->isVisible());
        w.click(a); // face up already
        EXPECT_EQ(w.g().PickCount, 1);
        const bool take = left == 2 || (child == Child::TakesUnlessFourLeft ? left != 4 : left == 4);
        const int b = w.partner(a, take);
        w.click(b);
        if (w.g().over || !screen)
            break;
        EXPECT_TRUE(w.timer()->isActive()); // the computer's first step comes 2000 ms later
        EXPECT_EQ(w.g().cards.RemainingCount, take ? left - 2 : left);
        if (take)
            taken = a;
    }
    EXPECT_EQ(f.boards, 1);
    return f;
}

// Pixels of a radio button's text (right of its round mark) close to a colour.
int textPixelsLike(QWidget *w, const QColor &colour)
{
    const QImage shot =
        w->grab(QRect(24, 0, w->width() - 24, w->height())).toImage().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) < 30 && std::abs(c.green() - colour.green()) < 30 &&
                 std::abs(c.blue() - colour.blue()) < 30;
        }
    return n;
}

} // namespace

// The child sees which strength is chosen, and that it cannot change during a game.
TEST(MatchingGame, TheChosenStrengthStandsOutAndTheGroupLooksLockedDuringAGame)
{
    GameWorld w(2, 5);
    w.chooseStrength(Strength::Weak);
    const std::array<QRadioButton *, 3> rad{w.strengthButton(0), w.strengthButton(1), w.strengthButton(2)};
    EXPECT_GT(textPixelsLike(rad[2], colour::Yellow), 20);
    for (int i : {0, 1}) {
        EXPECT_EQ(textPixelsLike(rad[size_t(i)], colour::Yellow), 0);
        EXPECT_GT(textPixelsLike(rad[size_t(i)], colour::White), 20);
    }
    w.start();
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Tsuyosa")->isEnabled());
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(textPixelsLike(rad[size_t(i)], colour::White), 0) << "no item looks choosable";
        EXPECT_EQ(textPixelsLike(rad[size_t(i)], colour::Yellow), 0);
    }
    EXPECT_GT(textPixelsLike(rad[2], QColor(150, 150, 60)), 20) << "the choice is still told apart";
    EXPECT_EQ(textPixelsLike(rad[0], QColor(150, 150, 60)), 0);
}

TEST(MatchingGame, AChildWinsRaisesItsLevelAndFindsItOnDiskAndOnTheBoard)
{
    GameWorld w(2, 5);
    EXPECT_EQ(w.t.state.HintContext.screen, screenRow(ScreenId::Game1).number);
    EXPECT_EQ(w.game->strengthItem(), 1); // "ふつう"
    w.chooseStrength(Strength::Strong);
    w.start();
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Tsuyosa")->isEnabled());
    EXPECT_TRUE(w.ctl<QPushButton>("Btn_Start")->isHidden());
    EXPECT_EQ(w.g().strength, Strength::Strong);
    EXPECT_TRUE(w.game->musicPlaying());
    EXPECT_TRUE(w.t.sound.log.contains(QStringLiteral("music1 open Eawase.mid")));
    // The piece starts again whenever it reaches its end.
    fm::test::FakeMediaPlayer *music = w.t.sound.playerFor(QStringLiteral("Eawase.mid"));
    ASSERT_NE(music, nullptr);
    music->finish();
    EXPECT_TRUE(music->playing);
    EXPECT_EQ(music->playedFrom, 0);
    EXPECT_EQ(w.ctl<QLabel>("Lbl_Junban")->text(),
              w.g().ManTurn ? QStringLiteral("はるかのばん") : QStringLiteral("コンピュータのばん"));
    // Every kanji is one of the twenty of game level 2.
    for (int c = 1; c <= 36; ++c)
        EXPECT_TRUE(w.g().cards.CardKanji[size_t(c)] >= 41 && w.g().cards.CardKanji[size_t(c)] <= 60);

    const Finish f = playThrough(w, Child::TakesUnlessFourLeft);
    ASSERT_TRUE(w.g().over);
    ASSERT_GT(w.g().ManScore, w.g().ComScore);
    EXPECT_FALSE(w.g().endedByComputer);
    EXPECT_EQ(f.manBar + f.comBar, 162);
    EXPECT_EQ(f.manBar, 9 * w.g().ManScore);
    EXPECT_EQ(f.boardScore, w.g().ManScore);
    EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("はるかのかち")});

    // The new level is in the roster and on disk before the board shows.
    EXPECT_EQ(w.t.state.Game1Level, 3);
    EXPECT_EQ(w.t.state.Players.PlayerTable[1].Game1Level, 3);
    Roster onDisk;
    loadRoster(onDisk, w.t.state.ProgramDir);
    ASSERT_EQ(onDisk.PlayerCount, 1);
    EXPECT_EQ(onDisk.PlayerTable[1].Game1Level, 3);
    const auto board = readBoard(w.t.state.ProgramDir, GameId::Matching);
    ASSERT_EQ(board.size(), 1);
    EXPECT_EQ(board[0].Score, w.g().ManScore);

    // The music has stopped; a fresh mode screen shows the new level's star,
    // and the game and the old mode screen are freed.
    EXPECT_FALSE(w.game->musicPlaying());
    EXPECT_TRUE(w.t.sound.log.contains(QStringLiteral("music1 close")));
    auto *mode = dynamic_cast<TF_Mode *>(w.t.nav.current());
    ASSERT_NE(mode, nullptr);
    EXPECT_NE(mode, w.mode);
    const QImage stars = fm::test::child<QLabel>(mode, "Img_Game1_Level")->pixmap().toImage();
    EXPECT_EQ(QColor(stars.pixel(records::starCellRect(3).center())), QColor(Qt::yellow));
    EXPECT_EQ(QColor(stars.pixel(records::starCellRect(4).center())), QColor(Qt::gray));
    w.t.processDeletes();
    EXPECT_EQ(w.t.nav.screens().size(), 1u);
}

TEST(MatchingGame, TheComputersLastPairBringsTheSecondBoxAndNoLevel)
{
    GameWorld w(2, 5);
    w.chooseStrength(Strength::Strong);
    w.start();
    const Finish f = playThrough(w, Child::TakesOnlyAtFour);
    ASSERT_TRUE(w.g().over);
    EXPECT_TRUE(w.g().endedByComputer);
    EXPECT_EQ(w.g().ManScore, 1);
    EXPECT_EQ(w.g().ComScore, 17);
    EXPECT_EQ(f.manBar + f.comBar, 162);
    EXPECT_EQ(w.t.dialogs.texts(), (QStringList{QStringLiteral("コンピュータのかち"),
                                                QStringLiteral("ざんねん！ ふごうかくです")}));
    EXPECT_EQ(w.t.dialogs.count(Kind::Information), 2);
    EXPECT_EQ(f.boardScore, 1);
    EXPECT_EQ(w.t.state.Game1Level, 2);
    EXPECT_FALSE(QFile::exists(w.t.file(QStringLiteral("Player1.dat"))));
    EXPECT_EQ(w.t.nav.current()->id(), ScreenId::Mode);
}

TEST(MatchingGame, TheLevelRisesOnlyAgainstStrongerComputersAndBelowTheStudyLevel)
{
    struct Case {
        Strength strength;
        int game1Level, studyLevel, expected;
        bool music;
    };
    for (const Case c : {Case{Strength::Normal, 3, 5, 4, true}, Case{Strength::Weak, 0, 5, 0, true},
                         Case{Strength::Normal, 4, 5, 4, true}, Case{Strength::Strong, 12, 13, 12, false}}) {
        GameWorld w(c.game1Level, c.studyLevel);
        w.t.shell.MidiDeviceCount = c.music ? 1 : 0;
        w.chooseStrength(c.strength);
        w.start();
        playThrough(w, Child::TakesUnlessFourLeft);
        ASSERT_GT(w.g().ManScore, w.g().ComScore);
        EXPECT_EQ(w.t.state.Game1Level, c.expected) << int(c.strength) << " " << c.game1Level;
        EXPECT_EQ(QFile::exists(w.t.file(QStringLiteral("Player1.dat"))), c.expected != c.game1Level);
        if (!c.music) { // without a music device no sound call at all
            EXPECT_TRUE(w.t.sound.log.isEmpty());
        }
    }
}

TEST(MatchingGame, BackInMidGameRecordsNothing)
{
    GameWorld w(2, 5);
    w.start();
    for (int turn = 0; turn < 4; ++turn) {
        if (w.g().ManTurn) {
            const int a = w.g().cards.CardsOnBoard[1];
            w.click(a);
            w.click(w.partner(a, turn % 2 == 0));
        } else {
            w.tick();
            w.tick();
        }
    }
    ASSERT_FALSE(w.g().over);
    QTest::mouseClick(fm::test::headerButton(w.game, 4), Qt::LeftButton);
    EXPECT_EQ(w.t.nav.current(), w.mode);
    EXPECT_EQ(w.t.nav.find(ScreenId::Game1), nullptr);
    EXPECT_TRUE(w.t.sound.log.contains(QStringLiteral("music1 stop")));
    EXPECT_TRUE(w.t.dialogs.calls.empty());
    EXPECT_EQ(w.t.state.Game1Level, 2);
    EXPECT_FALSE(QFile::exists(w.t.file(QStringLiteral("Game1.dat"))));
    EXPECT_FALSE(QFile::exists(w.t.file(QStringLiteral("Player1.dat"))));
    w.t.processDeletes();
}

TEST(MatchingGame, CardsLieInTheirPlaceInBothLayouts)
{
    struct Case {
        LayoutSize layout;
        int side, picture, boxW, boxH;
        QRect first, last;
    };
    for (const Case c :
         {Case{LayoutSize::Normal, 50, 50, 353, 329, QRect(10, 20, 50, 50), QRect(260, 270, 50, 50)},
          Case{LayoutSize::Large, 56, 70, 336, 336, QRect(0, 0, 56, 56), QRect(280, 280, 56, 56)}}) {
        GameWorld w(2, 5, c.layout);
        EXPECT_EQ(w.ctl<QGroupBox>("Grp_E")->geometry(), QRect(16, 112, c.boxW, c.boxH));
        w.start();
        EXPECT_EQ(w.card(1)->geometry(), c.first);
        EXPECT_EQ(w.card(6)->geometry(), c.first.translated(0, 5 * c.side)); // down the column
        EXPECT_EQ(w.card(36)->geometry(), c.last);
        const QRect onStage = w.card(36)->geometry().translated(w.ctl<QGroupBox>("Grp_E")->pos());
        EXPECT_TRUE(QRect(0, 0, 640, 480).contains(onStage));
        const QImage back = w.card(7)->pixmap().toImage();
        EXPECT_EQ(back.size(), QSize(c.picture, c.picture));
        EXPECT_EQ(QColor(back.pixel(0, 0)), fm::colour::White);
        EXPECT_EQ(QColor(back.pixel(c.picture - 1, c.picture - 1)), fm::colour::Navy);

        // A turned card shows its kanji centred on it and the sentence at the top.
        if (!w.g().ManTurn) {
            w.tick();
            w.tick();
            w.tick();
        }
        const int card = 8;
        w.click(card);
        const QLabel *k = w.kanjiLabel(1);
        EXPECT_EQ(k->text(), cp932::toUnicode(glyphOf(w.g().cards.CardKanji[size_t(card)])));
        const QPoint centre = w.card(card)->geometry().center();
        EXPECT_LE(std::abs(k->geometry().center().x() - centre.x()), 1);
        EXPECT_LE(std::abs(k->geometry().center().y() - centre.y()), 1);
        const games::SentenceLine *s = w.game->sentence();
        EXPECT_TRUE(s->label(1)->isVisible());
        EXPECT_TRUE(k->isVisible());
        EXPECT_EQ(s->label(1)->pos(), QPoint(10, 88));
        EXPECT_EQ(s->label(2)->x(), 10 + s->label(1)->width());
        EXPECT_EQ(s->label(1)->text() + s->label(2)->text() + s->label(3)->text(),
                  QStringLiteral("きょうはやまにのぼる。"));
        w.t.processDeletes();
    }
}

TEST(MatchingGame, ASentenceThatCannotBeReadEndsTheProgramWithItsName)
{
    GameWorld w(2, 5);
    w.start();
    ASSERT_TRUE(QFile::remove(w.t.file(QStringLiteral("Mondai1.dat"))));
    if (!w.g().ManTurn)
        w.tick(); // the computer turns its first card
    else
        w.click(w.g().cards.CardsOnBoard[1]);
    EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("Mondai1.datでエラーがおこりました。 ")});
    EXPECT_TRUE(w.t.nav.quitRequested());
    EXPECT_FALSE(w.timer()->isActive()); // nothing ticks on while the program ends
}
