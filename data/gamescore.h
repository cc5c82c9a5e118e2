#pragma once
// The game score boards Game1.dat and Game2.dat: 24-byte records, best first.
#include <QByteArray>
#include <QString>
#include <QVector>
#include <cstdint>

namespace fm
{

constexpr int GameScoreRecordSize = 24;
constexpr int BoardSize = 10;
constexpr int BoardReadLimit = 11;

struct GameScoreRecord {
    int16_t Score = 0;
    QByteArray Name; // cp932, at most 10 bytes
    double Date = 0; // days since 1899-12-30, whole days
};

QString boardFileName(int game); // "Game<g>.dat"

QByteArray encodeBoard(const QVector<GameScoreRecord> &records);
// At most the first 11 whole records; a partial tail is ignored, a name
// length above 10 is taken as 10.
QVector<GameScoreRecord> decodeBoard(const QByteArray &bytes);

// Missing file: empty board. Unreadable or not a regular file: FileError(name).
QVector<GameScoreRecord> readBoard(const QString &dir, int game);
// Atomic rewrite; FileError(name) on failure.
void writeBoard(const QString &dir, int game, const QVector<GameScoreRecord> &records);

} // namespace fm
