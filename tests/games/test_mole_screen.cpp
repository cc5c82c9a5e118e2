// The whack-a-mole screen on the offscreen platform: whole games driven tick
// by tick, the result, the score board and the roster on disk, abandoning,
// and devices and files that fail.
#include "mole_fixture.h"
#include <QDir>
#include <QSlider>

using namespace fm;
using namespace moletest;

TEST(MoleScreen, AWholeGameWonRaisesTheLevelOnDiskAndEntersTheBoard)
{
    MoleWorld w(2, 5);
    TF_Game2 *s = w.screen;
    ASSERT_NE(s, nullptr) << "the mode screen opens the game";
    w.start();
    // Running: speed locked, header hidden, the stage's sentence in the header's row, music looping.
    EXPECT_EQ(fm::test::child<QTimer>(s, "Timer1")->interval(), 1300);
    EXPECT_FALSE(fm::test::child<QSlider>(s, "TBar_Speed")->isEnabled());
    EXPECT_EQ(fm::test::child<QPushButton>(s, "Btn_Start")->text(), QStringLiteral("ゲームおわり"));
    EXPECT_FALSE(fm::test::headerButton(s, 4)->isVisible());
    EXPECT_EQ(s->sentence().label(1)->text(), QStringLiteral("%1ばんの").arg(s->game().stageKanji()));
    EXPECT_EQ(s->sentence().label(2)->x(), s->sentence().label(1)->x() + s->sentence().label(1)->width());
    w.t.sound.playerFor(QStringLiteral("Mogu.mid"))->finish();
    EXPECT_TRUE(w.t.sound.playerFor(QStringLiteral("Mogu.mid"))->playing);

    w.playToEnd(50);
    // The level raised and on disk at once, the board holds the 50 hits,
    // and each hit sound stopped the miss sound and started from the beginning.
    EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("おめでとう！ ごうかくです")});
    EXPECT_EQ(w.t.state.Game2Level, 3);
    EXPECT_EQ(w.levelOnDisk(), 3);
    ASSERT_EQ(w.board().size(), 1);
    EXPECT_EQ(w.board()[0].Score, 50);
    EXPECT_EQ(w.t.sound.log.count(QStringLiteral("wave1 rewind")), 50);
    EXPECT_EQ(w.t.sound.log.count(QStringLiteral("wave2 stop")), 50);
    // On a fresh mode screen (the old one is freed), the game and its sounds gone.
    EXPECT_TRUE(w.mode.isNull());
    EXPECT_NE(dynamic_cast<TF_Mode *>(w.t.nav.current()), nullptr);
    EXPECT_EQ(w.t.nav.find(ScreenId::Game2), nullptr);
    EXPECT_TRUE(w.t.sound.players.empty());
}

TEST(MoleScreen, ThirtySixHitsPassAndThirtyFiveFail)
{
    for (int hits : {36, 35}) {
        SCOPED_TRACE(hits);
        MoleWorld w(2, 5);
        w.start();
        w.playToEnd(hits, true);
        // Misses sound and cost nothing.
        EXPECT_GT(w.pressedDecoys, 0);
        EXPECT_EQ(w.t.sound.log.count(QStringLiteral("wave2 play")), w.pressedDecoys);
        EXPECT_EQ(w.board()[0].Score, hits);
        EXPECT_EQ(w.t.dialogs.texts(), QStringList{hits == 36 ? QStringLiteral("おめでとう！ ごうかくです")
                                                              : QStringLiteral("ざんねん！ ふごうかくです")});
        EXPECT_EQ(w.rosterOnDisk(), hits == 36);
    }
}

TEST(MoleScreen, AbandonedGamesRecordNothing)
{
    MoleWorld w(2, 5);
    TF_Game2 *s = w.screen;
    fm::test::child<QSlider>(s, "TBar_Speed")->setValue(15);
    // A double click on "ゲームはじめ" starts the game and does not end it again
    // (sent through the window as the desktop does: press, release, press, double click, release).
    const QPoint onButton =
        fm::test::child<QPushButton>(s, "Btn_Start")
            ->mapTo(s->window(), fm::test::child<QPushButton>(s, "Btn_Start")->rect().center());
    QTest::mouseDClick(s->window()->windowHandle(), Qt::LeftButton, {}, onButton);
    ASSERT_TRUE(s->running());
    EXPECT_EQ(fm::test::child<QTimer>(s, "Timer1")->interval(), 500);
    while (s->game().HitCount < 3) {
        fm::test::tick(s, "Timer1");
        for (int c = 1; c <= 5; ++c)
            for (int r = 1; r <= 5; ++r)
                if (s->game().isTarget(s->game().hole(c, r)))
                    w.press(c, r);
    }
    w.start(); // "ゲームおわり"
    w.t.processDeletes();
    EXPECT_EQ(w.t.nav.current(), w.mode);
    EXPECT_TRUE(w.t.dialogs.calls.empty());
    EXPECT_FALSE(QFile::exists(w.t.file(QStringLiteral("Game2.dat"))));
    EXPECT_FALSE(w.rosterOnDisk());
    EXPECT_EQ(w.t.state.Game2Level, 2);
    EXPECT_TRUE(w.t.sound.players.empty()) << "music, hit and miss players closed";

    // The back button before a game: straight back, presses on the field did nothing.
    MoleWorld before;
    before.press(3, 3);
    QTest::mouseClick(fm::test::headerButton(before.screen, 4), Qt::LeftButton);
    before.t.processDeletes();
    EXPECT_EQ(before.t.nav.current(), before.mode);
    EXPECT_TRUE(before.t.sound.log.filter(QStringLiteral("play")).isEmpty());
}

TEST(MoleScreen, FailingDevicesAndFiles)
{
    {
        // A won level that cannot be written: the file is named and the
        // program ends before any verdict or board speaks of it.
        MoleWorld w(2, 5);
        ASSERT_TRUE(QDir(w.t.state.ProgramDir).mkdir(QStringLiteral("Player1.dat")));
        w.start();
        w.playToEnd(50);
        EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("Player1.datでエラーがおこりました。 ")});
        EXPECT_TRUE(w.t.nav.quitRequested());
        EXPECT_TRUE(w.board().isEmpty());
    }
    {
        // The hit sound fails on every press: said once, every hit counts.
        MoleWorld w;
        w.t.sound.failures = {QStringLiteral("wave:play")};
        w.start();
        w.playToEnd(50);
        EXPECT_EQ(w.t.dialogs.texts().count(QStringLiteral("WAVEでエラーがおこりました。 ")), 1);
        EXPECT_EQ(w.board()[0].Score, 50);
    }
    MoleWorld w;
    w.t.sound.failures = {QStringLiteral("wave:open")};
    w.t.sound.log.clear();
    auto *noSound = w.t.nav.open<TF_Game2>();
    // The first wave player is named; the second is not even tried; the game plays silently.
    EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("Atari.wavでエラーがおこりました。 ")});
    EXPECT_EQ(w.t.sound.log.filter(QStringLiteral("open")).size(), 1);
    QTest::mouseClick(fm::test::child<QPushButton>(noSound, "Btn_Start"), Qt::LeftButton);
    fm::test::tick(noSound, "Timer1");
    QTest::mouseClick(fm::test::child<QWidget>(noSound, "Img1"), Qt::LeftButton, {}, QPoint(40, 62));
    EXPECT_EQ(w.t.dialogs.calls.size(), 1u);
    // A missing picture ends the program, naming the file.
    w.t.pictures.bitmaps.clear();
    w.t.nav.open<TF_Game2>();
    EXPECT_EQ(w.t.dialogs.texts().mid(1), QStringList{QStringLiteral("Mogura.bmpでエラーがおこりました。 ")});
    EXPECT_TRUE(w.t.nav.quitRequested());
}
