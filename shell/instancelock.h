#pragma once
// The per-user lock that keeps a second copy of the program from starting.
#include <QString>

namespace fm
{

class InstanceLock
{
  public:
    virtual ~InstanceLock() = default;
    // False only when a running copy holds the lock named `name`. A lock left
    // by a copy that is no longer running is taken over, whatever its file
    // holds; when the lock cannot be checked at all the program starts
    // anyway (true) rather than refuse without a word.
    virtual bool acquire(const QString &name) = 0;
    virtual void release() = 0;
};

// The directory the lock lives in today: the user's runtime directory.
QString defaultLockDirectory();

// A lock file "<name>.lock" in a directory the caller chooses (per user). The
// lock is the system's advisory lock on the open file (flock): it goes with
// the process that holds it, so a crash never leaves it behind, and the
// file's contents do not matter.
class LockFileInstanceLock final : public InstanceLock
{
  public:
    explicit LockFileInstanceLock(QString directory);
    ~LockFileInstanceLock() override;
    bool acquire(const QString &name) override;
    void release() override;
    QString path() const { return path_; }
    // True while this process holds the lock; false after an acquire that
    // could not check (and let the program start anyway).
    bool held() const { return fd_ >= 0; }

  private:
    QString directory_;
    QString path_;
    int fd_ = -1;
};

} // namespace fm
