#include "data/gamescore.h"
#include "data/binio.h"
#include "data/fileio.h"

namespace fm
{

QString boardFileName(GameId game)
{
    return QStringLiteral("Game%1.dat").arg(int(game));
}

QByteArray encodeBoard(const QVector<GameScoreRecord> &records)
{
    QByteArray out(records.size() * GameScoreRecordSize, '\0');
    char *p = out.data();
    for (const GameScoreRecord &r : records) {
        bin::putI16(p, r.Score);
        bin::putShortString(p + 2, r.Name, NameBytes); // its first bytes, byte for byte
        bin::putF64(p + 16, r.Date);
        p += GameScoreRecordSize;
    }
    return out;
}

QVector<GameScoreRecord> decodeBoard(const QByteArray &bytes)
{
    QVector<GameScoreRecord> out;
    const int count = std::min<int>(bytes.size() / GameScoreRecordSize, BoardReadLimit);
    for (int n = 0; n < count; ++n) {
        const char *p = bytes.constData() + n * GameScoreRecordSize;
        GameScoreRecord r;
        r.Score = bin::i16(p);
        r.Name = bin::shortString(p + 2, NameBytes);
        r.Date = bin::f64(p + 16);
        out.push_back(r);
    }
    return out;
}

QVector<GameScoreRecord> readBoard(const QString &dir, GameId game)
{
    // Only the records that are read at all: a longer file is no error.
    const auto slice =
        readFileAt(dir, boardFileName(game), 0, qint64(BoardReadLimit) * GameScoreRecordSize, Links::Refuse);
    return slice ? decodeBoard(slice->bytes) : QVector<GameScoreRecord>{};
}

void writeBoard(const QString &dir, GameId game, const QVector<GameScoreRecord> &records)
{
    writeWholeFileAtomic(dir, boardFileName(game), encodeBoard(records));
}

} // namespace fm
