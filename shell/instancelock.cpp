#include "shell/instancelock.h"
#include "data/errors.h"
#include "data/locations.h"
#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fm
{

LockFileInstanceLock::LockFileInstanceLock(QString directory) : directory_(std::move(directory)) {}

LockFileInstanceLock::~LockFileInstanceLock()
{
    release();
}

bool LockFileInstanceLock::acquire(const QString &)
{
    release();
    QDir().mkpath(directory_);
    const QByteArray path = QFile::encodeName(directory_);
    // O_DIRECTORY: only a directory is ever opened, nothing that could block.
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true; // no directory to lock: start-up says what is wrong with it
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
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

DataDirLock lockDataDir(LockFileInstanceLock &lock)
{
    using State = DataDirLock::State;
    // A folder that cannot be opened may be so for a moment only: look twice.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!lock.acquire(InstanceLockName))
            return {State::OtherCopyRunning, QString::fromUtf8(AlreadyOpenMessage)};
        if (lock.held())
            return {State::Held, {}};
        try {
            checkDataDir(lock.path(), {});
        } catch (const FileError &e) {
            return {State::FolderUnusable, e.message()};
        }
    }
    return {State::FolderUnusable, fileErrorMessage(QDir::toNativeSeparators(QDir::cleanPath(lock.path())))};
}

} // namespace fm
