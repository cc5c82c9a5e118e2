// The whack-a-mole screen on the offscreen platform: whole games driven tick
// by tick, the counters and bars, the result, the score board and the roster
// on disk, abandoning, and sound devices that fail.
#include "mole_fixture.h"
#include <QPushButton>
#include <QSlider>

using namespace fm;
using namespace moletest;
using fm::test::TestShell;

TEST(MoleScreen, AWholeGameWonRaisesTheLevelOnDiskAndEntersTheBoard)
{
    MoleWorld w(2, 5);
    TF_Game2 *s = w.screen;
    EXPECT_TRUE(w.t.state.ScreenOpenFlags.Game2Open);
    EXPECT_EQ(s->TBar_Speed->value(), 7);
    EXPECT_FALSE(s->Shap_Shutsudai->isVisible());

    w.start();
    // Running: speed locked, header hidden, the stage's sentence in the header's row.
    EXPECT_TRUE(s->running());
    EXPECT_EQ(s->Timer1.interval(), 1300);
    EXPECT_FALSE(s->TBar_Speed->isEnabled());
    EXPECT_EQ(s->Btn_Start->text(), QStringLiteral("ゲームおわり"));
    EXPECT_FALSE(s->headerButton(4)->isVisible());
    EXPECT_TRUE(s->Shap_Shutsudai->isVisible());
    const int asked = s->game.stageKanji();
    EXPECT_GE(asked, 41);
    EXPECT_LE(asked, 60);
    EXPECT_EQ(s->SentenceLabels[1]->text(), QStringLiteral("%1ばんの").arg(asked));
    EXPECT_EQ(s->SentenceLabels[2]->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(s->SentenceLabels[2]->x(), s->SentenceLabels[1]->x() + s->SentenceLabels[1]->width());
    EXPECT_TRUE(w.t.sound.playerFor(QStringLiteral("Mogu.mid"))->playing);

    w.playToEnd(50);
    EXPECT_EQ(w.pressedHits, 50);
    // The result, the level raised and written at once, the board with all 50 hits.
    EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("おめでとう！ ごうかくです")});
    EXPECT_EQ(w.t.state.Game2Level, 3);
    EXPECT_EQ(w.t.state.Players.PlayerTable[1].Game2Level, 3);
    EXPECT_EQ(w.levelOnDisk(), 3);
    ASSERT_EQ(w.boards.size(), 1u);
    EXPECT_EQ(w.boards[0], std::make_pair(2, 50));
    ASSERT_EQ(w.board().size(), 1);
    EXPECT_EQ(w.board()[0].Score, 50);
    EXPECT_EQ(w.board()[0].Name, sj(QStringLiteral("はなこ")));
    // Hit sounds stop the miss sound and start again from the beginning.
    EXPECT_EQ(w.count(QStringLiteral("wave1 rewind")), 50);
    EXPECT_EQ(w.count(QStringLiteral("wave1 play")), 50);
    EXPECT_EQ(w.count(QStringLiteral("wave2 stop")), 50);
    // On a fresh mode screen (the old one is freed); the music is off and the game screen is gone.
    EXPECT_TRUE(w.mode.isNull());
    EXPECT_NE(dynamic_cast<ModeStandIn *>(w.t.nav.current()), nullptr);
    EXPECT_EQ(w.t.nav.find<TF_Game2>(), nullptr);
    EXPECT_FALSE(w.t.state.ScreenOpenFlags.Game2Open);
    EXPECT_EQ(w.t.sound.playerFor(QStringLiteral("Mogu.mid")), nullptr);
}

TEST(MoleScreen, ThirtySixHitsPassAndThirtyFiveFail)
{
    for (int hits : {36, 35}) {
        MoleWorld w(2, 5);
        w.start();
        w.playToEnd(hits, true);
        SCOPED_TRACE(hits);
        EXPECT_GT(w.pressedDecoys, 0);
        ASSERT_EQ(w.boards.size(), 1u);
        EXPECT_EQ(w.boards[0].second, hits);
        EXPECT_EQ(w.board()[0].Score, hits);
        // Misses sound and cost nothing.
        EXPECT_EQ(w.count(QStringLiteral("wave2 play")), w.pressedDecoys);
        if (hits == 36) {
            EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("おめでとう！ ごうかくです")});
            EXPECT_EQ(w.levelOnDisk(), 3);
        } else {
            EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("ざんねん！ ふごうかくです")});
            EXPECT_EQ(w.t.state.Game2Level, 2);
            EXPECT_FALSE(w.rosterOnDisk());
        }
    }
}

TEST(MoleScreen, APassAtTheLimitOfTheStudyLevelKeepsTheLevel)
{
    MoleWorld w(4, 5); // 4 is not below 5 - 1
    w.start();
    w.playToEnd(50);
    EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("おめでとう！ ごうかくです")});
    EXPECT_EQ(w.t.state.Game2Level, 4);
    EXPECT_FALSE(w.rosterOnDisk());
    EXPECT_EQ(w.board().size(), 1);
}

TEST(MoleScreen, AbandonedGamesRecordNothing)
{
    // "ゲームおわり" in the middle of a game, after some hits.
    {
        MoleWorld w(2, 5);
        w.start();
        QPointer<TF_Game2> s = w.screen;
        while (s->game.HitCount < 3) {
            s->Timer1Timer();
            for (int c = 1; c <= 5; ++c)
                for (int r = 1; r <= 5; ++r)
                    if (s->game.isTarget(s->game.hole(c, r)))
                        w.press(c, r);
        }
        w.clickStart();
        w.t.processDeletes();
        EXPECT_TRUE(s.isNull());
        EXPECT_EQ(w.t.nav.current(), w.mode);
        EXPECT_TRUE(w.t.dialogs.calls.empty());
        EXPECT_FALSE(QFile::exists(w.t.file(QStringLiteral("Game2.dat"))));
        EXPECT_FALSE(w.rosterOnDisk());
        EXPECT_EQ(w.t.state.Game2Level, 2);
        EXPECT_FALSE(w.t.state.ScreenOpenFlags.Game2Open);
        EXPECT_EQ(w.t.sound.playerFor(QStringLiteral("Mogu.mid")), nullptr);
        EXPECT_TRUE(w.t.sound.players.empty()) << "the hit and miss players are closed too";
    }
    // The back button before a game: straight back.
    {
        MoleWorld w(2, 5);
        QTest::mouseClick(w.screen->headerButton(4), Qt::LeftButton);
        w.t.processDeletes();
        EXPECT_EQ(w.t.nav.current(), w.mode);
        EXPECT_FALSE(QFile::exists(w.t.file(QStringLiteral("Game2.dat"))));
    }
}

TEST(MoleScreen, SpeedAndPressesOutsideAGame)
{
    MoleWorld w;
    TF_Game2 *s = w.screen;
    // Presses before the start do nothing.
    w.press(3, 3);
    EXPECT_TRUE(w.t.sound.log.filter(QStringLiteral(" play")).isEmpty());
    s->TBar_Speed->setValue(15);
    // A double click on the start button does not end the game it starts.
    // (Through the window, as the desktop delivers it: press, release, press,
    // double click, release.)
    const QPoint onButton = s->Btn_Start->mapTo(s->window(), s->Btn_Start->rect().center());
    QTest::mouseDClick(s->window()->windowHandle(), Qt::LeftButton, {}, onButton);
    EXPECT_TRUE(s->running());
    EXPECT_EQ(s->Timer1.interval(), 500);
    w.clickStart();
    w.t.processDeletes();
    EXPECT_EQ(w.t.nav.current(), w.mode);

    MoleWorld slow;
    slow.screen->TBar_Speed->setValue(0);
    slow.start();
    EXPECT_EQ(slow.screen->Timer1.interval(), 2000);
}

TEST(MoleScreen, FailingSoundDevicesAreReportedOnceAndTheGameGoesOn)
{
    {
        // The hit sound fails on every press: one message, every hit counts.
        MoleWorld w;
        w.t.sound.failures = {QStringLiteral("wave:play")};
        w.start();
        w.playToEnd(50);
        EXPECT_EQ(w.pressedHits, 50);
        const QStringList texts = w.t.dialogs.texts();
        EXPECT_EQ(texts.count(QStringLiteral("WAVEでエラーがおこりました。 ")), 1);
        EXPECT_EQ(w.board()[0].Score, 50);
    }
    {
        // A player that cannot be opened: named once, the later one not prepared.
        MoleWorld w;
        w.t.processDeletes();
        w.t.sound.failures = {QStringLiteral("wave:open")};
        w.t.sound.log.clear();
        auto *again = w.t.nav.open<TF_Game2>();
        EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("Atari.wavでエラーがおこりました。 ")});
        EXPECT_EQ(w.t.sound.log.filter(QStringLiteral("open")).size(), 1);
        again->Btn_StartClick();
        again->Timer1Timer();
        again->Img1MouseDown(40, 62); // no player, no crash, no message
        EXPECT_EQ(w.t.dialogs.calls.size(), 1u);
    }
}

TEST(MoleScreen, AMissingPictureEndsTheProgramNamingIt)
{
    MoleWorld w;
    QFile::remove(w.t.file(QStringLiteral("Mogura.bmp")));
    auto *again = w.t.nav.open<TF_Game2>();
    EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("Mogura.bmpでエラーがおこりました。 ")});
    EXPECT_TRUE(w.t.nav.quitRequested());
    EXPECT_FALSE(again->field().picture().isNull()) << "the screen stays whole until the program ends";
}
