#include "data/roster.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fm::Roster roster;
    survive([&] {
        fm::decodePlayers(roster, fuzzBytes(data, size));
        // Whatever was accepted writes back to records that read the same:
        // every name byte for byte, every number, the padding byte.
        const QByteArray again = fm::encodePlayers(roster);
        if (again.size() != roster.PlayerCount * fm::PlayerRecordSize)
            __builtin_trap();
        fm::Roster back;
        fm::decodePlayers(back, again);
        for (int n = 1; n <= roster.PlayerCount; ++n) {
            const fm::PlayerEntry &a = roster.PlayerTable[n];
            const fm::PlayerEntry &b = back.PlayerTable[n];
            if (a.Name != b.Name || a.Level != b.Level || a.Kind != b.Kind || a.Reserved0 != b.Reserved0 ||
                a.Game2Level != b.Game2Level || a.Padding != b.Padding)
                __builtin_trap();
        }
    });
    return 0;
}

std::vector<QByteArray> fuzzSeeds()
{
    fm::Roster roster;
    for (const char *name : {"a", "hanako", "0123456789"})
        fm::addPlayer(roster, name);
    roster.PlayerTable[1].Level = 13;
    roster.PlayerTable[2].Name = QByteArray("ab\x82", 3); // a lone lead byte at the end
    return {fm::encodePlayers(roster)};
}
