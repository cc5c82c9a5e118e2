#pragma once
// The study record log Kiroku<n>.dat: a sequence of 52-byte records.
#include "data/roster.h"
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>

namespace fm
{

constexpr int StudyRecordSize = 52;
constexpr int QuestionsPerTest = 10;
// The largest log that is read: far beyond a lifetime of tests (a hundred a
// day for twenty-five years), small enough to read at start-up.
constexpr int MaxLogRecords = 1000000;

struct StudyRecord {
    // As read: a damaged file may hold any value here (see isValidRecord).
    StudyMode Mode = StudyMode::Challenge;
    int16_t Level = 1;
    StudyKind Kind = StudyKind::Reading;
    double Time = 0;                                     // days since 1899-12-30
    std::array<int16_t, QuestionsPerTest + 1> Kanji{};   // [1..10]
    std::array<uint8_t, QuestionsPerTest + 1> Correct{}; // [1..10]
    int16_t Reserved = 0;
    uint8_t Counted = 0;

    int rightCount() const;
};

QByteArray encodeStudyRecord(const StudyRecord &record);
// One record's bytes (StudyRecordSize of them).
StudyRecord decodeStudyRecord(QByteArrayView record);

// Within the data model: Mode 1 or 2, Level 1..12, Kind 1 or 2, every kanji 1..240.
bool isValidRecord(const StudyRecord &record);

struct LogContents {
    QVector<StudyRecord> records; // the valid records, oldest first
    int skipped = 0;              // whole records outside the data model
    int tailBytes = 0;            // an incomplete last record (ignored)
};

// Parses a log; never fails: invalid records are skipped, a partial tail ignored.
LogContents decodeLog(const QByteArray &bytes);

// Reads Kiroku<n>.dat; missing file = empty log. Unreadable, not a regular
// file or more than MaxLogRecords records: FileError(name).
LogContents readLog(const QString &dir, int player);

// Appends one record, first cutting off an incomplete tail so the record
// stays aligned; synced to disk before returning. FileError(name) on failure
// (a partly written record is cut off again).
void appendLogRecord(const QString &dir, int player, const StudyRecord &record);

// A log found at a new player's number belongs to a child of an earlier
// roster: it is renamed "Kiroku<n>.orphaned-<yyyyMMdd-HHmmss>.dat" ("-2",
// "-3"... added when that is taken), never deleted. Returns the new name, or
// an empty string when there was no log. FileError(name) when it cannot be
// renamed.
QString setAsideLog(const QString &dir, int player);
// True for the name of a log set aside that way.
bool isSetAsideLogName(const QString &fileName);

// A level and kind of the course.
struct LevelKind {
    int16_t Level = 1;
    StudyKind Kind = StudyKind::Reading;
    friend bool operator==(const LevelKind &, const LevelKind &) = default;
};
// Where a child goes on passing a level and kind: reading is followed by
// writing, writing by the next level's reading. The one place that decides it.
LevelKind levelAfter(LevelKind passed);

// The level rule, the one counter that the live record of a test, choosing
// a child and the start-up rebuild all use: right answers of passed
// challenge tests (Counted set) at the child's level and kind, 40 to pass.
// A failed test's right answers never count, so the level a child reaches
// does not depend on whether the program was restarted or the child chosen
// again. A challenge record at another level and kind than the counter's
// moves the counter there with nothing collected (the log is the truth of
// where the child studied).
class LevelCounter
{
  public:
    LevelCounter() = default;
    // Goes on from a level and a count already collected there (a live test).
    LevelCounter(LevelKind at, int collected) : at_(at), collected_(collected) {}

    // Takes the next record of the log; practice and invalid records change
    // nothing. True when this record passed the level and kind.
    bool take(const StudyRecord &record);
    // Level and kind reached after the records taken so far.
    LevelKind reached() const { return at_; }
    // Right answers collected toward passing it.
    int collected() const { return collected_; }

  private:
    LevelKind at_;
    int collected_ = 0;
};

// Level and kind reached according to a whole log (the start-up rebuild).
LevelKind rebuildLevel(const QVector<StudyRecord> &records);

// Start-up: Level and Kind of every player from its log.
void rebuildLevels(Roster &roster, const QString &dir);

} // namespace fm
