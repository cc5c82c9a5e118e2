#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace fm
{

// Path of a file in the program directory.
QString programFile(const QString &dir, const QString &name);

// Whole file contents; std::nullopt when the file does not exist.
// Throws FileError(fileName) when it exists but cannot be read.
std::optional<QByteArray> readWholeFile(const QString &dir, const QString &name);

// Replaces the file atomically (write to a temporary, then rename), so a
// crash never leaves it half-written. Throws FileError(name) on failure.
void writeWholeFileAtomic(const QString &dir, const QString &name, const QByteArray &bytes);

// A file of fixed-size records must hold a whole number of them; otherwise
// FileError(name) saying so.
void requireWholeRecords(const QByteArray &bytes, int recordSize, const QString &name);

} // namespace fm
