#include "harness.h"
#include "roster.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fm::Roster roster;
    survive([&] {
        fm::decodePlayers(roster, fuzzBytes(data, size));
        // Whatever was accepted must write back to the same bytes' records.
        if (fm::encodePlayers(roster).size() != roster.PlayerCount * fm::PlayerRecordSize)
            __builtin_trap();
    });
    return 0;
}
