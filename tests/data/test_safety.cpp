// No child's progress lost: a disk that fills up in the middle of a save,
// odd things in place of data files, leftovers of interrupted saves.
#include "data/errors.h"
#include "data/fileio.h"
#include "data/gamescore.h"
#include "data/progress.h"
#include "data/roster.h"
#include "data/settings.h"
#include "data/stamps.h"
#include "data/studylog.h"
#include "testutil.h"
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace fm;

namespace
{

// The FileError a call throws; fails the test when it throws none.
FileError errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const FileError &e) {
        return e;
    }
    ADD_FAILURE() << "no FileError";
    return FileError(QString());
}

QString messageFor(const QString &name)
{
    return name + QStringLiteral("でエラーがおこりました。 ");
}

QString diskFullFor(const QString &name)
{
    return messageFor(name) + QString::fromUtf8(DiskFullSentence);
}

Roster rosterOf(std::initializer_list<const char *> names)
{
    Roster r;
    for (const char *n : names)
        addPlayer(r, sj(n));
    return r;
}

StudyRecord record(int right)
{
    StudyRecord r;
    r.Time = 46000.5;
    for (int i = 1; i <= QuestionsPerTest; ++i) {
        r.Kanji[i] = static_cast<int16_t>(i);
        r.Correct[i] = i <= right ? 1 : 0;
    }
    return r;
}

// A test that would hang on a FIFO ends with a failure instead.
struct HangGuard {
    HangGuard() { ::alarm(20); }
    ~HangGuard() { ::alarm(0); }
};

} // namespace

class SaveFaultTest : public DataDirTest
{
  protected:
    // Nothing but the expected files: no temporary of a failed save is left.
    void expectOnly(const QStringList &names)
    {
        QStringList all = QDir(dir()).entryList(QDir::Files | QDir::Hidden);
        all.sort();
        QStringList expected = names;
        expected.sort();
        EXPECT_EQ(all, expected);
    }
};

TEST_F(SaveFaultTest, AFullDiskNeverReplacesTheRosterBoardsSettingsOrStamps)
{
    // The four whole-file saves, each with its old contents in place.
    saveRoster(rosterOf({"たろう", "はなこ", "じろう"}), dir());
    writeBoard(dir(), GameId::Matching, {{12, sj("はなこ"), 46000.0}, {9, sj("たろう"), 45990.0}});
    AppSettings settings;
    writeSettings(settings, path("Fudemaru.ini"), 7, 12, false);
    ASSERT_TRUE(addStamp(dir(), 1, 3));
    const QByteArray roster = read("Player1.dat"), board = read("Game1.dat"), ini = read("Fudemaru.ini");
    const QByteArray stamps = read("Hanko1.dat");
    ASSERT_EQ(roster.size(), 3 * PlayerRecordSize);

    const Roster bigger = rosterOf({"たろう", "はなこ", "じろう", "さくら"});
    const QVector<GameScoreRecord> newBoard{{15, sj("さくら"), 46001.0}, {12, sj("はなこ"), 46000.0}};
    struct Fault {
        qint64 bytesThatFit;
        SyncForTesting sync;
    };
    for (const Fault f :
         {Fault{0, SyncForTesting::Real}, Fault{1, SyncForTesting::Real}, Fault{50, SyncForTesting::Real},
          Fault{4 * PlayerRecordSize - 1, SyncForTesting::Real}, Fault{-1, SyncForTesting::Fails}}) {
        SCOPED_TRACE(f.bytesThatFit);
        WriteFaultForTesting fault(f.bytesThatFit, f.sync);
        // A full disk is named as such; a disk that fails otherwise is not called full.
        const auto expected = f.sync == SyncForTesting::Fails ? messageFor : diskFullFor;
        EXPECT_EQ(errorOf([&] { saveRoster(bigger, dir()); }).message(), expected("Player1.dat"));
        EXPECT_EQ(errorOf([&] { writeBoard(dir(), GameId::Matching, newBoard); }).message(),
                  expected("Game1.dat"));
        EXPECT_EQ(errorOf([&] { writeSettings(settings, path("Fudemaru.ini"), 3, 4, false); }).message(),
                  expected("Fudemaru.ini"));
        EXPECT_EQ(errorOf([&] { addStamp(dir(), 1, 9); }).message(), expected("Hanko1.dat"));
        EXPECT_EQ(read("Player1.dat"), roster) << "every child is still there";
        EXPECT_EQ(read("Hanko1.dat"), stamps);
        EXPECT_EQ(read("Game1.dat"), board);
        EXPECT_EQ(read("Fudemaru.ini"), ini);
        EXPECT_EQ(settings.WriteTimeLimit, 7) << "the limits in use stay as they were";
        EXPECT_EQ(settings.ReadTimeLimit, 12);
        expectOnly({"Player1.dat", "Game1.dat", "Fudemaru.ini", "Hanko1.dat"});
    }

    // With room again, the same saves go through.
    saveRoster(bigger, dir());
    Roster back;
    loadRoster(back, dir());
    EXPECT_EQ(back.PlayerCount, 4);
    writeSettings(settings, path("Fudemaru.ini"), 3, 4, false);
    EXPECT_EQ(settings.WriteTimeLimit, 3);
    EXPECT_TRUE(addStamp(dir(), 1, 9));
    EXPECT_TRUE(loadStamps(dir(), 1)[3]);
}

TEST_F(SaveFaultTest, AShortAppendIsReportedAndTakenBackSoTheLogStaysWhole)
{
    AppState state;
    state.ProgramDir = dir();
    state.DataDir = dir();
    addPlayer(state.Players, sj("いち"));
    state.CurrentPlayer = 1;
    const QByteArray two = encodeStudyRecord(record(10)) + encodeStudyRecord(record(9));
    write("Kiroku1.dat", two + encodeStudyRecord(record(8)).left(30)); // torn by an earlier crash
    for (int i = 1; i <= QuestionsPerTest; ++i)
        state.QuestionSlots[i] = QuestionSlot{static_cast<int16_t>(i), 0, {}, {}, {}, 0, 1};
    {
        WriteFaultForTesting fault(20);
        EXPECT_EQ(errorOf([&] { recordTest(state, true, 46001.0); }).message(), diskFullFor("Kiroku1.dat"));
    }
    EXPECT_EQ(read("Kiroku1.dat"), two) << "neither the torn record nor the cut-short one stays";
    {
        WriteFaultForTesting fault(-1, SyncForTesting::Fails);
        EXPECT_EQ(errorOf([&] { recordTest(state, true, 46002.0); }).message(), messageFor("Kiroku1.dat"));
    }
    recordTest(state, true, 46003.0);
    const LogContents log = readLog(dir(), 1);
    EXPECT_EQ(log.tailBytes, 0);
    ASSERT_GE(log.records.size(), 3);
    EXPECT_EQ(log.records.last().Time, 46003.0) << "the next test lands on a record boundary";
}

// Odd objects in place of the files a loader reads: test_damaged_files.cpp.
class OddFileTest : public DataDirTest
{
  protected:
    void SetUp() override { ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0); }
};

TEST_F(OddFileTest, NothingIsEverWrittenThroughALinkToSomethingElse)
{
    HangGuard guard;
    const QString fifo = path("fifo");
    AppSettings settings;
    for (const QString &name : {QStringLiteral("Player1.dat"), QStringLiteral("Game1.dat"),
                                QStringLiteral("Fudemaru.ini"), QStringLiteral("Kiroku1.dat")}) {
        SCOPED_TRACE(name.toStdString());
        const auto save = [&] {
            if (name == "Player1.dat")
                saveRoster(rosterOf({"に"}), dir());
            else if (name == "Game1.dat")
                writeBoard(dir(), GameId::Matching, {{1, "a", 1.0}});
            else if (name == "Fudemaru.ini")
                writeSettings(settings, path(name), 5, 5, false);
            else
                appendLogRecord(dir(), 1, record(3));
        };
        for (const QString &target : {fifo, path("nothing-there")}) {
            QFile::remove(path(name));
            ASSERT_TRUE(QFile::link(target, path(name)));
            EXPECT_EQ(errorOf(save).message(), messageFor(name));
            EXPECT_EQ(QFileInfo(path(name)).symLinkTarget(), target) << "the link stays as it was";
            EXPECT_FALSE(QFileInfo::exists(path("nothing-there"))) << "no file is made at a link's target";
        }
        struct stat st;
        ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO is still a FIFO";

        // A link to a regular file outside the folder: a record file is
        // refused, read or written, and the file outside keeps its bytes; the
        // settings file (kept among the user's settings) follows its link.
        QTemporaryDir outside;
        const QString target = QDir(outside.path()).filePath(name);
        {
            QFile f(target);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(PlayerRecordSize, 'x'));
        }
        QFile::remove(path(name));
        ASSERT_TRUE(QFile::link(target, path(name)));
        const auto outsideBytes = [&] {
            QFile f(target);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        if (name == "Fudemaru.ini") {
            save();
            EXPECT_TRUE(QFileInfo(path(name)).isSymLink());
            EXPECT_TRUE(outsideBytes().contains("Write_Time"));
            continue;
        }
        EXPECT_EQ(errorOf(save).message(), messageFor(name));
        const auto load = [&] {
            Roster r;
            if (name == "Player1.dat")
                loadRoster(r, dir());
            else if (name == "Game1.dat")
                readBoard(dir(), GameId::Matching);
            else
                readLog(dir(), 1);
        };
        EXPECT_EQ(errorOf(load).message(), messageFor(name)) << "refused before a child plays for nothing";
        EXPECT_EQ(outsideBytes(), QByteArray(PlayerRecordSize, 'x'))
            << "nothing outside the folder is touched";
        EXPECT_EQ(QFileInfo(path(name)).symLinkTarget(), target);
        // A second name for the same file (a hard link to a parent's notes, or
        // the live files after a "cp -al" backup) is refused as a link is.
        QFile::remove(path(name));
        ASSERT_EQ(::link(QFile::encodeName(target).constData(), QFile::encodeName(path(name)).constData()),
                  0);
        EXPECT_TRUE(errorOf(save).detail().contains("hard link"));
        EXPECT_EQ(errorOf(load).message(), messageFor(name));
        EXPECT_EQ(outsideBytes(), QByteArray(PlayerRecordSize, 'x')) << "the other name keeps every byte";
        QFile::remove(path(name));
    }
}

// Two copies on one folder (the lock failed, or the folder was shared): the
// second copy's saves never drop a child the first one registered.
TEST_F(DataDirTest, ARosterSaveNeverDropsAChildAnotherCopyRegistered)
{
    saveRoster(rosterOf({"たろう", "はなこ"}), dir());
    Roster copyA, copyB;
    loadRoster(copyA, dir());
    loadRoster(copyB, dir());
    ASSERT_EQ(registerPlayer(copyA, dir(), sj("さくら")), 3);
    appendLogRecord(dir(), 3, record(7));
    const QByteArray rosterA = read("Player1.dat"), logA = read("Kiroku3.dat");

    // Copy B registers a child of its own at the same number, and later ends
    // (its end button saves the roster it holds).
    const FileError e = errorOf([&] { registerPlayer(copyB, dir(), sj("ゆうき")); });
    EXPECT_EQ(e.fileName(), "Player1.dat");
    EXPECT_NE(e.message(), messageFor("Player1.dat")) << "the message says another copy changed it";
    EXPECT_TRUE(e.message().contains("ほかの ふでまる")) << e.message().toStdString();
    EXPECT_TRUE(e.detail().contains("another copy")) << e.detail().toStdString();
    EXPECT_EQ(copyB.PlayerCount, 2);
    EXPECT_EQ(errorOf([&] { saveRoster(copyB, dir()); }).fileName(), "Player1.dat");
    copyB.PlayerTable[1].Level = 4; // what a game won in copy B would save
    EXPECT_EQ(errorOf([&] { saveRoster(copyB, dir()); }).fileName(), "Player1.dat");
    EXPECT_EQ(read("Player1.dat"), rosterA) << "さくら is still registered";
    EXPECT_EQ(read("Kiroku3.dat"), logA) << "and her log was not set aside";

    // Copy A itself saves as before (a game level won), and a copy that reads
    // the roster again goes on; one that did not cannot take the level back.
    Roster stale;
    loadRoster(stale, dir());
    copyA.PlayerTable[3].Game2Level = 2;
    saveRoster(copyA, dir());
    EXPECT_EQ(errorOf([&] { saveRoster(stale, dir()); }).fileName(), "Player1.dat");
    loadRoster(copyB, dir());
    EXPECT_EQ(registerPlayer(copyB, dir(), sj("ゆうき")), 4);
    Roster back;
    loadRoster(back, dir());
    EXPECT_EQ(back.PlayerTable[3].Game2Level, 2);
}

// A copy killed at any moment of its saves (registration, a level saved, a
// test appended) leaves a roster and a log the next start reads whole.
TEST_F(DataDirTest, AKillInTheMiddleOfAnySaveLeavesFilesTheNextStartReads)
{
    for (int round = 0; round < 24; ++round) {
        SCOPED_TRACE(round);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            WriteFaultForTesting fast(-1, SyncForTesting::Skipped); // a kill, not a power cut
            try {
                for (int i = 0;; ++i) {
                    Roster r;
                    loadRoster(r, dir());
                    if (r.PlayerCount < MaxPlayers) {
                        registerPlayer(r, dir(), sj("こ"));
                    } else {
                        r.PlayerTable[1 + i % MaxPlayers].Level = int16_t(1 + i % 12);
                        saveRoster(r, dir());
                    }
                    appendLogRecord(dir(), 1, record(i % 11));
                }
            } catch (...) {
                ::_exit(3);
            }
        }
        ::usleep(useconds_t(2000 + round * 1500));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saves never failed before the kill";
        Roster back;
        EXPECT_NO_THROW(loadRoster(back, dir()));
        const LogContents log = readLog(dir(), 1);
        EXPECT_EQ(log.skipped, 0);
        removeSaveTemporaries(dir()); // as the next start does
    }
    Roster back;
    loadRoster(back, dir());
    EXPECT_GT(back.PlayerCount, 0);
    EXPECT_GT(readLog(dir(), 1).records.size(), 0);
}

TEST_F(DataDirTest, OnlyTheTemporariesOfOurOwnSavesAreRemoved)
{
    const QStringList ours{"Player1.dat.saving-Ab12Cd", "Game2.dat.saving-000000",
                           "Fudemaru.ini.saving-xYzW9q"};
    const QStringList others{"Player1.dat.saving-Ab12C", "Player1.dat.backup", "notes.txt.saving-Ab12Cd",
                             "Player1.dat.saving-Ab12Cd.old"};
    for (const QString &n : ours + others)
        write(n, "x");
    QDir(dir()).mkdir("Game1.dat.saving-dirdir");
    ASSERT_TRUE(QFile::link(path("Player1.dat.backup"), path("Kanji1.dat.saving-link12")));
    write("Player1.dat", "keep");

    EXPECT_EQ(removeSaveTemporaries(dir(), "Fudemaru.ini"), QStringList{"Fudemaru.ini.saving-xYzW9q"});
    QStringList left = ours.mid(0, 2);
    left.sort();
    EXPECT_EQ(saveTemporaries(dir()), left);
    removeSaveTemporaries(dir());
    EXPECT_TRUE(saveTemporaries(dir()).isEmpty());
    for (const QString &n :
         others + QStringList{"Player1.dat", "Game1.dat.saving-dirdir", "Kanji1.dat.saving-link12"})
        EXPECT_TRUE(QFileInfo(path(n)).exists() || QFileInfo(path(n)).isSymLink()) << n.toStdString();
}
