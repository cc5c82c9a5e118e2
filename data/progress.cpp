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

    int16_t runLevel = 1;
    StudyKind runKind = StudyKind::Reading;
    for (const StudyRecord &r : records) {
        if (r.Mode != StudyMode::Challenge || !isValidRecord(r))
            continue;
        if (r.Level != runLevel || r.Kind != runKind) {
            state.LevelCorrectCount = 0;
            runLevel = r.Level;
            runKind = r.Kind;
        }
        for (int i = 1; i <= QuestionsPerTest; ++i) {
            ProgressCell &cell = state.Progress[r.Kanji[i]][fileValue(r.Kind)];
            ++cell.AskedCount;
            if (r.Correct[i] == 1) {
                ++cell.CorrectCount;
                if (entry.Kind == fileValue(r.Kind) && entry.Level == r.Level)
                    ++state.LevelCorrectCount;
                if (cell.CorrectCount >= MasteredAtSelection)
                    cell.Mastered = true;
            }
        }
    }
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
            if (counted)
                ++state.LevelCorrectCount;
            if (cell.CorrectCount >= MasteredWhileTesting)
                cell.Mastered = true;
        }
    }
    if (state.LevelCorrectCount >= PassCount) {
        PlayerEntry &entry = state.currentEntry();
        const LevelKind next = levelAfter({entry.Level, entry.Kind});
        entry.Level = next.Level;
        entry.Kind = next.Kind;
        state.LevelCorrectCount = 0;
        state.LevelUpFlag = true;
    }
}

} // namespace fm
