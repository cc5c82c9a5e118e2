#include "data/progress.h"

namespace fm
{

void selectPlayerFromRecords(AppState &state, int player, const QVector<StudyRecord> &records)
{
    state.CurrentPlayer = static_cast<int16_t>(player);
    const PlayerEntry &entry = state.Players.PlayerTable[player];
    state.CurrentLevel = entry.Level;
    state.CurrentKind = kindFromFile(entry.Kind);
    state.Progress = ProgressTable{};
    state.LevelCorrectCount = 0;

    LevelCounter counter;
    for (const StudyRecord &r : records) {
        if (r.Mode != StudyMode::Challenge || !isValidRecord(r))
            continue;
        counter.take(r);
        for (int i = 1; i <= QuestionsPerTest; ++i) {
            ProgressCell &cell = state.Progress[r.Kanji[i]][fileValue(r.Kind)];
            ++cell.AskedCount;
            if (r.Correct[i] == 1) {
                ++cell.CorrectCount;
                if (cell.CorrectCount >= MasteredAtSelection)
                    cell.Mastered = true;
            }
        }
    }
    // The count belongs to the level the entry holds; a log that ends
    // elsewhere (an entry not rebuilt from it) has collected nothing there.
    if (counter.reached() == LevelKind{entry.Level, entry.Kind})
        state.LevelCorrectCount = static_cast<int16_t>(counter.collected());
    state.ReviewMode = false;
}

void selectPlayer(AppState &state, int player)
{
    selectPlayerFromRecords(state, player, readLog(state.DataDir, player).records);
}

void recordTest(AppState &state, bool counted, double timeNow)
{
    state.LevelUpFlag = false;
    StudyRecord r;
    r.Mode = state.ChallengeMode ? StudyMode::Challenge : StudyMode::Practice;
    r.Level = state.CurrentLevel;
    r.Kind = state.CurrentKind;
    r.Time = timeNow;
    for (int i = 1; i <= QuestionsPerTest; ++i) {
        r.Kanji[i] = state.QuestionSlots[i].Kanji;
        r.Correct[i] = state.QuestionSlots[i].Correct == 1 ? 1 : 0;
    }
    r.Reserved = 0;
    r.Counted = counted ? 1 : 0;
    appendLogRecord(state.DataDir, state.CurrentPlayer, r);

    if (!state.ChallengeMode)
        return;
    const int kind = fileValue(state.CurrentKind);
    for (int i = 1; i <= QuestionsPerTest; ++i) {
        const int k = state.QuestionSlots[i].Kanji;
        if (k < 1 || k > IndexedKanjiCount || kind < 1 || kind > 2)
            continue; // a slot outside the tables is never indexed
        ProgressCell &cell = state.Progress[k][kind];
        ++cell.AskedCount;
        if (state.QuestionSlots[i].Correct == 1) {
            ++cell.CorrectCount;
            if (cell.CorrectCount >= MasteredWhileTesting)
                cell.Mastered = true;
        }
    }
    PlayerEntry &entry = state.currentEntry();
    LevelCounter counter({entry.Level, entry.Kind}, state.LevelCorrectCount);
    state.LevelUpFlag = counter.take(r);
    entry.Level = counter.reached().Level;
    entry.Kind = counter.reached().Kind;
    state.LevelCorrectCount = static_cast<int16_t>(counter.collected());
}

} // namespace fm
