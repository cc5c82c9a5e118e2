#pragma once
// The system-wide lock that keeps a second copy of the program from starting.
#include <QString>
#include <memory>

class QLockFile;

namespace fm
{

class InstanceLock
{
  public:
    virtual ~InstanceLock() = default;
    // True when this process now holds the lock named `name`; false when a
    // running copy holds it. A lock left by a copy that crashed is taken over.
    virtual bool acquire(const QString &name) = 0;
    virtual void release() = 0;
};

// A lock file in a directory (by default the user's runtime directory).
class LockFileInstanceLock final : public InstanceLock
{
  public:
    explicit LockFileInstanceLock(QString directory = {});
    ~LockFileInstanceLock() override;
    bool acquire(const QString &name) override;
    void release() override;
    QString path() const { return path_; }

  private:
    QString directory_;
    QString path_;
    std::unique_ptr<QLockFile> file_;
};

} // namespace fm
