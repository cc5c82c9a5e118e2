#include "harness.h"
#include "hintfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fm::HintIndex index;
    survive([&] { fm::loadHintIndexFromBytes(index, fuzzBytes(data, size)); });
    if (index.HintLastNumber < 0 || index.HintLastNumber > fm::MaxHintRecords)
        __builtin_trap();
    return 0;
}
