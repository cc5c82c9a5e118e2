#include "catalogue.h"
#include "harness.h"
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    // The first byte says where Bushu1.dat ends and Kanji1.dat begins.
    const int split = bytes.isEmpty() ? 0 : (static_cast<uint8_t>(bytes[0]) * 8) % (bytes.size());
    auto cat = std::make_unique<fm::Catalogue>();
    survive([&] {
        fm::loadCatalogueFromBytes(*cat, bytes.mid(1, split), bytes.mid(1 + split));
        for (int s = 1; s <= fm::MaxStrokes; ++s)
            for (int16_t k : cat->byStrokes(s))
                if (k < 1 || k > fm::MaxKanjiNumber)
                    __builtin_trap();
    });
    return 0;
}
