#include "fileio.h"
#include "errors.h"
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace fm
{

QString programFile(const QString &dir, const QString &name)
{
    return QDir(dir).filePath(name);
}

std::optional<QByteArray> readWholeFile(const QString &dir, const QString &name)
{
    QFile file(programFile(dir, name));
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(name, QStringLiteral("cannot be opened"));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(name, QStringLiteral("cannot be read"));
    return bytes;
}

void writeWholeFileAtomic(const QString &dir, const QString &name, const QByteArray &bytes)
{
    QSaveFile file(programFile(dir, name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(name, QStringLiteral("cannot be written"));
}

void requireWholeRecords(const QByteArray &bytes, int recordSize, const QString &name)
{
    if (bytes.size() % recordSize != 0)
        throw FileError(name, QStringLiteral("size %1 is not a whole number of %2-byte records")
                                  .arg(bytes.size())
                                  .arg(recordSize));
}

} // namespace fm
