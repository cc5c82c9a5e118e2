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
    // One record from however many bytes there are: the decoder reads only the
    // view, a short one as if the rest were zeros.
    const fm::QuestionRecord r = fm::decodeQuestionRecord(bytes);
    QByteArray padded = bytes.left(fm::QuestionRecordSize);
    padded.resize(fm::QuestionRecordSize, '\0');
    if (fm::encodeQuestionRecord(r) != fm::encodeQuestionRecord(fm::decodeQuestionRecord(padded)))
        __builtin_trap();
    for (int i = 1; i <= 3; ++i)
        if (fm::segmentText(r.Segments[i]).size() > fm::SegmentBytes)
            __builtin_trap();
    return 0;
}
