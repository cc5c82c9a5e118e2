#pragma once
// The one place where data files meet the disk.
//
// Reading opens regular files only: a FIFO, a device, a directory or a link
// to one of them is a damaged file, FileError(name), and is never opened, so
// nothing can hang or exhaust memory on it. A shipped file may be a link to a
// regular file; a record file (Links::Refuse) may not. Every whole-file read
// has a size cap that follows from the file's format.
//
// Writing checks that every byte reached the disk before anything is
// replaced. A record file in the data directory is never written through a
// link (the directory itself may be one): a link in its place is refused, so
// nothing outside the directory is ever touched.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace fm
{

// Whether a symbolic link in a file's place is followed (shipped files, the
// settings file) or refused as a damaged file (the records the program
// writes in its data directory).
enum class Links { Follow, Refuse };

// Path of a file in the program directory.
QString programFile(const QString &dir, const QString &name);

// Whole file contents; std::nullopt when the file does not exist. Throws
// FileError(name) when it is not a regular file (or a link, when links are
// refused), is larger than maxBytes or cannot be read.
std::optional<QByteArray> readWholeFile(const QString &dir, const QString &name, qint64 maxBytes,
                                        Links links = Links::Follow);
// The same for a file given by its full path (the settings file).
std::optional<QByteArray> readWholeFileAt(const QString &path, const QString &name, qint64 maxBytes);

// Up to `length` bytes from `offset` (fewer at the end of the file) and the
// file's size; std::nullopt when the file does not exist. A file that is not
// a regular file or cannot be read: FileError(name).
struct FileSlice {
    QByteArray bytes;
    qint64 fileSize = 0;
};
std::optional<FileSlice> readFileAt(const QString &dir, const QString &name, qint64 offset, qint64 length,
                                    Links links = Links::Follow);

// Throws FileError(name) when something that is not a regular file stands at
// path (a missing file is fine: the caller decides what that means).
void requireRegularOrMissing(const QString &path, const QString &name);

// Replaces the file: a temporary beside it ("<name>.saving-XXXXXX") receives
// every byte and is synced to disk; only then is it renamed over the file, and
// the directory is synced. On any failure the old file stays as it was, the
// temporary is removed and FileError(name) is thrown. Anything that is not a
// regular file, and a symbolic link in the file's place, is never written.
void writeWholeFileAtomic(const QString &dir, const QString &name, const QByteArray &bytes);
// The same for a file given by its full path (the settings file), where a
// link to a regular file stays a link and its target is replaced; a link to
// anything else or to nothing is never written.
void writeFileAtomicAt(const QString &path, const QString &name, const QByteArray &bytes);

// Appends one fixed-size record: an incomplete record at the end (a crash
// during an earlier append) is cut off first so the records stay aligned; the
// file is synced before returning (a new file's directory too). A failed
// write is cut off again; FileError(name) on any failure. A link or anything
// but a regular file in the file's place is refused, and never created.
void appendRecord(const QString &dir, const QString &name, const QByteArray &record);

// Tries what every save in dir needs: a new file is made, takes a byte (each
// write as the file layer writes) and is removed. 0 when that worked,
// otherwise the error number (ENOSPC: the disk is full).
int probeWrite(const QString &dir);

// Bytes a save in dir can still write: the room the file system gives the
// user (or what the test seam lets through, if less); -1 when unknown.
qint64 roomIn(const QString &dir);

// True when there is an entry of that name (even a link to nothing).
bool entryExists(const QString &dir, const QString &name);

// Renames dir/name to dir/newName unless newName is taken: false then.
// FileError(name) when the rename fails otherwise.
bool renameWithoutReplacing(const QString &dir, const QString &name, const QString &newName);

// A record of a child no longer in the roster, found where a new child's
// file goes: renamed "<stem>.orphaned-<yyyyMMdd-HHmmss>.dat" ("-2", "-3"...
// added when that is taken), never deleted. Returns the new name, or an empty
// string when there was no such file. FileError(name) when it cannot be
// renamed.
QString setAsideOrphan(const QString &dir, const QString &name);

// Temporaries of interrupted saves in dir ("<file>.saving-XXXXXX", regular
// files only), sorted by name.
QStringList saveTemporaries(const QString &dir);
// Removes them (only those of ofFile when it is given), never anything else;
// returns the names removed.
QStringList removeSaveTemporaries(const QString &dir, const QString &ofFile = {});

// A file of fixed-size records must hold a whole number of them; otherwise
// FileError(name) saying so.
void requireWholeRecords(const QByteArray &bytes, int recordSize, const QString &name);

// Test seam: while one exists, the file layer's writes stop with "no space
// left on device" once bytesThatFit more bytes have gone out (negative: no
// limit), and syncs to disk fail, or are skipped (where only the bytes
// matter, as in a fuzz harness that saves thousands of times).
enum class SyncForTesting { Real, Fails, Skipped };
class WriteFaultForTesting
{
  public:
    explicit WriteFaultForTesting(qint64 bytesThatFit, SyncForTesting sync = SyncForTesting::Real);
    ~WriteFaultForTesting();
    WriteFaultForTesting(const WriteFaultForTesting &) = delete;
    WriteFaultForTesting &operator=(const WriteFaultForTesting &) = delete;
};

} // namespace fm
