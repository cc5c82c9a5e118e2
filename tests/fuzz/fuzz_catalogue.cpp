#include "data/catalogue.h"
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

// A catalogue of eight parts and twelve kanji; the first byte (8) puts the
// split after the 64 bytes of Bushu1.dat.
std::vector<QByteArray> fuzzSeeds()
{
    QVector<fm::BushuRecord> parts;
    for (int p = 1; p <= 8; ++p)
        parts.push_back(
            {static_cast<int16_t>(1 + p % 3), 0, static_cast<int16_t>(p), static_cast<int16_t>(p)});
    QVector<fm::KanjiRecord> kanji;
    for (int k = 1; k <= 12; ++k)
        kanji.push_back({static_cast<int16_t>(k), 0x88, static_cast<uint8_t>(0x9f + k),
                         static_cast<int16_t>(1 + k % 5), static_cast<int16_t>(1 + k % 3),
                         static_cast<int16_t>(1 + k % 8), 0, 0});
    return {QByteArray(1, char(8)) + fm::encodeBushuRecords(parts) + fm::encodeKanjiRecords(kanji)};
}
