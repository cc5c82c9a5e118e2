#pragma once
// The arithmetic behind the records screens, kept apart from the widgets:
// paging through a player's study log, the texts of a history row, the
// level-clear mark of a kanji and the cells of the kanji list.
#include "data/catalogue.h"
#include "data/roster.h"
#include "data/studylog.h"
#include <QPoint>
#include <QString>
#include <QStringList>
#include <array>

namespace fm
{
class Random;
}

namespace fm::records
{

// ---- Study history ------------------------------------------------------

constexpr int HistoryPageRows = 10;

// One read of a page: records first .. first + count - 1 (0-based) fill rows
// 1..count; the rows after them are emptied.
struct HistoryPage {
    int first = 0;
    int count = 0;
    int position = 0;       // the page position afterwards: records shown so far
    bool nextShown = false; // records remain after this page
    bool prevShown = false; // there is a page before this one
};

// Reads a page from position (the number of records before it) of a log of
// recordCount records.
HistoryPage readHistoryPage(int position, int recordCount);

// The position to read from for the page before the one that ended at
// position: 20 (after a full second page) gives 0, 25 gives 10.
int previousPagePosition(int position);

// Where the page of the newest records starts: the history opens there, so
// that a long history does not begin years back.
int lastPagePosition(int recordCount);

// The seven cells of a history row, in column order: number, date, level,
// the level's twenty kanji, kind, mode and passed mark.
QStringList historyRow(const StudyRecord &record, int number, const Catalogue &catalogue);

// The date of a day number as year/month/day (2023/03/15); empty when it is no date.
QString historyDate(double dayNumber);

// The kanji of a level, one after the other.
QString levelKanji(int level, const Catalogue &catalogue);

// The history screen's title: the name followed by the screen's title, at
// most 26 bytes in the file encoding, never ending in half a character.
QString historyTitle(const QByteArray &name);

// ---- Per-kanji results ----------------------------------------------------

constexpr int ListedKanji = 240;

// Whether kanji (1..240) counts as cleared in kind for
// a player at level studying currentKind: mastered on its own; or, while
// writing is studied, every reading up to the current level; otherwise
// everything below the current level.
bool levelCleared(bool mastered, int kanji, StudyKind kind, int level, StudyKind currentKind);

// Level of kanji j: 20 kanji per level.
int kanjiLevel(int kanji);

// ---- Kanji list -------------------------------------------------------------

constexpr int ListCellWidth = 24;
constexpr int ListCellHeight = 30;
constexpr int ListCellsPerColumn = 12;
constexpr int ListWidth = 480;
constexpr int ListHeight = 360;
constexpr int GlideTicks = 30;   // ticks of the moving phase
constexpr int ScatterTicks = 17; // ticks of the scattered phase

// Top-left corner of cell c (1..240): down a column first, columns from the left.
QPoint listCell(int cell);

// Where a kanji stands at tick n (1..30) of the moving phase: on the straight
// line from start (tick 0) to target (tick 30).
QPoint glidePosition(QPoint start, QPoint target, int tick);

// One kanji of the list. Items are indexed by their start cell.
struct ListItem {
    int kanji = 0;
    bool cleared = false;
    QPoint start;
    QPoint target;
};
using ListItems = std::array<ListItem, ListedKanji + 1>; // [1..240]

// Lays the list out for one press: every kanji s = 1..240 gets a free cell
// drawn at random as its start; cleared kanji end in cells 1, 2, 3 ... and
// the others in 240, 239 ... in number order. cleared[s] says whether kanji
// s is cleared.
ListItems layoutKanjiList(const std::array<bool, ListedKanji + 1> &cleared, Random &random);

// The kanji whose cell holds point p of the finished list; 0 for none.
int kanjiAtListPoint(const ListItems &items, QPoint p);

} // namespace fm::records
