#include "data/stamps.h"
#include "data/studylog.h"
#include "recordfixture.h"
#include "records/player.h"
#include "records/touroku.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace fm;
using namespace records_test;
using Kind = fm::test::FakeDialogs::Kind;

namespace
{

// The screen's controls, by their names; kana key k (1..80) is "Btn_Moji<k>".
QPushButton *key(const TF_Touroku *s, int k)
{
    return fm::test::child<QPushButton>(s, "Btn_Moji", k);
}
QPushButton *button(const TF_Touroku *s, const char *name)
{
    return fm::test::child<QPushButton>(s, name);
}
QLabel *label(const TF_Touroku *s, const char *name)
{
    return fm::test::child<QLabel>(s, name);
}

void press(TF_Touroku *s, std::initializer_list<int> keys)
{
    for (int k : keys)
        QTest::mouseClick(key(s, k), Qt::LeftButton);
}

} // namespace

TEST(Touroku, BuildsKeysHeaderAndButtonsWhereTheyBelong)
{
    Shell t;
    auto *s = t.nav.open<TF_Touroku>();
    EXPECT_EQ(fm::test::headerButton(s, 1)->y(), 42);
    EXPECT_EQ(fm::test::headerButton(s, 4)->y(), label(s, "Label1")->geometry().bottom() + 1 + 10);
    EXPECT_EQ(label(s, "Label1")->text(), QStringLiteral("ボタンをおしてなまえをとうろくしてください。"));
    EXPECT_EQ(key(s, 1)->geometry(), QRect(10, 120, 40, 40));
    EXPECT_EQ(key(s, 41)->geometry(), QRect(230, 120, 40, 40));
    EXPECT_EQ(key(s, 80)->text(), QStringLiteral("ぽ"));
    EXPECT_EQ(button(s, "btn_clear")->geometry(), QRect(512, 340, 113, 37));
    EXPECT_EQ(button(s, "btn_Touroku")->geometry(), QRect(512, 396, 113, 37));
    EXPECT_FALSE(button(s, "btn_clear")->isVisible());
    EXPECT_TRUE(button(s, "btn_Touroku")->isVisible());
    EXPECT_TRUE(label(s, "lbl_Name")->text().isEmpty());
    EXPECT_EQ(key(s, 17)->cursor().shape(), t.shell.HandPointer.shape());
}

TEST(Touroku, FiveKanaMakeANameAndASixthIsRefused)
{
    Shell t;
    auto *s = t.nav.open<TF_Touroku>();
    press(s, {6, 37, 48, 49, 80}); // か, and the fillers い う え, then ぽ
    EXPECT_EQ(label(s, "lbl_Name")->text(), QStringLiteral("かいうえぽ"));
    EXPECT_EQ(s->kanaCount(), 5);
    EXPECT_TRUE(button(s, "btn_clear")->isVisible());
    EXPECT_TRUE(t.dialogs.calls.empty());

    press(s, {1});
    ASSERT_EQ(t.dialogs.calls.size(), 1u);
    EXPECT_EQ(t.dialogs.calls[0].kind, Kind::Message);
    EXPECT_EQ(t.dialogs.calls[0].text, QStringLiteral("名前が長すぎます。"));
    EXPECT_EQ(label(s, "lbl_Name")->text(), QStringLiteral("かいうえぽ"));
    EXPECT_EQ(s->kanaCount(), 5);
}

TEST(Touroku, DeletingToZeroHidesTheDeleteButtonUntilTheNextKana)
{
    Shell t;
    auto *s = t.nav.open<TF_Touroku>();
    press(s, {11, 12});
    QTest::mouseClick(button(s, "btn_clear"), Qt::LeftButton);
    EXPECT_EQ(label(s, "lbl_Name")->text(), QStringLiteral("さ"));
    EXPECT_TRUE(button(s, "btn_clear")->isVisible());
    QTest::mouseClick(button(s, "btn_clear"), Qt::LeftButton);
    EXPECT_EQ(label(s, "lbl_Name")->text(), QString());
    EXPECT_EQ(s->kanaCount(), 0);
    EXPECT_FALSE(button(s, "btn_clear")->isVisible());

    press(s, {80, 1, 2, 3, 4});
    EXPECT_EQ(label(s, "lbl_Name")->text(), QStringLiteral("ぽあいうえ"));
    EXPECT_TRUE(button(s, "btn_clear")->isVisible());
}

TEST(Touroku, AnEmptyNameRegistersNothingAndStillReturnsToTheMenu)
{
    Shell t;
    auto *s = t.nav.open<TF_Touroku>();
    press(s, {1});
    QTest::mouseClick(button(s, "btn_clear"), Qt::LeftButton);
    QTest::mouseClick(button(s, "btn_Touroku"), Qt::LeftButton);
    ASSERT_EQ(t.dialogs.calls.size(), 1u);
    EXPECT_EQ(t.dialogs.calls[0].text, QStringLiteral("名前を登録してください。"));
    EXPECT_EQ(t.state.Players.PlayerCount, 0);
    EXPECT_FALSE(QFile::exists(t.file(QStringLiteral("Player1.dat"))));
    EXPECT_EQ(t.nav.current(), t.menu);
    EXPECT_TRUE(t.menu->isVisible());
}

TEST(Touroku, BackDropsTheTypedName)
{
    Shell t;
    auto *s = t.nav.open<TF_Touroku>();
    QPointer<TF_Touroku> gone = s;
    press(s, {21, 22});
    QTest::mouseClick(fm::test::headerButton(s, 4), Qt::LeftButton);
    t.processDeletes();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(t.state.Players.PlayerCount, 0);
    EXPECT_FALSE(QFile::exists(t.file(QStringLiteral("Player1.dat"))));
    EXPECT_EQ(t.nav.current(), t.menu);
    EXPECT_TRUE(t.dialogs.calls.empty());

    // A new visit starts empty.
    auto *again = t.nav.open<TF_Touroku>();
    EXPECT_TRUE(label(again, "lbl_Name")->text().isEmpty());
    EXPECT_EQ(again->kanaCount(), 0);
}

TEST(Touroku, ARegisteredPlayerIsSavedAtOnceAndListed)
{
    Shell t;
    addPlayer(t.state, QStringLiteral("たろう"), 4, 2);
    auto *s = t.nav.open<TF_Touroku>();
    press(s, {30, 12, 2}); // ほ し い
    QTest::mouseClick(button(s, "btn_Touroku"), Qt::LeftButton);
    EXPECT_EQ(t.nav.current(), t.menu);
    ASSERT_EQ(t.state.Players.PlayerCount, 2);
    const PlayerEntry &e = t.state.Players.PlayerTable[2];
    EXPECT_EQ(e.Name, cp932::fromUnicode(QStringLiteral("ほしい")));
    EXPECT_EQ(e.Level, 1);
    EXPECT_EQ(e.Kind, fm::StudyKind::Reading);
    EXPECT_EQ(e.Game1Level, 0);
    EXPECT_EQ(e.Game2Level, 0);

    // On disk already, as if the program were killed now.
    Roster reloaded;
    loadRoster(reloaded, t.state.ProgramDir);
    ASSERT_EQ(reloaded.PlayerCount, 2);
    EXPECT_EQ(reloaded.PlayerTable[1].Name, cp932::fromUnicode(QStringLiteral("たろう")));
    EXPECT_EQ(reloaded.PlayerTable[2].Name, e.Name);
    EXPECT_EQ(reloaded.PlayerTable[2].Level, 1);
    QFile f(t.file(QStringLiteral("Player1.dat")));
    EXPECT_EQ(f.size(), 2 * PlayerRecordSize);

    auto *list = t.nav.open<TF_Player>();
    ASSERT_NE(playerName(list, 2), nullptr);
    EXPECT_EQ(playerName(list, 2)->text(), QStringLiteral("ほしい"));
}

TEST(Touroku, ARosterThatCannotBeWrittenEndsTheProgramWithItsMessage)
{
    Shell t;
    // A folder where the file should be: the rewrite cannot succeed.
    ASSERT_TRUE(QDir(t.state.ProgramDir).mkdir(QStringLiteral("Player1.dat")));
    auto *s = t.nav.open<TF_Touroku>();
    press(s, {1});
    QTest::mouseClick(button(s, "btn_Touroku"), Qt::LeftButton);
    ASSERT_EQ(t.dialogs.count(Kind::Fatal), 1);
    EXPECT_EQ(t.dialogs.calls.back().text, QStringLiteral("Player1.datでエラーがおこりました。 "));
    EXPECT_TRUE(t.nav.quitRequested());
}

TEST(Touroku, ALogLeftByALostRosterIsSetAsideNotHandedToTheNewChild)
{
    Shell t;
    writeStars(t);
    // Player1.dat was lost; the first child's log, level 1 passed, is still there.
    StudyRecord r;
    for (int q = 1; q <= 10; ++q) {
        r.Kanji[q] = int16_t(q);
        r.Correct[q] = 1;
    }
    for (int i = 0; i < 4; ++i)
        appendLogRecord(t.state.ProgramDir, 1, r);
    const QByteArray oldLog = [&] {
        QFile f(t.file(QStringLiteral("Kiroku1.dat")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_EQ(oldLog.size(), 4 * StudyRecordSize);
    ASSERT_TRUE(addStamp(t.state.ProgramDir, 1, 3)); // and its stamps

    auto *s = t.nav.open<TF_Touroku>();
    press(s, {30, 12, 2});
    QTest::mouseClick(button(s, "btn_Touroku"), Qt::LeftButton);
    ASSERT_EQ(t.state.Players.PlayerCount, 1);
    EXPECT_FALSE(QFile::exists(t.file(QStringLiteral("Kiroku1.dat"))));
    const QStringList setAside =
        QDir(t.state.ProgramDir).entryList({QStringLiteral("Kiroku1.orphaned-*.dat")});
    ASSERT_EQ(setAside.size(), 1) << "kept, under a name that says whose it is not";
    QFile kept(t.file(setAside.first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), oldLog);
    EXPECT_EQ(loadStamps(t.state.ProgramDir, 1), Stamps{}) << "no stamps of the old child";
    EXPECT_EQ(QDir(t.state.ProgramDir).entryList({QStringLiteral("Hanko1.orphaned-*.dat")}).size(), 1);

    // The new child starts at the beginning, with nothing of the old log.
    auto *list = t.nav.open<TF_Player>();
    QTest::mouseClick(playerName(list, 1), Qt::LeftButton);
    EXPECT_EQ(t.state.CurrentLevel, 1);
    EXPECT_EQ(t.state.CurrentKind, fm::StudyKind::Reading);
    EXPECT_EQ(t.state.Progress[1][1].AskedCount, 0);
    Roster reloaded;
    loadRoster(reloaded, t.state.ProgramDir);
    rebuildLevels(reloaded, t.state.ProgramDir);
    EXPECT_EQ(reloaded.PlayerTable[1].Kind, fm::StudyKind::Reading) << "after a restart too";
    EXPECT_TRUE(t.dialogs.calls.empty());
}
