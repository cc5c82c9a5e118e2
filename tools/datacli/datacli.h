#pragma once
#include <QString>
#include <QStringList>

namespace fm::cli
{

// Runs one command of fudemaru-data. args are the words after the program
// name; defaultDir is used when no directory is given. Writes UTF-8 text to
// out and one-line errors to err; returns the exit code.
int run(const QStringList &args, const QString &defaultDir, QString &out, QString &err);

} // namespace fm::cli
