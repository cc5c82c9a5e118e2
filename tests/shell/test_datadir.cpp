// Start-up with the records in the user's data directory: an old program
// directory's records arrive there once, the menu shows them, the end button
// saves there, and a data directory that cannot be used ends the program
// with its message.
#include "data/errors.h"
#include "data/roster.h"
#include "data/studylog.h"
#include "shell/mainform.h"
#include "shell/startup.h"
#include "support/testshell.h"
#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::TestShell;

namespace
{

// The shipped pictures and tables are stand-ins; the players and their
// records are read for real.
struct ShippedStandIns : StartupLoader {
    QImage loadButtonStrip(const QString &) override
    {
        QImage strip(384, 48, QImage::Format_RGB32);
        strip.fill(Qt::white);
        return strip;
    }
    void loadCatalogue(AppState &) override {}
    void loadQuestionIndex(AppState &s) override { s.Bank.QuestionIndexCount = 240; }
    QImage loadPopPicture(const QString &, int, int size) override
    {
        QImage square(size, size, QImage::Format_RGB32);
        square.fill(Qt::white);
        return square;
    }
};

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

StudyRecord passedTest(int level, int kind)
{
    StudyRecord r;
    r.Mode = StudyMode::Challenge;
    r.Level = int16_t(level);
    r.Kind = StudyKind(kind);
    r.Counted = 1;
    for (int i = 1; i <= 10; ++i) {
        r.Kanji[i] = int16_t(i);
        r.Correct[i] = 1;
    }
    return r;
}

struct OldProgramDirectory {
    TestShell t;
    QTemporaryDir home;
    QByteArray roster, log;

    OldProgramDirectory()
    {
        Roster old;
        addPlayer(old, "\x82\xbd\x82\xeb\x82\xa4"); // たろう
        addPlayer(old, "\x82\xcd\x82\xc8\x82\xb1"); // はなこ
        saveRoster(old, t.state.ProgramDir);
        for (int n = 0; n < 4; ++n)
            appendLogRecord(t.state.ProgramDir, 2, passedTest(1, 1));
        roster = bytesOf(t.file("Player1.dat"));
        log = bytesOf(t.file("Kiroku2.dat"));
        t.state.DataDir = home.filePath(".local/share/Fudemaru") + '/';
    }
};

} // namespace

TEST(DataDirectory, OldRecordsReachTheMenuAndTheEndButtonSavesBesideThem)
{
    OldProgramDirectory d;
    ShippedStandIns loader;
    auto *menu = new TF_Main(d.t.services, loader);
    ASSERT_TRUE(menu->FormCreate()) << d.t.dialogs.texts().join('|').toStdString();
    d.t.nav.show(menu);

    EXPECT_EQ(d.t.state.Players.PlayerCount, 2);
    EXPECT_EQ(d.t.state.Players.PlayerTable[2].Kind, StudyKind::Writing) << "levels come from the copied log";
    EXPECT_EQ(bytesOf(d.t.state.DataDir + "Player1.dat"), d.roster);
    EXPECT_EQ(bytesOf(d.t.state.DataDir + "Kiroku2.dat"), d.log);

    d.t.state.Players.PlayerTable[1].Game1Level = 3;
    QTest::mouseClick(fm::test::headerButton(menu, 8), Qt::LeftButton); // the door
    EXPECT_TRUE(d.t.dialogs.texts().isEmpty());
    Roster saved;
    loadRoster(saved, d.t.state.DataDir);
    EXPECT_EQ(saved.PlayerTable[1].Game1Level, 3);
    EXPECT_EQ(bytesOf(d.t.file("Player1.dat")), d.roster) << "the old program directory is left as it was";
}

TEST(DataDirectory, ADataDirectoryThatCannotBeMadeEndsStartUpWithItsMessage)
{
    OldProgramDirectory d;
    // A file where the folder should go: not even root can make it.
    QDir().mkpath(d.home.filePath(".local/share"));
    QFile blocker(d.home.filePath(".local/share/Fudemaru"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    ShippedStandIns loader;
    TF_Main menu(d.t.services, loader);
    EXPECT_FALSE(menu.FormCreate());
    EXPECT_EQ(d.t.dialogs.texts(),
              QStringList{fileErrorMessage(QDir::cleanPath(d.home.filePath(".local/share/Fudemaru")))});
    EXPECT_EQ(bytesOf(d.t.file("Player1.dat")), d.roster);
    EXPECT_EQ(bytesOf(d.t.file("Kiroku2.dat")), d.log);
    EXPECT_EQ(d.t.state.Players.PlayerCount, 0);
}
