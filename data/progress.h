#pragma once
// Selecting a player and recording a test: the two routines that turn the
// study record log into progress.
#include "data/state.h"
#include "data/studylog.h"

namespace fm
{

// Makes player n current and rebuilds ProgressTable and LevelCorrectCount
// from its log. Unreadable log: FileError("Kiroku<n>.dat").
void selectPlayer(AppState &state, int player);
// The same rebuild from records already read (for tools and tests).
void selectPlayerFromRecords(AppState &state, int player, const QVector<StudyRecord> &records);

// Appends the current test to the current player's log and, in challenge
// mode, updates progress and the level. timeNow is a day number.
void recordTest(AppState &state, bool counted, double timeNow);

} // namespace fm
