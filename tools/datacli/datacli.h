#pragma once
#include <QString>
#include <QStringList>

namespace fm::cli
{

// Where a command reads: the shipped files, the records and the settings
// file (check reads it as the program does; empty: not checked).
struct Dirs {
    QString shipped;
    QString data;
    QString settings;
};

// Runs one command of fudemaru-data. args are the words after the program
// name; defaults are used when no directory is given. Writes UTF-8 text to
// out and one-line errors to err; returns the exit code.
int run(const QStringList &args, const Dirs &defaults, QString &out, QString &err);

// The one-line summary of the commands.
QString usage();

// What --help prints: every command and option, and the exit status.
QString help();

} // namespace fm::cli
