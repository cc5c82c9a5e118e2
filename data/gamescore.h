#pragma once
// The game score boards Game1.dat and Game2.dat: 24-byte records, best first.
#include "data/roster.h" // NameBytes
#include <QByteArray>
#include <QString>
#include <QVector>
#include <cstdint>

namespace fm
{

constexpr int GameScoreRecordSize = 24;
constexpr int BoardSize = 10;
constexpr int BoardReadLimit = 11;

// The two games; the number is the one in the board's file name.
enum class GameId : int16_t { Matching = 1, WhackAMole = 2 };

struct GameScoreRecord {
    int16_t Score = 0;
    QByteArray Name; // cp932, at most NameBytes
    double Date = 0; // days since 1899-12-30, whole days
};

QString boardFileName(GameId game); // "Game<g>.dat"

QByteArray encodeBoard(const QVector<GameScoreRecord> &records);
// At most the first 11 whole records; a partial tail is ignored, a name
// length above NameBytes is taken as NameBytes.
QVector<GameScoreRecord> decodeBoard(const QByteArray &bytes);

// Missing file: empty board. Unreadable or not a regular file: FileError(name).
QVector<GameScoreRecord> readBoard(const QString &dir, GameId game);
// Atomic rewrite; FileError(name) on failure.
void writeBoard(const QString &dir, GameId game, const QVector<GameScoreRecord> &records);

} // namespace fm
