#pragma once
// What a child's progress chart shows, worked out from the study log with the
// program's own rules and no drawing: every test as a point on a date axis,
// where the level rose, and the kanji still weak.
#include "data/catalogue.h"
#include "data/studylog.h"
#include <QString>
#include <QVector>

namespace fm::chart
{

// One recorded test that has a date.
struct TestPoint {
    double time = 0; // day number
    int right = 0;   // 0..10
    StudyKind kind = StudyKind::Reading;
    StudyMode mode = StudyMode::Challenge;
};

// The test after which the child stood at a higher level or kind, and what
// was reached.
struct LevelRise {
    int test = 0; // index into the log's records
    double time = 0;
    LevelKind reached;
};

// A kanji in one kind with its challenge answers.
struct WeakKanji {
    int kanji = 0;
    StudyKind kind = StudyKind::Reading;
    int asked = 0;
    int right = 0;
    QString glyph; // empty until nameGlyphs()
};

constexpr int MaxWeakKanji = 20;

struct ProgressChart {
    QVector<TestPoint> tests; // in log order
    int undated = 0;          // tests whose time is no date: counted, not placed
    QVector<LevelRise> rises;
    QVector<WeakKanji> weak; // weakest first
    LevelKind reached;
    double first = 0; // the earliest and latest dated test
    double last = 0;
};

// Whether a test's time is a date the history shows (and the chart places).
bool isDated(double time);

// Everything from the records of one log (as readLog gives them).
ProgressChart buildProgressChart(const QVector<StudyRecord> &records);

// The kanji of the levels reached (up to and including the current one)
// whose share of right answers in challenge tests is lowest, per kind; kanji
// never asked and kanji always answered right are not weak. At most
// MaxWeakKanji, the weakest first; of equal shares the more often asked.
QVector<WeakKanji> weakKanji(const ProgressTable &progress, int reachedLevel);

// The chart's title for a child of that stored name (on screen and in a file).
QString chartTitle(const QByteArray &name);

// Fills in the glyphs of the weak kanji from the catalogue.
void nameGlyphs(ProgressChart &chart, const Catalogue &catalogue);

// One mark of the right-answers chart: a test, or the mean of the tests of
// one series (kind and mode) in one span of days.
struct ChartMark {
    double time = 0;
    double right = 0;
    StudyKind kind = StudyKind::Reading;
    StudyMode mode = StudyMode::Challenge;
    int tests = 1;
};

struct ChartMarks {
    QVector<ChartMark> marks;
    int bucketDays = 0; // 0: one mark per test; otherwise the days one mark averages
};

// The marks for a date axis of `places` mark widths: one per test while no two
// tests of a series would share a slot, otherwise the means over the
// shortest span of days (1, 2, 7, 14, 30 ... days) that gives each series at
// most one mark per slot.
ChartMarks chartMarks(const ProgressChart &chart, int places);

} // namespace fm::chart
