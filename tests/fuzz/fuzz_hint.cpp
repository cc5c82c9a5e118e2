#include "data/hintfile.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    fm::HintIndex index;
    survive([&] { fm::loadHintIndexFromBytes(index, bytes); });
    // One record from however many bytes there are: the decoder reads only the
    // view, a short one as if the rest were zeros.
    QByteArray padded = bytes.left(fm::HintRecordSize);
    padded.resize(fm::HintRecordSize, '\0');
    if (fm::encodeHintRecord(fm::decodeHintRecord(bytes)) !=
        fm::encodeHintRecord(fm::decodeHintRecord(padded)))
        __builtin_trap();
    if (index.HintLastNumber < 0 || index.HintLastNumber > fm::MaxHintRecords)
        __builtin_trap();
    return 0;
}

// Whole, valid hint files, so that the search starts past the whole-record check.
std::vector<QByteArray> fuzzSeeds()
{
    std::vector<QByteArray> seeds;
    for (int count : {1, 3}) {
        QByteArray file;
        for (int n = 1; n <= count; ++n) {
            fm::HintRecord r;
            r.Screen = static_cast<int16_t>(n + 1);
            r.Situation = 1;
            r.Kind = static_cast<int16_t>(n % 2 + 1);
            r.Number = static_cast<int16_t>(count == 3 && n == 3 ? fm::MaxHintRecords : n);
            r.Level1Lines[0] = "hint";
            r.Level2Lines[4] = "more";
            file += fm::encodeHintRecord(r);
        }
        seeds.push_back(file);
    }
    return seeds;
}
