#include "games/scoreboard.h"
#include "data/cp932.h"
#include "data/datetime.h"
#include "data/roster.h"
#include <algorithm>
#include <cmath>

namespace fm::games
{

PlacedBoard placeScore(const QVector<GameScoreRecord> &stored, int16_t score, const QByteArray &name,
                       double today)
{
    const int n = std::min<int>(stored.size(), BoardReadLimit);
    const int rows = std::min(n, BoardSize - 1) + 1;
    PlacedBoard board;
    int j = 0;
    for (int row = 1; row <= rows; ++row) {
        // Past the stored records there is nothing left to list but the new score.
        const bool placeHere = board.rank == 0 && (j >= n || stored[j].Score <= score);
        if (placeHere) {
            BoardRow r;
            r.isNew = true;
            r.record.Score = score;
            r.record.Name = cp932::cut(name, NameBytes);
            r.record.Date = wholeDay(today);
            board.rows.push_back(r);
            board.rank = row;
        } else {
            board.rows.push_back(BoardRow{false, stored[j]});
            ++j;
        }
    }
    return board;
}

QVector<GameScoreRecord> recordsToWrite(const PlacedBoard &board)
{
    QVector<GameScoreRecord> out;
    out.reserve(board.rows.size());
    for (const BoardRow &row : board.rows) {
        GameScoreRecord r = row.record;
        r.Name = cp932::cut(r.Name, NameBytes);
        r.Date = wholeDay(r.Date);
        out.push_back(r);
    }
    return out;
}

bool boardCheers(int rank, int score)
{
    return rank > 0 && score > 0;
}

QString boardMessage(int rank, int score)
{
    if (rank > 0 && score <= 0)
        return QStringLiteral("こんどは てんが とれるように またがんばろう！");
    if (rank > 0)
        return QStringLiteral("やった！  %1 いにはいったよ。またがんばろう！").arg(rank);
    return QStringLiteral("ざんねん！ １０いまでにはいれなかった。またがんばろう！");
}

QString boardDateText(double date)
{
    const QDateTime t = fromDayNumber(date);
    return t.isValid() ? t.date().toString(QStringLiteral("yy/MM/dd")) : QString();
}

double wholeDay(double date)
{
    // A damaged date (not a number) is kept as it was found.
    return std::isfinite(date) ? std::trunc(date) : date;
}

} // namespace fm::games
