#include "handwriting/reference.h"
#include "data/binio.h"
#include "data/catalogue.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "handwriting/strokefile.h"
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

constexpr int kStrokeSize = 4;
// The most strokes of any kanji in the source data; the taught ones have at most 20.
constexpr int kMaxStrokesPerKanji = 30;
constexpr qint64 kMaxFileBytes =
    strokefile::HeaderSize +
    qint64(MaxKanjiNumber) * (strokefile::IndexEntrySize + kMaxStrokesPerKanji * kStrokeSize);

const strokefile::Format &format()
{
    static const strokefile::Format f{ReferenceStrokesFile, "KKJN", "stroke file", kMaxStrokesPerKanji,
                                      kMaxFileBytes};
    return f;
}

FileError damaged(const QString &detail)
{
    return strokefile::damaged(format(), detail);
}

uint8_t coordinate(double v)
{
    return uint8_t(std::clamp<long>(std::lround(v), 0, InkSide - 1));
}

} // namespace

ReferenceStrokes ReferenceStrokes::fromBytes(const QByteArray &bytes)
{
    const int count = strokefile::checkHeader(format(), bytes);
    const qint64 size = bytes.size();
    const char *p = bytes.constData();
    ReferenceStrokes out;
    out.byKanji_.reserve(count);
    qint64 at = strokefile::HeaderSize + qint64(count) * strokefile::IndexEntrySize;
    int previous = 0;
    for (int i = 0; i < count; ++i) {
        const auto [number, strokes] = strokefile::checkIndexEntry(format(), bytes, i, previous);
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
    QByteArray out = strokefile::startFile(format(), numbers.size());
    for (int i = 0; i < numbers.size(); ++i) {
        const ReferenceStrokeList &list = byKanji[numbers[i]];
        strokefile::putIndexEntry(format(), out, i, numbers[i], list.size());
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
