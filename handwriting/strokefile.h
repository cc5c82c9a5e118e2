#pragma once
// The frame both stroke files share (Kakijun1.dat and Hitsujun1.dat),
// little-endian like the other data files:
//   a 4-byte signature, version (i16, 1), kanji count N (i16, 1..1024)
//   N index entries of 4 bytes in rising kanji number:
//     kanji number (i16, 1..1024), stroke count (u8), 0 (u8)
//   then each kanji's strokes in index order, in the file's own form.
// Header-only: the data tests and the fuzz harness compile the readers alone.
#include "data/binio.h"
#include "data/catalogue.h"
#include "data/errors.h"
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <utility>

namespace fm::strokefile
{

constexpr int HeaderSize = 8;
constexpr int IndexEntrySize = 4;
constexpr int Version = 1;

struct Format {
    QString file;      // the name every message starts with
    const char *magic; // 4 bytes
    const char *what;  // what the file is, for a wrong signature: "stroke file"
    int maxStrokes;    // strokes a kanji may have
    qint64 maxBytes;   // the largest file the format allows
};

inline FileError damaged(const Format &f, const QString &detail)
{
    return FileError(f.file, detail);
}

// The header's checks; returns the number of kanji the index holds.
inline int checkHeader(const Format &f, const QByteArray &bytes)
{
    const qint64 size = bytes.size();
    if (size < HeaderSize)
        throw damaged(f, QStringLiteral("%1 bytes, shorter than its header").arg(size));
    if (size > f.maxBytes)
        throw damaged(
            f, QStringLiteral("%1 bytes, more than the %2 its format allows").arg(size).arg(f.maxBytes));
    const char *p = bytes.constData();
    if (!std::equal(f.magic, f.magic + 4, p))
        throw damaged(f, QStringLiteral("not a %1 (wrong signature)").arg(QLatin1String(f.what)));
    if (bin::i16(p + 4) != Version)
        throw damaged(f, QStringLiteral("version %1, not %2").arg(bin::i16(p + 4)).arg(Version));
    const int count = bin::i16(p + 6);
    if (count < 1 || count > MaxKanjiNumber)
        throw damaged(f, QStringLiteral("%1 kanji, outside 1..%2").arg(count).arg(MaxKanjiNumber));
    if (size < HeaderSize + qint64(count) * IndexEntrySize)
        throw damaged(f,
                      QStringLiteral("%1 bytes, too short for the index of %2 kanji").arg(size).arg(count));
    return count;
}

// Index entry i (from 0) of the file, after the entry of kanji previous;
// returns its kanji number and stroke count.
inline std::pair<int, int> checkIndexEntry(const Format &f, const QByteArray &bytes, int i, int previous)
{
    const char *e = bytes.constData() + HeaderSize + qint64(i) * IndexEntrySize;
    const int number = bin::i16(e);
    const int strokes = bin::u8(e + 2);
    if (number < 1 || number > MaxKanjiNumber)
        throw damaged(f, QStringLiteral("index entry %1: kanji number %2 outside 1..%3")
                             .arg(i + 1)
                             .arg(number)
                             .arg(MaxKanjiNumber));
    if (number <= previous)
        throw damaged(f, QStringLiteral("index entry %1: kanji %2 after kanji %3 (numbers must rise)")
                             .arg(i + 1)
                             .arg(number)
                             .arg(previous));
    if (bin::u8(e + 3) != 0)
        throw damaged(
            f, QStringLiteral("index entry %1: reserved byte %2, not 0").arg(i + 1).arg(bin::u8(e + 3)));
    if (strokes < 1 || strokes > f.maxStrokes)
        throw damaged(
            f,
            QStringLiteral("kanji %1: %2 strokes, outside 1..%3").arg(number).arg(strokes).arg(f.maxStrokes));
    return {number, strokes};
}

// The header with room for the index of `count` kanji; the strokes follow.
inline QByteArray startFile(const Format &f, qsizetype count)
{
    if (count < 1 || count > MaxKanjiNumber)
        throw damaged(f, QStringLiteral("%1 kanji, outside 1..%2").arg(count).arg(MaxKanjiNumber));
    QByteArray out(HeaderSize + count * IndexEntrySize, '\0');
    std::copy(f.magic, f.magic + 4, out.data());
    bin::putI16(out.data() + 4, Version);
    bin::putI16(out.data() + 6, int16_t(count));
    return out;
}

// Index entry i of a file begun with startFile.
inline void putIndexEntry(const Format &f, QByteArray &out, int i, int number, qsizetype strokes)
{
    if (number < 1 || number > MaxKanjiNumber)
        throw damaged(f, QStringLiteral("kanji number %1 outside 1..%2").arg(number).arg(MaxKanjiNumber));
    if (strokes < 1 || strokes > f.maxStrokes)
        throw damaged(
            f,
            QStringLiteral("kanji %1: %2 strokes, outside 1..%3").arg(number).arg(strokes).arg(f.maxStrokes));
    char *e = out.data() + HeaderSize + i * IndexEntrySize;
    bin::putI16(e, int16_t(number));
    bin::putU8(e + 2, uint8_t(strokes));
}

} // namespace fm::strokefile
