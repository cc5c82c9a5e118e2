#pragma once
// The kanji catalogue: Kanji1.dat (14-byte records) and Bushu1.dat (8-byte records).
#include <QByteArray>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>

namespace fm
{

constexpr int MaxKanjiNumber = 1024;
constexpr int PartGroupCount = 10;
constexpr int PartPositionCount = 50;
constexpr int MaxStrokes = 20;
constexpr int KanjiPerStrokeCap = 100;
constexpr int KanjiPerPartCap = 50;
constexpr int KanjiRecordSize = 14;
constexpr int BushuRecordSize = 8;
// Every record takes a place in a stroke list, every part a place of 10 x 50:
// files longer than that cannot be loaded.
constexpr int MaxKanjiRecords = MaxStrokes * KanjiPerStrokeCap;
constexpr int MaxBushuRecords = PartGroupCount * PartPositionCount;

struct KanjiEntry {
    QByteArray Glyph; // one double-byte cp932 character, or empty
    int16_t Strokes = 0;
    int16_t Part1Group = 0;
    int16_t Part1Position = 0;
    int16_t Part2Group = 0;
    int16_t Part2Position = 0;
};

// One record of Kanji1.dat as stored.
struct KanjiRecord {
    int16_t Number = 0;
    uint8_t Lead = 0;
    uint8_t Trail = 0;
    int16_t Strokes = 0;
    int16_t Part1Group = 0;
    int16_t Part1Position = 0;
    int16_t Part2Group = 0;
    int16_t Part2Position = 0;
};

// One record of Bushu1.dat as stored.
struct BushuRecord {
    int16_t Group = 0;
    int16_t Unused = 0;
    int16_t Position = 0;
    int16_t GlyphIndex = 0;
};

// All tables indexed from 1; index 0 is unused. Lists are 0-terminated unless full.
struct Catalogue {
    std::array<KanjiEntry, MaxKanjiNumber + 1> KanjiTable{};
    int16_t RadicalTable[PartGroupCount + 1][PartPositionCount + 1]{};
    int16_t KanjiByStrokes[MaxStrokes + 1][KanjiPerStrokeCap + 1]{};
    int16_t KanjiByPart[PartGroupCount + 1][PartPositionCount + 1][KanjiPerPartCap + 1]{};

    void clear();
    // The kanji numbers of a 0-terminated list row.
    QVector<int16_t> byStrokes(int strokes) const;
    QVector<int16_t> byPart(int group, int position) const;
};

QByteArray encodeKanjiRecords(const QVector<KanjiRecord> &records);
QByteArray encodeBushuRecords(const QVector<BushuRecord> &records);
// Throws FileError(fileName) when the bytes are not a whole number of records.
QVector<KanjiRecord> decodeKanjiRecords(const QByteArray &bytes);
QVector<BushuRecord> decodeBushuRecords(const QByteArray &bytes);

// Fills the catalogue from the two files' contents. A record outside the data
// model (number outside 1..1024, strokes outside 1..20, part outside 10 x 50,
// a full list) rejects the file: FileError naming Kanji1.dat or Bushu1.dat.
void loadCatalogueFromBytes(Catalogue &cat, const QByteArray &bushu, const QByteArray &kanji);

// Name of the kanji file: "Kanji1.dat".
QString kanjiFileName();

// Reads Bushu1.dat, then Kanji1.dat, from the program directory.
// Bushu1.dat missing: FileError::notFound("Bushu1.dat").
void loadCatalogue(Catalogue &cat, const QString &dir);

} // namespace fm
