#include "data/progress.h"
#include "harness.h"
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    // One record from however many bytes there are: the decoder reads only the
    // view, a short one as if the rest were zeros.
    QByteArray padded = bytes.left(fm::StudyRecordSize);
    padded.resize(fm::StudyRecordSize, '\0');
    if (fm::encodeStudyRecord(fm::decodeStudyRecord(bytes)) !=
        fm::encodeStudyRecord(fm::decodeStudyRecord(padded)))
        __builtin_trap();
    const fm::LogContents log = fm::decodeLog(bytes);
    const fm::LevelKind lk = fm::rebuildLevel(log.records);
    if (lk.Level < 1 || lk.Level > 13 || !fm::isStudyKind(fm::fileValue(lk.Kind)))
        __builtin_trap();
    auto state = std::make_unique<fm::AppState>();
    fm::addPlayer(state->Players, "a");
    state->Players.PlayerTable[1].Level = lk.Level;
    state->Players.PlayerTable[1].Kind = lk.Kind;
    fm::selectPlayerFromRecords(*state, 1, log.records);
    // The count toward the level the rebuild reached: a pass would have raised it.
    if (state->LevelCorrectCount < 0 || state->LevelCorrectCount >= fm::PassCount)
        __builtin_trap();
    return 0;
}

std::vector<QByteArray> fuzzSeeds()
{
    QByteArray log;
    for (int t = 0; t < 5; ++t) {
        fm::StudyRecord r;
        r.Mode = t == 2 ? fm::StudyMode::Practice : fm::StudyMode::Challenge;
        r.Level = static_cast<int16_t>(1 + t / 2);
        r.Kind = t % 2 ? fm::StudyKind::Writing : fm::StudyKind::Reading;
        r.Time = 46000.5 + t;
        for (int i = 1; i <= fm::QuestionsPerTest; ++i) {
            r.Kanji[i] = static_cast<int16_t>(20 * (r.Level - 1) + i);
            r.Correct[i] = i % 3 ? 1 : 0;
        }
        r.Counted = 1;
        log += fm::encodeStudyRecord(r);
    }
    return {log};
}
