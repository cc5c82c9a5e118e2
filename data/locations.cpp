#include "data/locations.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "data/gamescore.h"
#include "data/roster.h"
#include "data/studylog.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <sys/stat.h>
#include <unistd.h>

namespace fm
{

namespace
{

// The side folder a move is written to before its files are renamed into place.
const QString kMovingFolder = QStringLiteral(".moving");

// The largest written file the program reads (a child's log); the roster and
// the boards are far smaller.
constexpr qint64 kMaxRecordsFileBytes = qint64(MaxLogRecords) * StudyRecordSize;

QString withSeparator(QString dir)
{
    dir = QDir::fromNativeSeparators(dir);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

bool sameDirectory(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// The written files that dir holds.
QStringList recordsIn(const QString &dir)
{
    QStringList found;
    for (const QString &name : writtenFileNames())
        if (QFileInfo(programFile(dir, name)).isFile())
            found << name;
    return found;
}

// The data directory's own trouble is shown with its whole path: it is the
// place a parent has to look at.
FileError directoryError(const QString &dataDir, const QString &detail)
{
    if (dataDir.isEmpty())
        return FileError(QStringLiteral("Fudemaru"), QStringLiteral("no data location: ") + detail);
    return FileError(QDir::toNativeSeparators(QDir::cleanPath(dataDir)), detail);
}

// The side folder is the program's own directory, never followed: anything
// else under its name (a link to a folder elsewhere, a file) is taken away
// itself, so that neither the move nor its clearing reaches outside the
// data directory.
void removeForeignSideFolder(const QString &moving, const QString &dataDir)
{
    struct stat st;
    const QByteArray p = QFile::encodeName(moving);
    if (::lstat(p.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return;
    if (::unlink(p.constData()) != 0)
        throw directoryError(dataDir,
                             QStringLiteral("holds a .moving that is not a folder and cannot be removed"));
}

// Renames the checked copies of the side folder into the data directory; a
// file already there was moved before an interruption and is left alone.
void finishMove(const QString &moving, const QString &dataDir)
{
    for (const QString &name : recordsIn(moving)) {
        const QString target = programFile(dataDir, name);
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::rename(programFile(moving, name), target))
            throw FileError(name, QStringLiteral("cannot be moved into %1").arg(dataDir));
    }
    QDir(moving).removeRecursively();
}

} // namespace

const QStringList &writtenFileNames()
{
    static const QStringList names = [] {
        QStringList n{rosterFileName()};
        for (int i = 1; i <= MaxPlayers; ++i)
            n << logFileName(i);
        n << boardFileName(GameId::Matching) << boardFileName(GameId::WhackAMole);
        return n;
    }();
    return names;
}

QString defaultDataDir()
{
    // The same folder AppDataLocation names for an application called
    // Fudemaru, without depending on the name the process was given.
    const QString location = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (location.isEmpty())
        return QString(); // no home: start-up says so rather than write beside the working directory
    return withSeparator(QDir(location).filePath(QStringLiteral("Fudemaru")));
}

QString shippedFilesDir(const QString &exeDir)
{
    const QDir here(exeDir);
    if (QFileInfo(here.filePath(QStringLiteral("Kanji1.dat"))).isFile())
        return withSeparator(here.absolutePath());
    return withSeparator(QDir::cleanPath(here.absoluteFilePath(QStringLiteral("../share/fudemaru"))));
}

bool makeDataDir(const QString &dataDir)
{
    if (dataDir.isEmpty() || !QDir().mkpath(dataDir) || !QFileInfo(dataDir).isDir())
        return false;
    // Permission bits say little (root, read-only mounts): write a file.
    QTemporaryFile probe(QDir(dataDir).filePath(QStringLiteral(".probe-XXXXXX")));
    return probe.open() && probe.write("1", 1) == 1 && probe.flush();
}

void prepareDataDir(const QString &dataDir, const QString &programDir)
{
    if (!makeDataDir(dataDir))
        throw directoryError(dataDir, QStringLiteral("cannot be created or written"));
    if (programDir.isEmpty() || sameDirectory(dataDir, programDir))
        return;
    const QString moving = programFile(dataDir, kMovingFolder);
    removeForeignSideFolder(moving, dataDir);
    if (!recordsIn(dataDir).isEmpty()) {
        // Records here: the move is done, or was cut short while renaming.
        if (QFileInfo(moving).isDir())
            finishMove(moving, dataDir);
        return;
    }
    // A side folder without records beside it is an unfinished copy: start again.
    QDir(moving).removeRecursively();
    const QStringList old = recordsIn(programDir);
    if (old.isEmpty())
        return;
    if (!QDir().mkpath(moving))
        throw directoryError(dataDir, QStringLiteral("cannot be written"));
    for (const QString &name : old) {
        const auto bytes = readWholeFile(programDir, name, kMaxRecordsFileBytes);
        if (!bytes)
            throw FileError(name, QStringLiteral("vanished while being copied"));
        writeWholeFileAtomic(moving, name, *bytes);
        if (readWholeFile(moving, name, kMaxRecordsFileBytes) != bytes)
            throw FileError(name, QStringLiteral("the copy in %1 differs").arg(dataDir));
    }
    finishMove(moving, dataDir);
}

} // namespace fm
