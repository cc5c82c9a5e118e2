#include "handwriting/readingbox.h"
#include "data/binio.h"
#include "data/catalogue.h"
#include "data/errors.h"
#include "data/fileio.h"

namespace fm
{

namespace
{

constexpr int MaxRows = MaxKanjiNumber * 8;

FileError damaged(const QString &detail)
{
    return FileError(ReadingBoxFile, detail);
}

QByteArray text(const char *p, int record, const char *what)
{
    const int n = bin::u8(p);
    if (n < 1 || n > ReadingBox::TextBytes)
        throw damaged(QStringLiteral("record %1: %2 of %3 bytes, outside 1..%4")
                          .arg(record)
                          .arg(QLatin1String(what))
                          .arg(n)
                          .arg(ReadingBox::TextBytes));
    return QByteArray(p + 1, n);
}

void putText(QByteArray &out, const QByteArray &t, int row, const char *what)
{
    if (t.isEmpty() || t.size() > ReadingBox::TextBytes)
        throw damaged(QStringLiteral("row %1: %2 of %3 bytes, outside 1..%4")
                          .arg(row)
                          .arg(QLatin1String(what))
                          .arg(t.size())
                          .arg(ReadingBox::TextBytes));
    out.append(char(t.size()));
    out.append(t);
    out.append(QByteArray(ReadingBox::TextBytes - t.size(), '\0'));
}

} // namespace

ReadingBox ReadingBox::fromBytes(const QByteArray &bytes)
{
    if (bytes.size() % RecordSize != 0)
        throw damaged(QStringLiteral("%1 bytes, not a whole number of %2-byte records")
                          .arg(bytes.size())
                          .arg(RecordSize));
    if (bytes.size() / RecordSize > MaxRows)
        throw damaged(QStringLiteral("more than %1 records").arg(MaxRows));
    ReadingBox box;
    for (int r = 0; r < bytes.size() / RecordSize; ++r) {
        const char *p = bytes.constData() + qsizetype(r) * RecordSize;
        const int number = bin::i16(p);
        const int kind = bin::i16(p + 2);
        if (number < 1 || number > MaxKanjiNumber)
            throw damaged(QStringLiteral("record %1: kanji %2 outside 1..%3")
                              .arg(r + 1)
                              .arg(number)
                              .arg(MaxKanjiNumber));
        if (kind != 1 && kind != 2)
            throw damaged(QStringLiteral("record %1: kind %2, not 1 or 2").arg(r + 1).arg(kind));
        BoxReading b;
        b.kind = kind;
        b.reading = text(p + 4, r + 1, "the reading");
        b.word = text(p + 4 + 21, r + 1, "the word");
        b.wordReading = text(p + 4 + 42, r + 1, "the word's reading");
        box.rows_.append({number, b});
    }
    return box;
}

ReadingBox ReadingBox::load(const QString &dir)
{
    const auto bytes = readWholeFile(dir, ReadingBoxFile, qint64(MaxRows) * RecordSize);
    return bytes ? fromBytes(*bytes) : ReadingBox();
}

QByteArray ReadingBox::toBytes(const QVector<QPair<int, BoxReading>> &rows)
{
    if (rows.size() > MaxRows)
        throw damaged(QStringLiteral("more than %1 rows").arg(MaxRows));
    QByteArray out;
    for (int i = 0; i < rows.size(); ++i) {
        const auto &[number, b] = rows[i];
        if (number < 1 || number > MaxKanjiNumber || (b.kind != 1 && b.kind != 2))
            throw damaged(QStringLiteral("row %1: kanji %2, kind %3").arg(i + 1).arg(number).arg(b.kind));
        char head[4];
        bin::putI16(head, int16_t(number));
        bin::putI16(head + 2, int16_t(b.kind));
        out.append(head, 4);
        putText(out, b.reading, i + 1, "the reading");
        putText(out, b.word, i + 1, "the word");
        putText(out, b.wordReading, i + 1, "the word's reading");
    }
    return out;
}

QVector<BoxReading> ReadingBox::of(int kanjiNumber) const
{
    QVector<BoxReading> out;
    for (const auto &[number, b] : rows_)
        if (number == kanjiNumber)
            out.append(b);
    return out;
}

} // namespace fm
