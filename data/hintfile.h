#pragma once
// The hint pages Hint.dat: 510-byte records.
#include <QByteArray>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>

namespace fm
{

constexpr int HintRecordSize = 510;
constexpr int MaxHintRecords = 100;
constexpr int HintLevel1Bytes = 40;
constexpr int HintLevel2Bytes = 60;
constexpr int HintLines = 5;

// Where the child stands when asking for help; the values are what a hint
// record stores as its situation.
enum class HintSituation : int16_t {
    Screen = 1,          // the screen itself, no question on it
    Question = 2,        // a question answered with kana, or with a list not made from a part
    WritingChoice = 3,   // a writing question back on the first panels after choosing a part
    WritingParts = 4,    // a group's parts
    WritingPartList = 5, // the kanji list made from a part
    WritingSquare = 6,   // the writing square, a kanji written by hand
};
constexpr int16_t fileValue(HintSituation situation)
{
    return int16_t(situation);
}

struct HintRecord {
    int16_t Screen = 0;
    int16_t Situation = 0;
    int16_t Kind = 0;
    int16_t Unused = 0;
    int16_t Number = 0;
    std::array<QByteArray, HintLines> Level1Lines; // up to the first NUL
    std::array<QByteArray, HintLines> Level2Lines;
};

struct HintIndexEntry {
    int16_t Screen = 0;
    int16_t Situation = 0;
    int16_t Kind = 0;
};

struct HintIndex {
    std::array<HintIndexEntry, MaxHintRecords + 1> Entries{}; // by Number 1..100
    int16_t HintLastNumber = 0;
    bool HintLoaded = false;
};

// Name of the file: "Hint.dat".
QString hintFileName();

QByteArray encodeHintRecord(const HintRecord &record);
// One record's bytes (HintRecordSize of them).
HintRecord decodeHintRecord(QByteArrayView record);

// Reads every record; a partial record, more than 100 records or a Number
// outside 1..100: FileError("Hint.dat"). Missing file: FileError too.
QVector<HintRecord> decodeHintFile(const QByteArray &bytes);
void loadHintIndex(HintIndex &index, const QString &dir);
void loadHintIndexFromBytes(HintIndex &index, const QByteArray &bytes);

// Page p (record at position p - 1); std::nullopt-like: false when the file is missing.
bool readHintPage(const QString &dir, int page, HintRecord &out);

} // namespace fm
