#pragma once
#include <QString>
#include <stdexcept>

namespace fm
{

// A data file that cannot be opened, read, written or that lies outside the
// data model. message() is exactly what the child's screen shows before the
// program ends; detail() says what was wrong, for the command-line tool.
class FileError : public std::runtime_error
{
  public:
    FileError(QString fileName, QString detail = {});

    // "Bushu1.dat not found": the one message that is not "<name>でエラー...".
    static FileError notFound(const QString &fileName);
    // A file that another copy of the program changed since this one read
    // it: it is not replaced, and the message says why.
    static FileError changedElsewhere(const QString &fileName, const QString &detail);
    // A write that found the disk full: the usual message, then that the disk
    // is full, so a parent knows what to mend.
    static FileError diskFull(const QString &fileName, const QString &detail);

    const QString &fileName() const { return fileName_; }
    const QString &detail() const { return detail_; }
    QString message() const { return message_; }

  private:
    FileError(QString fileName, QString detail, QString message);
    QString fileName_;
    QString detail_;
    QString message_;
};

// "<name>でエラーがおこりました。 " (trailing blank included).
QString fileErrorMessage(const QString &fileName);

// What a full disk adds to the message.
inline constexpr char DiskFullSentence[] = "ディスクが いっぱいです。 ";

// True for the errors of a full disk or a used-up quota.
bool isDiskFull(int error);

} // namespace fm
