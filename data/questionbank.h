#pragma once
// The question bank: Mondai2.dat (index, 6-byte records) and Mondai1.dat
// (sentences, 64-byte records of three 20-byte cp932 segments), and
// Mondai3.dat: sentences in the same layout whose target is a word read as a
// whole (一日 ついたち), stored as "word:reading", each filed under one kanji
// of its word (the record's first field). They are only asked as reading
// questions, after that kanji's own sentences: a bank without the file has none.
#include "data/levels.h"
#include <QByteArray>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <functional>

namespace fm
{

constexpr int IndexedKanjiCount = KanjiCount;
constexpr int QuestionIndexRecordSize = 6;
constexpr int QuestionRecordSize = 64;
constexpr int SegmentBytes = 20;
constexpr int MaxWholeWordRecords = 240;
// Between a whole word and its reading in a target segment; never a cp932 trail byte.
constexpr char WholeWordSeparator = ':';

struct QuestionIndexEntry {
    int16_t Unused = 0;
    int16_t FirstRecord = 0;
    int16_t RecordCount = 0;
};

struct QuestionRecord {
    int16_t Unused = 0;
    int16_t TargetSegment = 0;
    std::array<QByteArray, 4> Segments; // [1..3], raw 20-byte fields as stored
};

struct QuestionBank {
    std::array<QuestionIndexEntry, IndexedKanjiCount + 1> QuestionIndex{};
    int16_t QuestionIndexCount = 0;
    QVector<QuestionRecord> WholeWords; // Mondai3.dat, in file order
};

// A uniform draw 0 .. n-1 (n >= 1).
using RandomFn = std::function<int(int n)>;

// Names of the files: the sentences "Mondai1.dat", their index "Mondai2.dat"
// and the words read as a whole "Mondai3.dat".
QString sentenceFileName();
QString questionIndexFileName();
QString wholeWordFileName();

QByteArray encodeQuestionIndex(const QVector<QuestionIndexEntry> &entries);
QByteArray encodeQuestionRecord(const QuestionRecord &record);
// One record's bytes (QuestionRecordSize of them).
QuestionRecord decodeQuestionRecord(QByteArrayView record);

// Fills the index; more than 240 records or a partial record: FileError("Mondai2.dat").
void loadQuestionIndexFromBytes(QuestionBank &bank, const QByteArray &bytes);
// Missing or unreadable Mondai2.dat: FileError("Mondai2.dat"). Also loads
// Mondai3.dat when it is there.
void loadQuestionIndex(QuestionBank &bank, const QString &dir);
// The whole-word records of Mondai3.dat; a partial record, too many records or
// one that names no kanji 1..240 or no target 1..3: FileError("Mondai3.dat").
void loadWholeWordsFromBytes(QuestionBank &bank, const QByteArray &bytes);
// The whole-word records filed under a kanji, in file order.
QVector<QuestionRecord> wholeWordsOf(const QuestionBank &bank, int kanji);
// True when a target segment's text is "word:reading"; fills both.
bool splitWholeWord(const QByteArray &text, QByteArray *word, QByteArray *reading);

// Name of the sentence file: "Mondai1.dat".
QString sentenceFileName();

// Reads record FirstRecord + choice - 1 of Mondai1.dat, opening and closing
// the file; a choice past the kanji's RecordCount names its whole words in
// turn. Missing file, kanji outside 1..240, a record past the end or a target
// segment outside 1..3: FileError("Mondai1.dat").
QuestionRecord readQuestionRecord(const QuestionBank &bank, const QString &dir, int kanji, int choice);

// 1 + a uniform draw below RecordCount (a count of 0 gives 1).
int16_t pickChoice(const QuestionBank &bank, int kanji, const RandomFn &random);
// The same for a reading question, whose draw also takes in the kanji's whole words.
int16_t pickReadingChoice(const QuestionBank &bank, int kanji, const RandomFn &random);

// The shown text of a segment: up to the first NUL, trimmed of bytes <= 32 at both ends.
QByteArray segmentText(const QByteArray &segment);

// One-line layout of a sentence: x of labels 1..3 from the widths of the
// first two (the last label's width only matters to whoever sizes the row).
std::array<int, 3> sentenceLayout(int width1, int width2, int left = 10);

} // namespace fm
