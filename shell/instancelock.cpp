#include "shell/instancelock.h"
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fm
{

QString defaultLockDirectory()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

LockFileInstanceLock::LockFileInstanceLock(QString directory) : directory_(std::move(directory)) {}

LockFileInstanceLock::~LockFileInstanceLock()
{
    release();
}

bool LockFileInstanceLock::acquire(const QString &name)
{
    release();
    QDir().mkpath(directory_);
    path_ = QDir(directory_).filePath(name + QStringLiteral(".lock"));
    const QByteArray path = QFile::encodeName(path_);
    // Never through a link, never blocking on something odd in its place.
    const int flags = O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    int fd = ::open(path.constData(), flags, 0600);
    // An empty directory in the lock's place (nothing in it is lost): remove it and try again.
    if (fd < 0 && errno == EISDIR && ::rmdir(path.constData()) == 0)
        fd = ::open(path.constData(), flags, 0600);
    if (fd < 0)
        return true; // cannot be checked (a full or unwritable directory, a link...): start anyway
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        fd_ = fd;
        return true;
    }
    const int error = errno;
    ::close(fd);
    // Only a lock that a live process holds keeps this copy from starting.
    return error != EWOULDBLOCK;
}

void LockFileInstanceLock::release()
{
    // The file stays: removing it could let two copies lock two different files.
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace fm
