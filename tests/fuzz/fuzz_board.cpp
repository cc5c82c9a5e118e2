#include "data/gamescore.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto board = fm::decodeBoard(fuzzBytes(data, size));
    if (board.size() > fm::BoardReadLimit)
        __builtin_trap();
    for (const auto &r : board)
        if (r.Name.size() > 10)
            __builtin_trap();
    (void)fm::encodeBoard(board);
    return 0;
}
