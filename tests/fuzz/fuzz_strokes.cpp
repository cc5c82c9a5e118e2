#include "data/catalogue.h"
#include "handwriting/reference.h"
#include "harness.h"

// The reference strokes: a file is refused with FileError or read whole, and
// a file that was read is the one its strokes write back, byte for byte (the
// format leaves no freedom, so anything else is a reader that skipped a check).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    survive([&] {
        const fm::ReferenceStrokes strokes = fm::ReferenceStrokes::fromBytes(bytes);
        QHash<int, fm::ReferenceStrokeList> byKanji;
        for (int k = 1; k <= fm::MaxKanjiNumber; ++k) {
            const fm::ReferenceStrokeList &list = strokes.of(k);
            if (list.isEmpty())
                continue;
            byKanji.insert(k, list);
            if (fm::inkFromReference(list).size() != list.size())
                __builtin_trap();
        }
        if (byKanji.size() != strokes.kanjiCount() || fm::ReferenceStrokes::toBytes(byKanji) != bytes)
            __builtin_trap();
    });
    return 0;
}

std::vector<QByteArray> fuzzSeeds()
{
    return {fm::ReferenceStrokes::toBytes(
        {{1, {{QPointF(25, 126), QPointF(226, 116)}}},
         {10, {{QPointF(20, 100), QPointF(230, 100)}, {QPointF(128, 10), QPointF(128, 250)}}},
         {240, {{QPointF(0, 0), QPointF(255, 255)}}}})};
}
