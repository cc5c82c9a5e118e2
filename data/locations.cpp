#include "data/locations.h"
#include "data/catalogue.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "data/gamescore.h"
#include "data/roster.h"
#include "data/stamps.h"
#include "data/studylog.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

// A file of the side folder's own: a regular file with no other name. A link
// (symbolic or hard) planted there is not a checked copy.
bool ownCopy(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1;
}

// What start-up needs of the data directory: a folder it can list and lock
// (open) and write a file in. 0 when it is so, else the error.
int dataDirUnusable(const QString &dataDir)
{
    struct stat st;
    if (::stat(QFile::encodeName(dataDir).constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    const int fd = ::open(QFile::encodeName(dataDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    return probeWrite(dataDir);
}

QString unusableDetail(int error)
{
    return QStringLiteral("cannot be created or written: ") + QString::fromLocal8Bit(std::strerror(error));
}

// The bytes of the records a first start would copy from programDir.
qint64 bytesToMove(const QString &programDir)
{
    qint64 total = 0;
    for (const QString &name : recordsIn(programDir))
        total += QFileInfo(programFile(programDir, name)).size();
    return total;
}

// The data directory's own trouble is shown with its whole path: it is the
// place a parent has to look at.
FileError directoryError(const QString &dataDir, const QString &detail, int error = 0)
{
    if (dataDir.isEmpty())
        return FileError(QStringLiteral("Fudemaru"), QStringLiteral("no data location: ") + detail);
    const QString name = QDir::toNativeSeparators(QDir::cleanPath(dataDir));
    return isDiskFull(error) ? FileError::diskFull(name, detail) : FileError(name, detail);
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

// Copies one record of the program directory into the side folder and
// checks the copy byte for byte.
void copyIntoSideFolder(const QString &programDir, const QString &moving, const QString &name,
                        const QString &dataDir)
{
    const auto bytes = readWholeFile(programDir, name, kMaxRecordsFileBytes);
    if (!bytes)
        throw FileError(name, QStringLiteral("vanished while being copied"));
    writeWholeFileAtomic(moving, name, *bytes);
    if (readWholeFile(moving, name, kMaxRecordsFileBytes, Links::Refuse) != bytes)
        throw FileError(name, QStringLiteral("the copy in %1 differs").arg(dataDir));
}

// Renames the checked copies of the side folder into the data directory; a
// file already there was moved before an interruption and is left alone.
// Only the move's own copies go into place: a link found in the side folder
// (symbolic, or a file with a second name) is taken away, the link itself
// and never what it leads to, and the record copied again from the program
// directory.
void finishMove(const QString &moving, const QString &dataDir, const QString &programDir)
{
    for (const QString &name : writtenFileNames()) {
        const QString source = programFile(moving, name);
        if (!entryExists(moving, name) || entryExists(dataDir, name))
            continue;
        if (!ownCopy(source)) {
            if (::unlink(QFile::encodeName(source).constData()) != 0 && errno != ENOENT)
                throw FileError(name, QStringLiteral("a link in %1 cannot be removed").arg(moving));
            if (!QFileInfo(programFile(programDir, name)).isFile())
                continue;
            copyIntoSideFolder(programDir, moving, name, dataDir);
        }
        renameWithoutReplacing(moving, name, QStringLiteral("../") + name);
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
        for (int i = 1; i <= MaxPlayers; ++i)
            n << stampFileName(i);
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
    if (QFileInfo(here.filePath(kanjiFileName())).isFile())
        return withSeparator(here.absolutePath());
    return withSeparator(QDir::cleanPath(here.absoluteFilePath(QStringLiteral("../share/fudemaru"))));
}

bool makeDataDir(const QString &dataDir)
{
    if (dataDir.isEmpty())
        return false;
    QDir().mkpath(dataDir);
    // Permission bits say little (root, read-only mounts): write a file.
    return dataDirUnusable(dataDir) == 0;
}

void checkDataDir(const QString &dataDir, const QString &programDir)
{
    if (dataDir.isEmpty())
        throw directoryError(dataDir, QStringLiteral("cannot be created or written"));
    // A folder not made yet: its nearest existing parent must take it.
    QString existing = QDir::cleanPath(dataDir);
    while (!QFileInfo::exists(existing) && !QFileInfo(existing).isSymLink() && existing != QDir::rootPath() &&
           !existing.isEmpty())
        existing = QFileInfo(existing).absolutePath();
    const bool exists = QDir::cleanPath(dataDir) == existing;
    const int error = exists ? dataDirUnusable(dataDir) : dataDirUnusable(existing);
    if (error)
        throw directoryError(dataDir,
                             exists ? unusableDetail(error)
                                    : unusableDetail(error) + QStringLiteral(" (in %1)").arg(existing),
                             error);
    if (programDir.isEmpty() || (exists && sameDirectory(dataDir, programDir)) ||
        (exists && !recordsIn(dataDir).isEmpty()))
        return;
    // The first start copies the old records here; all of them must fit.
    const qint64 needed = bytesToMove(programDir);
    const qint64 room = roomIn(exists ? dataDir : existing);
    if (needed > 0 && room >= 0 && room < needed)
        throw directoryError(dataDir,
                             QStringLiteral("has room for %1 bytes; the records to copy from %2 need %3")
                                 .arg(room)
                                 .arg(QDir::toNativeSeparators(programDir))
                                 .arg(needed),
                             ENOSPC);
}

void prepareDataDir(const QString &dataDir, const QString &programDir)
{
    if (dataDir.isEmpty())
        throw directoryError(dataDir, QStringLiteral("cannot be created or written"));
    QDir().mkpath(dataDir);
    if (const int error = dataDirUnusable(dataDir))
        throw directoryError(dataDir, unusableDetail(error), error);
    if (programDir.isEmpty() || sameDirectory(dataDir, programDir))
        return;
    const QString moving = programFile(dataDir, kMovingFolder);
    removeForeignSideFolder(moving, dataDir);
    if (!recordsIn(dataDir).isEmpty()) {
        // Records here: the move is done, or was cut short while renaming.
        if (QFileInfo(moving).isDir())
            finishMove(moving, dataDir, programDir);
        return;
    }
    // A side folder without records beside it is an unfinished copy: start again.
    QDir(moving).removeRecursively();
    const QStringList old = recordsIn(programDir);
    if (old.isEmpty())
        return;
    if (!QDir().mkpath(moving))
        throw directoryError(dataDir, QStringLiteral("cannot be written"));
    for (const QString &name : old)
        copyIntoSideFolder(programDir, moving, name, dataDir);
    finishMove(moving, dataDir, programDir);
}

} // namespace fm
