// The sound rules against the fake players.
#include "shell/music.h"
#include "support/testshell.h"
#include <gtest/gtest.h>

using namespace fm;
using fm::test::FakeDialogs;
using fm::test::TestShell;

TEST(ScreenMusic, StartsLoopsAndStops)
{
    TestShell t;
    t.shell.MidiDeviceCount = 1;
    ScreenMusic music(t.services, QStringLiteral("Mondai.mid"));
    music.start();
    EXPECT_TRUE(music.playing());
    auto *p = t.sound.playerFor(QStringLiteral("Mondai.mid"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->path, t.file("Mondai.mid"));
    EXPECT_TRUE(p->notify());

    p->finish(); // the end: it plays again from the beginning
    EXPECT_TRUE(p->playing);
    EXPECT_EQ(p->playedFrom, 0);
    EXPECT_TRUE(p->notify());
    p->finish();
    EXPECT_TRUE(p->playing);

    music.stop();
    EXPECT_FALSE(music.playing());
    EXPECT_FALSE(p->isOpen());
    EXPECT_FALSE(p->notify());
    EXPECT_EQ(t.sound.log.mid(t.sound.log.size() - 2), (QStringList{"music1 stop", "music1 close"}));
    EXPECT_TRUE(t.dialogs.calls.empty());
}

TEST(ScreenMusic, ComingBackRestartsThePieceFromTheBeginning)
{
    TestShell t;
    t.shell.MidiDeviceCount = 1;
    ScreenMusic music(t.services, QStringLiteral("Menu.mid"));
    music.start();
    auto *p = t.sound.playerFor(QStringLiteral("Menu.mid"));
    p->advance(25000);
    music.stop();
    music.start();
    EXPECT_EQ(p->position, 0);
    EXPECT_EQ(p->playedFrom, 0);
    EXPECT_TRUE(p->playing);
}

TEST(ScreenMusic, NoMidiDeviceNothingHappens)
{
    TestShell t;
    t.shell.MidiDeviceCount = 0;
    ScreenMusic music(t.services, QStringLiteral("Menu.mid"));
    music.start();
    music.stop();
    EXPECT_FALSE(music.playing());
    EXPECT_TRUE(t.sound.log.isEmpty());
    EXPECT_TRUE(t.dialogs.calls.empty());
}

TEST(ScreenMusic, DeviceErrorsNameTheMusicFileAndTheScreenGoesOn)
{
    for (QString failing : {"music:open", "music:play"}) {
        TestShell t;
        t.shell.MidiDeviceCount = 1;
        t.sound.failures = {failing};
        ScreenMusic music(t.services, QStringLiteral("ichiran.mid"));
        music.start();
        EXPECT_FALSE(music.playing());
        EXPECT_EQ(t.dialogs.texts(), QStringList{QStringLiteral("ichiran.mid でエラーがおこりました。 ")});
        EXPECT_EQ(t.dialogs.calls[0].kind, FakeDialogs::Kind::Message);
        music.stop(); // never started: nothing to stop, nothing said
        EXPECT_EQ(t.dialogs.calls.size(), 1u);
    }
    TestShell t;
    t.shell.MidiDeviceCount = 1;
    ScreenMusic music(t.services, QStringLiteral("Eawase.mid"));
    music.start();
    t.sound.failures = {"music:stop"};
    music.stop();
    EXPECT_FALSE(music.playing()); // leaving goes on as if the stop had worked
    EXPECT_FALSE(t.sound.players.front()->isOpen());
    EXPECT_EQ(t.dialogs.texts(), QStringList{QStringLiteral("Eawase.mid でエラーがおこりました。 ")});
}

TEST(ScreenMusic, AnEndAfterStoppingDoesNotRestart)
{
    TestShell t;
    t.shell.MidiDeviceCount = 1;
    ScreenMusic music(t.services, QStringLiteral("Menu.mid"));
    music.start();
    auto *p = t.sound.playerFor(QStringLiteral("Menu.mid"));
    p->setNotify(true); // a late end arriving after the flag was cleared
    music.stop();
    p->onEnd();
    EXPECT_FALSE(p->playing);
}

TEST(RightWrongSounds, WrongInterruptsRightAndStartsFromItsBeginning)
{
    TestShell t;
    RightWrongSounds rw;
    ASSERT_TRUE(rw.open(t.sound, t.state.ProgramDir));
    auto *maru = static_cast<fm::test::FakeMediaPlayer *>(rw.MP_Maru.get());
    auto *batsu = static_cast<fm::test::FakeMediaPlayer *>(rw.MP_Batsu.get());
    EXPECT_EQ(maru->path, t.file("Maru.wav"));
    EXPECT_EQ(batsu->path, t.file("Batsu.wav"));

    batsu->length = 800;
    rw.playWrong();
    batsu->advance(500);
    rw.playRight();
    EXPECT_FALSE(batsu->playing);
    EXPECT_TRUE(maru->playing);
    maru->advance(300);
    t.sound.log.clear();
    rw.playWrong();
    EXPECT_EQ(t.sound.log, (QStringList{"wave1 stop", "wave2 rewind", "wave2 play"}));
    EXPECT_FALSE(maru->playing);
    EXPECT_EQ(batsu->playedFrom, 0);

    rw.silenceBoth();
    EXPECT_FALSE(maru->playing);
    EXPECT_FALSE(batsu->playing);
    rw.close();
    EXPECT_FALSE(rw.isOpen());
}

TEST(RightWrongSounds, UnopenablePlayersLeaveMarkingSilent)
{
    TestShell t;
    RightWrongSounds rw;
    t.sound.failures = {"wave:open"};
    EXPECT_FALSE(rw.open(t.sound, t.state.ProgramDir));
    rw.playRight();
    rw.playWrong();
    rw.silenceBoth();
    EXPECT_FALSE(rw.isOpen());
    EXPECT_TRUE(t.dialogs.calls.empty());
}
