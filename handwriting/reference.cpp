#include "handwriting/reference.h"
#include "data/binio.h"
#include "data/catalogue.h"
#include "data/errors.h"
#include "data/fileio.h"
#include <QList>
#include <algorithm>
#include <cmath>

// Kakijun1.dat, little-endian like the other data files:
//   "KKJN", version (i16, 1), kanji count N (i16, 1..1024)
//   N index entries of 4 bytes in rising kanji number:
//     kanji number (i16, 1..1024), stroke count (u8, 1..30), 0 (u8)
//   then each kanji's strokes in index order, 4 bytes a stroke:
//     start x, start y, end x, end y (u8 each, on the 0..255 square)
// and nothing after the last stroke.

namespace fm
{

namespace
{

constexpr char kMagic[4] = {'K', 'K', 'J', 'N'};
constexpr int kVersion = 1;
constexpr int kHeaderSize = 8;
constexpr int kIndexEntrySize = 4;
constexpr int kStrokeSize = 4;
// The most strokes of any kanji in the source data; the taught ones have at most 20.
constexpr int kMaxStrokesPerKanji = 30;
constexpr qint64 kMaxFileBytes =
    kHeaderSize + qint64(MaxKanjiNumber) * (kIndexEntrySize + kMaxStrokesPerKanji * kStrokeSize);

FileError damaged(const QString &detail)
{
    return FileError(ReferenceStrokesFile, detail);
}

uint8_t coordinate(double v)
{
    return uint8_t(std::clamp<long>(std::lround(v), 0, InkSide - 1));
}

// The header's checks; returns the number of kanji the index holds.
int checkHeader(const QByteArray &bytes)
{
    const qint64 size = bytes.size();
    if (size < kHeaderSize)
        throw damaged(QStringLiteral("%1 bytes, shorter than its header").arg(size));
    if (size > kMaxFileBytes)
        throw damaged(
            QStringLiteral("%1 bytes, more than the %2 its format allows").arg(size).arg(kMaxFileBytes));
    const char *p = bytes.constData();
    if (!std::equal(kMagic, kMagic + 4, p))
        throw damaged(QStringLiteral("not a stroke file (wrong signature)"));
    if (bin::i16(p + 4) != kVersion)
        throw damaged(QStringLiteral("version %1, not %2").arg(bin::i16(p + 4)).arg(kVersion));
    const int count = bin::i16(p + 6);
    if (count < 1 || count > MaxKanjiNumber)
        throw damaged(QStringLiteral("%1 kanji, outside 1..%2").arg(count).arg(MaxKanjiNumber));
    if (size < kHeaderSize + qint64(count) * kIndexEntrySize)
        throw damaged(QStringLiteral("%1 bytes, too short for the index of %2 kanji").arg(size).arg(count));
    return count;
}

// Index entry i (from 0) at e, after the entry of kanji previous.
void checkIndexEntry(int i, const char *e, int previous)
{
    const int number = bin::i16(e);
    const int strokes = bin::u8(e + 2);
    if (number < 1 || number > MaxKanjiNumber)
        throw damaged(QStringLiteral("index entry %1: kanji number %2 outside 1..%3")
                          .arg(i + 1)
                          .arg(number)
                          .arg(MaxKanjiNumber));
    if (number <= previous)
        throw damaged(QStringLiteral("index entry %1: kanji %2 after kanji %3 (numbers must rise)")
                          .arg(i + 1)
                          .arg(number)
                          .arg(previous));
    if (bin::u8(e + 3) != 0)
        throw damaged(
            QStringLiteral("index entry %1: reserved byte %2, not 0").arg(i + 1).arg(bin::u8(e + 3)));
    if (strokes < 1 || strokes > kMaxStrokesPerKanji)
        throw damaged(QStringLiteral("kanji %1: %2 strokes, outside 1..%3")
                          .arg(number)
                          .arg(strokes)
                          .arg(kMaxStrokesPerKanji));
}

} // namespace

ReferenceStrokes ReferenceStrokes::fromBytes(const QByteArray &bytes)
{
    const int count = checkHeader(bytes);
    const qint64 size = bytes.size();
    const char *p = bytes.constData();
    ReferenceStrokes out;
    out.byKanji_.reserve(count);
    qint64 at = kHeaderSize + qint64(count) * kIndexEntrySize;
    int previous = 0;
    for (int i = 0; i < count; ++i) {
        const char *e = p + kHeaderSize + qint64(i) * kIndexEntrySize;
        checkIndexEntry(i, e, previous);
        const int number = bin::i16(e);
        const int strokes = bin::u8(e + 2);
        if (at + qint64(strokes) * kStrokeSize > size)
            throw damaged(QStringLiteral("kanji %1: its strokes lie past the end of the file").arg(number));
        ReferenceStrokeList list;
        list.reserve(strokes);
        for (int s = 0; s < strokes; ++s, at += kStrokeSize) {
            const char *q = p + at;
            list.push_back({QPointF(bin::u8(q), bin::u8(q + 1)), QPointF(bin::u8(q + 2), bin::u8(q + 3))});
        }
        out.byKanji_.insert(number, list);
        previous = number;
    }
    if (at != size)
        throw damaged(QStringLiteral("%1 bytes after the last stroke").arg(size - at));
    return out;
}

ReferenceStrokes ReferenceStrokes::load(const QString &dir)
{
    const auto bytes = readWholeFile(dir, ReferenceStrokesFile, kMaxFileBytes);
    if (!bytes)
        throw FileError::notFound(ReferenceStrokesFile);
    return fromBytes(*bytes);
}

QByteArray ReferenceStrokes::toBytes(const QHash<int, ReferenceStrokeList> &byKanji)
{
    QList<int> numbers = byKanji.keys();
    std::sort(numbers.begin(), numbers.end());
    if (numbers.isEmpty() || numbers.size() > MaxKanjiNumber)
        throw damaged(QStringLiteral("%1 kanji, outside 1..%2").arg(numbers.size()).arg(MaxKanjiNumber));
    QByteArray out(kHeaderSize + numbers.size() * kIndexEntrySize, '\0');
    std::copy(kMagic, kMagic + 4, out.data());
    bin::putI16(out.data() + 4, kVersion);
    bin::putI16(out.data() + 6, int16_t(numbers.size()));
    for (int i = 0; i < numbers.size(); ++i) {
        const int number = numbers[i];
        const ReferenceStrokeList &list = byKanji[number];
        if (number < 1 || number > MaxKanjiNumber)
            throw damaged(QStringLiteral("kanji number %1 outside 1..%2").arg(number).arg(MaxKanjiNumber));
        if (list.isEmpty() || list.size() > kMaxStrokesPerKanji)
            throw damaged(QStringLiteral("kanji %1: %2 strokes, outside 1..%3")
                              .arg(number)
                              .arg(list.size())
                              .arg(kMaxStrokesPerKanji));
        char *e = out.data() + kHeaderSize + i * kIndexEntrySize;
        bin::putI16(e, int16_t(number));
        bin::putU8(e + 2, uint8_t(list.size()));
        for (const ReferenceStroke &s : list) {
            out.append(char(coordinate(s.from.x())));
            out.append(char(coordinate(s.from.y())));
            out.append(char(coordinate(s.to.x())));
            out.append(char(coordinate(s.to.y())));
        }
    }
    return out;
}

const ReferenceStrokeList &ReferenceStrokes::of(int kanjiNumber) const
{
    static const ReferenceStrokeList none;
    const auto it = byKanji_.constFind(kanjiNumber);
    return it == byKanji_.constEnd() ? none : *it;
}

void requireStrokesOfEveryKanji(const ReferenceStrokes &strokes, const Catalogue &catalogue)
{
    for (int k = 1; k <= MaxKanjiNumber; ++k) {
        const int wanted = catalogue.KanjiTable[k].Strokes;
        if (wanted > 0 && strokes.of(k).size() != wanted)
            throw damaged(strokes.of(k).isEmpty()
                              ? QStringLiteral("kanji %1 has no strokes").arg(k)
                              : QStringLiteral("kanji %1 has %2 strokes, the catalogue %3")
                                    .arg(k)
                                    .arg(strokes.of(k).size())
                                    .arg(wanted));
    }
}

Ink inkFromReference(const ReferenceStrokeList &strokes, double step)
{
    step = std::max(step, 1.0);
    Ink ink;
    ink.reserve(strokes.size());
    for (const ReferenceStroke &s : strokes) {
        const QPointF d = s.to - s.from;
        const int segments = std::max(1, int(std::ceil(std::hypot(d.x(), d.y()) / step)));
        InkStroke stroke;
        stroke.reserve(segments + 1);
        for (int i = 0; i <= segments; ++i)
            stroke.push_back(s.from + d * (double(i) / segments));
        ink.push_back(stroke);
    }
    return ink;
}

} // namespace fm
