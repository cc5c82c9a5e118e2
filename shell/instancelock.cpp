#include "instancelock.h"
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace fm
{

LockFileInstanceLock::LockFileInstanceLock(QString directory) : directory_(std::move(directory))
{
    if (directory_.isEmpty())
        directory_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory_.isEmpty())
        directory_ = QDir::tempPath();
}

LockFileInstanceLock::~LockFileInstanceLock()
{
    release();
}

bool LockFileInstanceLock::acquire(const QString &name)
{
    release();
    QDir().mkpath(directory_);
    path_ = QDir(directory_).filePath(name + QStringLiteral(".lock"));
    file_ = std::make_unique<QLockFile>(path_);
    // Never stale by age: only a lock whose process has gone is taken over.
    file_->setStaleLockTime(0);
    if (file_->tryLock(0))
        return true;
    file_.reset();
    return false;
}

void LockFileInstanceLock::release()
{
    if (file_)
        file_->unlock();
    file_.reset();
}

} // namespace fm
