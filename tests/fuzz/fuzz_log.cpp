#include "harness.h"
#include "progress.h"
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fm::LogContents log = fm::decodeLog(fuzzBytes(data, size));
    const fm::LevelKind lk = fm::rebuildLevel(log.records);
    if (lk.Level < 1 || lk.Level > 13 || lk.Kind < 1 || lk.Kind > 2)
        __builtin_trap();
    auto state = std::make_unique<fm::AppState>();
    fm::addPlayer(state->Players, "a");
    state->Players.PlayerTable[1].Level = lk.Level;
    state->Players.PlayerTable[1].Kind = lk.Kind;
    fm::selectPlayerFromRecords(*state, 1, log.records);
    return 0;
}
