#include "data/questionbank.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    fm::QuestionBank bank;
    survive([&] { fm::loadQuestionIndexFromBytes(bank, bytes); });
    for (int k = 1; k <= fm::IndexedKanjiCount; ++k) {
        const int c = fm::pickChoice(bank, k, [](int n) { return n - 1; });
        if (c < 1)
            __builtin_trap();
    }
    if (bytes.size() >= fm::QuestionRecordSize) {
        const fm::QuestionRecord r = fm::decodeQuestionRecord(bytes.constData());
        for (int i = 1; i <= 3; ++i)
            if (fm::segmentText(r.Segments[i]).size() > fm::SegmentBytes)
                __builtin_trap();
    }
    return 0;
}
