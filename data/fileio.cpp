#include "data/fileio.h"
#include "data/errors.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace fm
{

namespace
{

// The test seam's state: bytes that still fit (negative: no limit), and
// whether syncing fails.
qint64 g_bytesThatFit = -1;
SyncForTesting g_sync = SyncForTesting::Real;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QString why(const char *what, int error)
{
    return QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

// A failed write names its file and, when the disk (or the user's share of
// it) is full, says so: that is the one cause a parent can mend at once.
FileError writeFailure(const QString &name, const char *what, int error)
{
    if (isDiskFull(error))
        return FileError::diskFull(name, why(what, error));
    return FileError(name, why(what, error));
}

class Fd
{
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether the close went well.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool writeAll(int fd, const char *data, qint64 size, qint64 offset)
{
    while (size > 0) {
        qint64 chunk = size;
        if (g_bytesThatFit >= 0) {
            if (g_bytesThatFit == 0) {
                errno = ENOSPC;
                return false;
            }
            chunk = std::min(chunk, g_bytesThatFit);
        }
        const ssize_t n = ::pwrite(fd, data, static_cast<size_t>(chunk), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        if (g_bytesThatFit >= 0)
            g_bytesThatFit -= n;
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

bool syncToDisk(int fd)
{
    if (g_sync == SyncForTesting::Fails) {
        errno = EIO;
        return false;
    }
    return g_sync == SyncForTesting::Skipped || ::fsync(fd) == 0;
}

// A rename or a new entry lasts across a power cut only once its directory
// is synced. Some file systems cannot sync a directory; nothing more can be
// done there.
void syncDirectory(const QByteArray &dirPath)
{
    const int fd = ::open(dirPath.isEmpty() ? "." : dirPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    syncToDisk(fd);
    ::close(fd);
}

QByteArray directoryOf(const QByteArray &path)
{
    const int slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

// A record file that shares its contents with another name (a hard link,
// such as a "cp -al" backup or a parent's notes file) is treated as a link:
// an append would change the other name's file too.
QString hardLinked(const struct stat &st)
{
    return QStringLiteral("has %1 hard links (another name shares its contents); a record file must be "
                          "a file of its own")
        .arg(qulonglong(st.st_nlink));
}

// Opens a regular file for reading; -1 when there is none (a link to nothing
// counts as none when links are followed). Anything else is refused before it
// is opened.
int openForReading(const QString &path, const QString &name, qint64 *size, Links links)
{
    const QByteArray p = native(path);
    const bool follow = links == Links::Follow;
    struct stat st;
    if ((follow ? ::stat(p.constData(), &st) : ::lstat(p.constData(), &st)) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return -1;
        throw FileError(name, why("cannot be examined", errno));
    }
    if (S_ISLNK(st.st_mode))
        throw FileError(name, QStringLiteral("is a symbolic link; a record file must be a file of its own"));
    if (!S_ISREG(st.st_mode))
        throw FileError(name, QStringLiteral("is not a regular file"));
    if (!follow && st.st_nlink > 1)
        throw FileError(name, hardLinked(st));
    // Non-blocking, so that something swapped in since the look above cannot hang the open.
    const int fd =
        ::open(p.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (follow ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        if (errno == ENOENT)
            return -1;
        if (errno == ELOOP && !follow)
            throw FileError(name,
                            QStringLiteral("is a symbolic link; a record file must be a file of its own"));
        throw FileError(name, why("cannot be opened", errno));
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw FileError(name, QStringLiteral("is not a regular file"));
    }
    if (!follow && st.st_nlink > 1) {
        ::close(fd);
        throw FileError(name, hardLinked(st));
    }
    *size = st.st_size;
    return fd;
}

// Reads from offset until the end of the file or until `limit` bytes are in.
QByteArray readUpTo(int fd, qint64 offset, qint64 limit, qint64 sizeHint, const QString &name)
{
    QByteArray out;
    qint64 got = 0;
    qint64 capacity = std::clamp<qint64>(sizeHint, 0, limit);
    out.resize(static_cast<qsizetype>(std::max<qint64>(capacity, 1)));
    while (got < limit) {
        if (got == out.size())
            out.resize(static_cast<qsizetype>(std::min<qint64>(limit, std::max<qint64>(2 * got, 4096))));
        const ssize_t n = ::pread(fd, out.data() + got, static_cast<size_t>(out.size() - got), offset + got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(name, why("cannot be read", errno));
        }
        if (n == 0)
            break;
        got += n;
    }
    out.truncate(static_cast<qsizetype>(got));
    return out;
}

std::optional<QByteArray> readWhole(const QString &path, const QString &name, qint64 maxBytes, Links links)
{
    qint64 size = 0;
    const int raw = openForReading(path, name, &size, links);
    if (raw < 0)
        return std::nullopt;
    Fd fd(raw);
    const auto tooLarge = [&](qint64 bytes) {
        return FileError(
            name, QStringLiteral("%1 bytes, more than the %2 its format allows").arg(bytes).arg(maxBytes));
    };
    if (size > maxBytes)
        throw tooLarge(size);
    // One byte beyond the cap tells a file that grew (or whose size the system does not know).
    QByteArray bytes = readUpTo(fd.get(), 0, maxBytes + 1, size + 1, name);
    if (bytes.size() > maxBytes)
        throw tooLarge(bytes.size());
    return bytes;
}

const QString kLinkRefused =
    QStringLiteral("is a symbolic link; the program writes no record through a link");

// What a save writes: the file itself or, where links are followed, the
// regular file a link points at. Anything else is refused. *old is filled
// when there is a file already.
QByteArray writeTarget(const QString &path, const QString &name, Links links, struct stat *old, bool *exists)
{
    const QByteArray p = native(path);
    struct stat st;
    *exists = false;
    if (::lstat(p.constData(), &st) != 0) {
        if (errno == ENOENT)
            return p;
        throw FileError(name, why("cannot be examined", errno));
    }
    if (S_ISREG(st.st_mode)) {
        if (links == Links::Refuse && st.st_nlink > 1)
            throw FileError(name, hardLinked(st));
        *old = st;
        *exists = true;
        return p;
    }
    if (!S_ISLNK(st.st_mode))
        throw FileError(name, QStringLiteral("is not a regular file"));
    if (links == Links::Refuse)
        throw FileError(name, kLinkRefused);
    if (::stat(p.constData(), &st) != 0)
        throw FileError(name, QStringLiteral("is a link to nothing"));
    if (!S_ISREG(st.st_mode))
        throw FileError(name, QStringLiteral("is a link to something that is not a regular file"));
    char *real = ::realpath(p.constData(), nullptr);
    if (!real)
        throw FileError(name, why("cannot follow its link", errno));
    const QByteArray target(real);
    std::free(real);
    *old = st;
    *exists = true;
    return target;
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void writeAtomic(const QString &path, const QString &name, const QByteArray &bytes, Links links)
{
    struct stat old {
    };
    bool exists = false;
    const QByteArray target = writeTarget(path, name, links, &old, &exists);
    QByteArray temporary = target + ".saving-XXXXXX";
    Fd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        throw writeFailure(name, "cannot create a temporary file", errno);
    bool open = true;
    const auto fail = [&](const char *what) {
        const int error = errno;
        if (open)
            fd.close();
        ::unlink(temporary.constData());
        throw writeFailure(name, what, error);
    };
    // mkostemp makes the file private; the saved file keeps the old one's
    // permissions, or the usual ones when it is new.
    ::fchmod(fd.get(), exists ? (old.st_mode & 07777) : newFileMode());
    if (!writeAll(fd.get(), bytes.constData(), bytes.size(), 0))
        fail("cannot be written");
    if (!syncToDisk(fd.get()))
        fail("cannot be synced to disk");
    open = false;
    if (!fd.close())
        fail("cannot be closed");
    // The rename replaces the entry itself and never follows what stands
    // there; a link put in the file's place since the look above is refused
    // rather than overwritten.
    if (links == Links::Refuse) {
        struct stat now;
        if (::lstat(target.constData(), &now) == 0 && (!S_ISREG(now.st_mode) || now.st_nlink > 1)) {
            ::unlink(temporary.constData());
            throw FileError(name, S_ISLNK(now.st_mode)   ? kLinkRefused
                                  : S_ISREG(now.st_mode) ? hardLinked(now)
                                                         : QStringLiteral("is not a regular file"));
        }
    }
    if (::rename(temporary.constData(), target.constData()) != 0)
        fail("cannot replace the old file");
    syncDirectory(directoryOf(target));
}

const QRegularExpression &temporaryPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^[A-Za-z0-9_]+\\.(dat|ini)\\.saving-[A-Za-z0-9]{6}$"));
    return pattern;
}

} // namespace

QString programFile(const QString &dir, const QString &name)
{
    return QDir(dir).filePath(name);
}

std::optional<QByteArray> readWholeFile(const QString &dir, const QString &name, qint64 maxBytes, Links links)
{
    return readWhole(programFile(dir, name), name, maxBytes, links);
}

std::optional<QByteArray> readWholeFileAt(const QString &path, const QString &name, qint64 maxBytes)
{
    return readWhole(path, name, maxBytes, Links::Follow);
}

std::optional<FileSlice> readFileAt(const QString &dir, const QString &name, qint64 offset, qint64 length,
                                    Links links)
{
    qint64 size = 0;
    const int raw = openForReading(programFile(dir, name), name, &size, links);
    if (raw < 0)
        return std::nullopt;
    Fd fd(raw);
    FileSlice slice;
    slice.fileSize = size;
    if (offset >= 0 && length > 0 && offset < size)
        slice.bytes = readUpTo(fd.get(), offset, std::min(length, size - offset), length, name);
    return slice;
}

void requireRegularOrMissing(const QString &path, const QString &name)
{
    struct stat st;
    if (::stat(native(path).constData(), &st) != 0)
        return;
    if (!S_ISREG(st.st_mode))
        throw FileError(name, QStringLiteral("is not a regular file"));
}

void writeWholeFileAtomic(const QString &dir, const QString &name, const QByteArray &bytes)
{
    writeAtomic(programFile(dir, name), name, bytes, Links::Refuse);
}

void writeFileAtomicAt(const QString &path, const QString &name, const QByteArray &bytes)
{
    writeAtomic(path, name, bytes, Links::Follow);
}

void appendRecord(const QString &dir, const QString &name, const QByteArray &record)
{
    if (record.isEmpty())
        return;
    const QString path = programFile(dir, name);
    struct stat old {
    };
    bool exists = false;
    // The same rules as a save: never through a link, never into anything
    // but a regular file. O_NOFOLLOW closes the gap between the look and the
    // open.
    const QByteArray target = writeTarget(path, name, Links::Refuse, &old, &exists);
    Fd fd(
        ::open(target.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW, 0666));
    if (fd.get() < 0) {
        if (errno == ELOOP)
            throw FileError(name, kLinkRefused);
        throw writeFailure(name, "cannot be opened for writing", errno);
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        throw FileError(name, QStringLiteral("is not a regular file"));
    // A hard link made since the look above: nothing is written to it.
    if (st.st_nlink > 1)
        throw FileError(name, hardLinked(st));
    const qint64 size = st.st_size;
    const qint64 aligned = size - size % record.size();
    // A crash during an earlier append may have left part of a record: cut it
    // off so this record and every later one stay aligned.
    if (aligned != size && ::ftruncate(fd.get(), aligned) != 0)
        throw writeFailure(name, "cannot cut an incomplete record", errno);
    if (!writeAll(fd.get(), record.constData(), record.size(), aligned)) {
        const int error = errno;
        // What did get written is not a record: take it back now.
        (void)::ftruncate(fd.get(), aligned);
        throw writeFailure(name, "cannot be written", error);
    }
    if (!syncToDisk(fd.get()))
        throw writeFailure(name, "cannot be synced to disk", errno);
    if (!fd.close())
        throw writeFailure(name, "cannot be closed", errno);
    if (!exists)
        syncDirectory(directoryOf(target));
}

int probeWrite(const QString &dir)
{
    QByteArray probe = native(programFile(dir, QStringLiteral(".probe-XXXXXX")));
    Fd fd(::mkostemp(probe.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return errno;
    const auto removed = [&](int error) {
        fd.close();
        ::unlink(probe.constData());
        return error;
    };
    if (!writeAll(fd.get(), "1", 1, 0))
        return removed(errno);
    if (!fd.close()) {
        const int error = errno;
        ::unlink(probe.constData());
        return error;
    }
    ::unlink(probe.constData());
    return 0;
}

qint64 roomIn(const QString &dir)
{
    struct statvfs vfs;
    qint64 room = -1;
    if (::statvfs(native(dir).constData(), &vfs) == 0)
        room = qint64(vfs.f_bavail) * qint64(vfs.f_frsize);
    if (g_bytesThatFit >= 0 && (room < 0 || g_bytesThatFit < room))
        room = g_bytesThatFit;
    return room;
}

bool entryExists(const QString &dir, const QString &name)
{
    struct stat st;
    return ::lstat(native(programFile(dir, name)).constData(), &st) == 0;
}

bool renameWithoutReplacing(const QString &dir, const QString &name, const QString &newName)
{
    const QByteArray from = native(programFile(dir, name));
    const QByteArray to = native(programFile(dir, newName));
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        syncDirectory(native(dir));
        return true;
    }
    if (errno == EEXIST)
        return false;
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system that cannot promise not to replace: look first.
        struct stat st;
        if (::lstat(to.constData(), &st) == 0)
            return false;
        if (::rename(from.constData(), to.constData()) == 0) {
            syncDirectory(native(dir));
            return true;
        }
    }
    throw FileError(name, why(qPrintable(QStringLiteral("cannot be renamed to ") + newName), errno));
}

QString setAsideOrphan(const QString &dir, const QString &name)
{
    if (!entryExists(dir, name))
        return {};
    QString stem = name;
    if (stem.endsWith(QStringLiteral(".dat")))
        stem.chop(4);
    stem += QStringLiteral(".orphaned-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int k = 1;; ++k) {
        const QString newName =
            stem + (k == 1 ? QString() : QStringLiteral("-%1").arg(k)) + QStringLiteral(".dat");
        if (renameWithoutReplacing(dir, name, newName))
            return newName;
    }
}

QStringList saveTemporaries(const QString &dir)
{
    QStringList out;
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    for (const QString &n : names) {
        struct stat st;
        if (temporaryPattern().match(n).hasMatch() &&
            ::lstat(native(programFile(dir, n)).constData(), &st) == 0 && S_ISREG(st.st_mode))
            out << n;
    }
    return out;
}

QStringList removeSaveTemporaries(const QString &dir, const QString &ofFile)
{
    QStringList removed;
    for (const QString &n : saveTemporaries(dir))
        if ((ofFile.isEmpty() || n.startsWith(ofFile + QStringLiteral(".saving-"))) &&
            ::unlink(native(programFile(dir, n)).constData()) == 0)
            removed << n;
    return removed;
}

void requireWholeRecords(const QByteArray &bytes, int recordSize, const QString &name)
{
    if (bytes.size() % recordSize != 0)
        throw FileError(name, QStringLiteral("size %1 is not a whole number of %2-byte records")
                                  .arg(bytes.size())
                                  .arg(recordSize));
}

WriteFaultForTesting::WriteFaultForTesting(qint64 bytesThatFit, SyncForTesting sync)
{
    g_bytesThatFit = bytesThatFit;
    g_sync = sync;
}

WriteFaultForTesting::~WriteFaultForTesting()
{
    g_bytesThatFit = -1;
    g_sync = SyncForTesting::Real;
}

} // namespace fm
