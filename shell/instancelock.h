#pragma once
// The per-user lock that keeps a second copy of the program from starting.
#include <QString>

namespace fm
{

// The single-instance lock's name.
inline const QString InstanceLockName = QStringLiteral("Fude_Maru12");

class InstanceLock
{
  public:
    virtual ~InstanceLock() = default;
    // False only when a running copy holds the lock named `name`. A lock left
    // by a copy that is no longer running is taken over; when the lock cannot
    // be checked at all the program starts anyway (true) rather than refuse
    // without a word.
    virtual bool acquire(const QString &name) = 0;
    virtual void release() = 0;
};

// The lock is the directory itself, the data directory the copies share: the
// system's advisory lock (flock) on the open directory. Nothing can be put in
// its place to make it uncheckable, as a file inside the directory could be
// (a directory, a link or a FIFO under the lock file's name); it goes with
// the process that holds it, so a crash never leaves it behind. A linked
// data directory locks the directory it leads to, which every copy reaches.
// The name only tells locks apart in tests and fakes.
class LockFileInstanceLock final : public InstanceLock
{
  public:
    explicit LockFileInstanceLock(QString directory);
    ~LockFileInstanceLock() override;
    bool acquire(const QString &name) override;
    void release() override;
    QString path() const { return directory_; }
    // True while this process holds the lock; false after an acquire that
    // could not check (the directory cannot be made or opened) and let the
    // program start anyway.
    bool held() const { return fd_ >= 0; }

  private:
    QString directory_;
    int fd_ = -1;
};

// What a second copy says before it ends.
inline constexpr char AlreadyOpenMessage[] = "ふでまるは もう ひらいています。";

// Taking the lock of the data directory at start: held, or another copy
// runs there, or the folder cannot be opened (then nothing may start, as
// two unlocked copies could both write); message says which to the family.
struct DataDirLock {
    enum class State { Held, OtherCopyRunning, FolderUnusable };
    State state = State::FolderUnusable;
    QString message;
};
// The folder is made when missing. The lock is taken whenever the folder
// can be opened, whether or not a file can be written in it just now (the
// start-up that follows says what is wrong with that).
DataDirLock lockDataDir(LockFileInstanceLock &lock);

} // namespace fm
