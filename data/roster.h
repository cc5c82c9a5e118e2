#pragma once
// The roster Player1.dat (28-byte records) and the per-kanji progress of the
// current player.
#include "data/levels.h"
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace fm
{

constexpr int MaxPlayers = 10;
constexpr int PlayerRecordSize = 28;
constexpr int NameBytes = 10;
constexpr int PassCount = 40;           // right answers that pass a level and kind
constexpr int MasteredWhileTesting = 2; // 40 / 20 kanji of a level
constexpr int MasteredAtSelection = 3;  // CorrectCount above 2

struct PlayerEntry {
    int16_t Reserved0 = 0;
    int16_t Level = 1;
    int16_t Game1Level = 0;
    int16_t Game2Level = 0;
    int16_t Reserved8 = 0;
    int16_t Reserved10 = 0;
    int16_t Reserved12 = 0;
    // As read: a damaged file may hold any value here, and it is written back
    // as read; kindFromFile() says what it means. The start-up rebuild
    // (rebuildLevels) sets it from the player's log.
    StudyKind Kind = StudyKind::Reading;
    QByteArray Name; // cp932, at most 10 bytes
    uint8_t Padding = 0;
};

struct ProgressCell {
    int16_t AskedCount = 0;
    int16_t CorrectCount = 0;
    bool Mastered = false;
};

// [kanji 1..240][kind 1..2]
using ProgressTable = std::array<std::array<ProgressCell, 3>, 241>;

struct Roster {
    std::array<PlayerEntry, MaxPlayers + 1> PlayerTable{};
    int16_t PlayerCount = 0;
};

QByteArray encodePlayers(const Roster &roster);
// More than 10 records, a partial record or a name longer than 10 bytes:
// FileError("Player1.dat").
void decodePlayers(Roster &roster, const QByteArray &bytes);

// Missing Player1.dat: no players.
void loadRoster(Roster &roster, const QString &dir);
// Rewrites Player1.dat atomically with players 1..PlayerCount. The file is
// read again first: when it holds a player the roster does not, or a higher
// game level (another copy of the program wrote them since this one read
// it), nothing is written and FileError::changedElsewhere says so.
void saveRoster(const Roster &roster, const QString &dir);
// Adds a player (name cut to 10 bytes) when there is room; returns its number or 0.
int addPlayer(Roster &roster, const QByteArray &name);

// Registration: adds the player, sets aside a log left at its number by an
// earlier roster (so the new child starts with an empty history) and saves
// the roster. Returns the player's number, or 0 when the roster is full or
// the name empty. FileError when the log cannot be set aside or the roster
// cannot be saved (also when the file holds a child this roster lacks: that
// child's log is then left where it is); the roster in memory is then as it
// was.
int registerPlayer(Roster &roster, const QString &dir, const QByteArray &name);

// A stored name as the screens show it: an empty name is "？", so that the
// child can still see and choose it.
QString shownName(const QByteArray &name);

// Name of player n's log file: "Kiroku<n>.dat".
QString logFileName(int player);
// The number a name of that form carries ("Kiroku<digits>.dat"; 0 when the
// digits are beyond an int), or nothing for any other name. Only
// logFileName(n) itself is player n's log: "Kiroku01.dat" carries 1 but is not.
std::optional<int> logFileNumber(const QString &fileName);
// Name of the roster file: "Player1.dat".
QString rosterFileName();

} // namespace fm
