#pragma once
// Where the program's files are: the files it ships beside its executable,
// and the records it writes in the user's own data directory, so that a
// rebuild, a fresh clone or a reinstall never touches a child's records.
#include <QString>
#include <QStringList>

namespace fm
{

// Every file the program writes: Player1.dat, Kiroku1.dat .. Kiroku10.dat,
// Hanko1.dat .. Hanko10.dat, Game1.dat, Game2.dat.
const QStringList &writtenFileNames();

// The user's data directory for Fudemaru (~/.local/share/Fudemaru/ on a
// Linux desktop: the platform's application data location for an
// application of that name), with its trailing separator.
QString defaultDataDir();

// The directory of the shipped files for an executable in exeDir: exeDir
// itself when it holds them (the build's program directory), otherwise
// ../share/fudemaru beside it (an installed tree). Trailing separator.
QString shippedFilesDir(const QString &exeDir);

// Creates the data directory when missing; true when it is a folder that can
// be opened (listed, locked) and takes a file.
bool makeDataDir(const QString &dataDir);

// What prepareDataDir would meet, found without changing anything (only a
// probe file is made and removed): throws the FileError start-up would show
// when the directory (or, when it is not made yet, its nearest parent) cannot
// be opened or written, or when the first start's copy of the records of
// programDir would not fit.
void checkDataDir(const QString &dataDir, const QString &programDir);

// Readies the data directory at start-up: creates it and checks that it
// takes a file, then, on the first start that finds records in the program
// directory and none here, copies them over. The originals stay where they
// are. Each copy is written and checked in a side folder first and then
// renamed into place, so an interrupted move is finished (or started again)
// on the next start and never leaves half a set of records behind.
// Throws FileError naming the data directory when it cannot be created or
// written, or naming the file that could not be copied.
void prepareDataDir(const QString &dataDir, const QString &programDir);

} // namespace fm
