#pragma once
// The score board's rules, apart from its window: where a finished game's
// score goes among the stored ones, what the child is told, and what is
// written back.
#include "data/gamescore.h"
#include <QByteArray>
#include <QString>
#include <QVector>
#include <cstdint>
#include <optional>

namespace fm::games
{

struct BoardRow {
    bool isNew = false; // the score of the game just played ("＊")
    GameScoreRecord record;
};

struct PlacedBoard {
    QVector<BoardRow> rows; // best first, at most ten
    int rank = 0;           // 1-based row of the new score; 0 when it did not make the board
};

// The board after a game: one row more than the stored records, at most ten.
// The new score goes above every stored score it equals or exceeds. today is
// a day number; only its day is kept.
PlacedBoard placeScore(const QVector<GameScoreRecord> &stored, int16_t score, const QByteArray &name,
                       double today);

// The records to write back, top to bottom: every date reduced to its day
// (the stored day of a kept record, today for the new one).
QVector<GameScoreRecord> recordsToWrite(const PlacedBoard &board);

// "やった！  <rank> いにはいったよ。またがんばろう！" or, for rank 0, the "ざんねん！" line.
// A score of 0 is not cheered, whatever row it takes on an empty board.
QString boardMessage(int rank, int score);
// Whether the message is a cheer (shown in red).
bool boardCheers(int rank, int score);

// A day number as the board shows it: "yy/mm/dd" (empty for a date outside the calendar).
QString boardDateText(double date);

// The day of a date-time number, its time of day dropped.
double wholeDay(double date);

} // namespace fm::games
