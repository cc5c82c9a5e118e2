// Where the records live: the one-time move out of the program directory and
// the data directory's failures.
#include "data/errors.h"
#include "data/locations.h"
#include "testutil.h"
#include <QDirIterator>
#include <QMap>
#include <sys/stat.h>
#include <unistd.h>

using namespace fm;

namespace
{

// Every file under dir with its bytes: what "left untouched" is checked against.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files[QDir(dir).relativeFilePath(path)] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?");
    }
    return files;
}

QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 31 + seed * 7) & 0xff);
    return b;
}

} // namespace

class DataLocationTest : public DataDirTest
{
  protected:
    QString program() const { return path("bin") + '/'; }
    QString data() const { return path("home/.local/share/Fudemaru") + '/'; }
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(program()));
        // Shipped files and an old program's records side by side.
        write("bin/Kanji1.dat", pattern(3000, 1));
        write("bin/Player1.dat", pattern(28 * 3, 2));
        write("bin/Kiroku1.dat", pattern(52 * 40, 3));
        write("bin/Kiroku3.dat", pattern(52 * 7, 4));
        write("bin/Game2.dat", pattern(24 * 10, 5));
    }
    void TearDown() override
    {
        QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

TEST_F(DataLocationTest, FirstStartCopiesTheRecordsOnceAndLeavesTheReadOnlyProgramDirectoryAlone)
{
    const auto before = snapshot(program());
    ASSERT_TRUE(QFile::setPermissions(program(), QFile::ReadOwner | QFile::ExeOwner));

    prepareDataDir(data(), program());

    const auto moved = snapshot(data());
    EXPECT_EQ(moved.keys(), (QStringList{"Game2.dat", "Kiroku1.dat", "Kiroku3.dat", "Player1.dat"}))
        << "records only, nothing shipped, no side folder or probe left";
    for (const QString &name : moved.keys())
        EXPECT_EQ(moved[name], before[name]) << name.toStdString();
    EXPECT_EQ(snapshot(program()), before);

    // The child plays on in the data directory; an old file showing up in
    // the program directory later is not mixed into its records.
    write("home/.local/share/Fudemaru/Player1.dat", pattern(28 * 4, 9));
    QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    write("bin/Kiroku4.dat", pattern(52, 6));
    prepareDataDir(data(), program());
    EXPECT_EQ(read("home/.local/share/Fudemaru/Player1.dat"), pattern(28 * 4, 9));
    EXPECT_FALSE(QFile::exists(data() + "Kiroku4.dat"));
}

TEST_F(DataLocationTest, AnInterruptedMoveIsFinishedOrStartedAgain)
{
    // Cut short while copying: a torn copy in the side folder, nothing in place.
    ASSERT_TRUE(QDir().mkpath(data() + ".moving"));
    write("home/.local/share/Fudemaru/.moving/Player1.dat", "torn");
    prepareDataDir(data(), program());
    EXPECT_EQ(read("home/.local/share/Fudemaru/Player1.dat"), pattern(28 * 3, 2));
    EXPECT_EQ(read("home/.local/share/Fudemaru/Kiroku3.dat"), pattern(52 * 7, 4));
    EXPECT_FALSE(QFileInfo::exists(data() + ".moving"));

    // Cut short while renaming: some records in place, the rest in the side folder.
    ASSERT_TRUE(QDir(data()).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(data() + ".moving"));
    write("home/.local/share/Fudemaru/Kiroku1.dat", pattern(52 * 40, 3));
    write("home/.local/share/Fudemaru/.moving/Player1.dat", pattern(28 * 3, 2));
    write("home/.local/share/Fudemaru/.moving/Game2.dat", pattern(24 * 10, 5));
    prepareDataDir(data(), program());
    EXPECT_EQ(snapshot(data()).keys(), (QStringList{"Game2.dat", "Kiroku1.dat", "Player1.dat"}));
    EXPECT_EQ(read("home/.local/share/Fudemaru/Player1.dat"), pattern(28 * 3, 2));
}

// The side folder's name taken by a link to a folder elsewhere: neither
// finishing nor restarting a move touches what the link leads to.
TEST_F(DataLocationTest, ASideFolderThatIsALinkNeverReachesOutsideTheDataDirectory)
{
    ASSERT_TRUE(QDir().mkpath(path("elsewhere")));
    write("elsewhere/Player1.dat", "someone else's");
    write("elsewhere/notes.txt", "keep");
    const auto outside = snapshot(path("elsewhere"));
    for (const bool recordsInPlace : {false, true}) {
        SCOPED_TRACE(recordsInPlace);
        ASSERT_TRUE(QDir(data()).removeRecursively());
        ASSERT_TRUE(QDir().mkpath(data()));
        if (recordsInPlace)
            write("home/.local/share/Fudemaru/Kiroku1.dat", pattern(52 * 40, 3));
        ASSERT_TRUE(QFile::link(path("elsewhere"), data() + ".moving"));
        prepareDataDir(data(), program());
        EXPECT_EQ(snapshot(path("elsewhere")), outside);
        EXPECT_FALSE(QFileInfo(data() + ".moving").isSymLink());
        EXPECT_EQ(read("home/.local/share/Fudemaru/Player1.dat"),
                  recordsInPlace ? QByteArray() : pattern(28 * 3, 2));
    }
}

// A side folder left holding links (symbolic, or files with a second name
// outside) is never "finished" into record files that are links: the move's
// own copies go into place, the others are copied again from the program
// directory, and nothing outside changes.
TEST_F(DataLocationTest, ALeftoverSideFolderOfLinksNeverBecomesTheRecords)
{
    ASSERT_TRUE(QDir().mkpath(path("elsewhere")));
    write("elsewhere/roster", pattern(28 * 2, 7));
    write("elsewhere/notes", pattern(52, 8));
    const auto outside = snapshot(path("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(data() + ".moving"));
    write("home/.local/share/Fudemaru/Kiroku1.dat", pattern(52 * 40, 3)); // the rename had begun
    ASSERT_TRUE(QFile::link(path("elsewhere/roster"), data() + ".moving/Player1.dat"));
    ASSERT_EQ(::link(QFile::encodeName(path("elsewhere/notes")).constData(),
                     QFile::encodeName(data() + ".moving/Kiroku3.dat").constData()),
              0);
    write("home/.local/share/Fudemaru/.moving/Game2.dat", pattern(24 * 10, 5)); // a copy of its own

    prepareDataDir(data(), program());

    for (const QString &name : {QStringLiteral("Player1.dat"), QStringLiteral("Kiroku3.dat")}) {
        struct stat st;
        ASSERT_EQ(::lstat(QFile::encodeName(data() + name).constData(), &st), 0) << name.toStdString();
        EXPECT_TRUE(S_ISREG(st.st_mode) && st.st_nlink == 1) << name.toStdString();
    }
    EXPECT_EQ(read("home/.local/share/Fudemaru/Player1.dat"), pattern(28 * 3, 2));
    EXPECT_EQ(read("home/.local/share/Fudemaru/Kiroku3.dat"), pattern(52 * 7, 4));
    EXPECT_EQ(read("home/.local/share/Fudemaru/Game2.dat"), pattern(24 * 10, 5));
    EXPECT_FALSE(QFileInfo::exists(data() + ".moving"));
    EXPECT_EQ(snapshot(path("elsewhere")), outside);
}

TEST_F(DataLocationTest, AnUnusableDataDirectoryIsNamedAndNothingIsTouched)
{
    const auto before = snapshot(program());
    // Something that is not a folder where the folder should be (root too cannot write there).
    ASSERT_TRUE(QDir().mkpath(path("home/.local/share")));
    write("home/.local/share/Fudemaru", "not a folder");
    const QString blocked = path("home/.local/share/Fudemaru");
    for (const QString &dir : {blocked + '/', blocked + "/deeper/"}) {
        try {
            prepareDataDir(dir, program());
            ADD_FAILURE() << "no error for " << dir.toStdString();
        } catch (const FileError &e) {
            EXPECT_EQ(e.message(), fileErrorMessage(QDir::cleanPath(dir)));
        }
        EXPECT_FALSE(makeDataDir(dir));
    }
    EXPECT_EQ(read("home/.local/share/Fudemaru"), "not a folder");
    EXPECT_EQ(snapshot(program()), before);

    if (geteuid() != 0) { // permission bits bind everyone but root
        QFile::remove(blocked);
        ASSERT_TRUE(QDir().mkpath(blocked));
        QFile::setPermissions(blocked, QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_THROW(prepareDataDir(blocked, program()), FileError);
        QFile::setPermissions(blocked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(snapshot(program()), before);
    }
}

TEST_F(DataLocationTest, TheDirectoriesAreFoundWhereTheDesktopAndTheInstallPutThem)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", path("xdg").toUtf8());
    EXPECT_EQ(defaultDataDir(), path("xdg/Fudemaru") + '/');
    qputenv("XDG_DATA_HOME", saved);

    // The build's program directory holds its files; an installed tree has them in share/.
    EXPECT_EQ(shippedFilesDir(program()), program());
    ASSERT_TRUE(QDir().mkpath(path("usr/bin")));
    EXPECT_EQ(shippedFilesDir(path("usr/bin")), path("usr/share/fudemaru") + '/');
}
