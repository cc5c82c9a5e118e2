#include "data/questionbank.h"
#include "data/binio.h"
#include "data/errors.h"
#include "data/fileio.h"

namespace fm
{

namespace
{
const QString kIndexFile = QStringLiteral("Mondai2.dat");
const QString kSentenceFile = QStringLiteral("Mondai1.dat");
const QString kWholeWordFile = QStringLiteral("Mondai3.dat");
} // namespace

QString sentenceFileName()
{
    return kSentenceFile;
}

QByteArray encodeQuestionIndex(const QVector<QuestionIndexEntry> &entries)
{
    QByteArray out(entries.size() * QuestionIndexRecordSize, '\0');
    char *p = out.data();
    for (const QuestionIndexEntry &e : entries) {
        bin::putI16(p, e.Unused);
        bin::putI16(p + 2, e.FirstRecord);
        bin::putI16(p + 4, e.RecordCount);
        p += QuestionIndexRecordSize;
    }
    return out;
}

QByteArray encodeQuestionRecord(const QuestionRecord &record)
{
    QByteArray out(QuestionRecordSize, '\0');
    bin::putI16(out.data(), record.Unused);
    bin::putI16(out.data() + 2, record.TargetSegment);
    for (int i = 1; i <= 3; ++i)
        bin::putFixed(out.data() + 4 + (i - 1) * SegmentBytes, record.Segments[i], SegmentBytes);
    return out;
}

QuestionRecord decodeQuestionRecord(QByteArrayView b)
{
    QuestionRecord r;
    r.Unused = bin::i16(b, 0);
    r.TargetSegment = bin::i16(b, 2);
    for (int i = 1; i <= 3; ++i) {
        r.Segments[i] = bin::field(b, 4 + (i - 1) * SegmentBytes, SegmentBytes).toByteArray();
        r.Segments[i].resize(SegmentBytes, '\0');
    }
    return r;
}

void loadQuestionIndexFromBytes(QuestionBank &bank, const QByteArray &bytes)
{
    requireWholeRecords(bytes, QuestionIndexRecordSize, kIndexFile);
    const int count = bytes.size() / QuestionIndexRecordSize;
    if (count > IndexedKanjiCount)
        throw FileError(kIndexFile,
                        QStringLiteral("%1 records, at most %2").arg(count).arg(IndexedKanjiCount));
    bank.QuestionIndex.fill(QuestionIndexEntry{});
    for (int n = 1; n <= count; ++n) {
        const char *p = bytes.constData() + (n - 1) * QuestionIndexRecordSize;
        bank.QuestionIndex[n] = {bin::i16(p), bin::i16(p + 2), bin::i16(p + 4)};
    }
    bank.QuestionIndexCount = static_cast<int16_t>(count);
}

void loadQuestionIndex(QuestionBank &bank, const QString &dir)
{
    const auto bytes = readWholeFile(dir, kIndexFile, IndexedKanjiCount * QuestionIndexRecordSize);
    if (!bytes)
        throw FileError(kIndexFile, QStringLiteral("missing"));
    loadQuestionIndexFromBytes(bank, *bytes);
    // Whole words came later: a program directory without them asks none.
    const auto words = readWholeFile(dir, kWholeWordFile, MaxWholeWordRecords * QuestionRecordSize);
    bank.WholeWords.clear();
    if (words)
        loadWholeWordsFromBytes(bank, *words);
}

void loadWholeWordsFromBytes(QuestionBank &bank, const QByteArray &bytes)
{
    requireWholeRecords(bytes, QuestionRecordSize, kWholeWordFile);
    const int count = bytes.size() / QuestionRecordSize;
    if (count > MaxWholeWordRecords)
        throw FileError(kWholeWordFile,
                        QStringLiteral("%1 records, at most %2").arg(count).arg(MaxWholeWordRecords));
    QVector<QuestionRecord> records;
    for (int n = 0; n < count; ++n) {
        QuestionRecord r = decodeQuestionRecord(bytes.mid(n * QuestionRecordSize, QuestionRecordSize));
        if (r.Unused < 1 || r.Unused > IndexedKanjiCount || r.TargetSegment < 1 || r.TargetSegment > 3 ||
            !splitWholeWord(segmentText(r.Segments[r.TargetSegment]), nullptr, nullptr))
            throw FileError(kWholeWordFile,
                            QStringLiteral("record %1 is not a whole-word question").arg(n + 1));
        records << r;
    }
    bank.WholeWords = records;
}

QVector<QuestionRecord> wholeWordsOf(const QuestionBank &bank, int kanji)
{
    QVector<QuestionRecord> out;
    for (const QuestionRecord &r : bank.WholeWords)
        if (r.Unused == kanji)
            out << r;
    return out;
}

bool splitWholeWord(const QByteArray &text, QByteArray *word, QByteArray *reading)
{
    const int at = text.indexOf(WholeWordSeparator);
    if (at <= 0 || at + 1 >= text.size())
        return false;
    if (word)
        *word = text.left(at);
    if (reading)
        *reading = text.mid(at + 1);
    return true;
}

QuestionRecord readQuestionRecord(const QuestionBank &bank, const QString &dir, int kanji, int choice)
{
    if (kanji < 1 || kanji > IndexedKanjiCount)
        throw FileError(kSentenceFile, QStringLiteral("kanji %1 outside 1..240").arg(kanji));
    const QuestionIndexEntry &e = bank.QuestionIndex[kanji];
    if (choice > e.RecordCount) {
        const QVector<QuestionRecord> words = wholeWordsOf(bank, kanji);
        if (choice - e.RecordCount <= words.size())
            return words[choice - e.RecordCount - 1];
    }
    const qint64 position = static_cast<qint64>(e.FirstRecord) + choice - 2; // zero-based
    const auto pastTheEnd = [&] {
        return FileError(kSentenceFile, QStringLiteral("record %1 (kanji %2, choice %3) past the end")
                                            .arg(position + 1)
                                            .arg(kanji)
                                            .arg(choice));
    };
    if (position < 0)
        throw pastTheEnd();
    const auto slice = readFileAt(dir, kSentenceFile, position * QuestionRecordSize, QuestionRecordSize);
    if (!slice)
        throw FileError(kSentenceFile, QStringLiteral("missing"));
    if ((position + 1) * QuestionRecordSize > slice->fileSize)
        throw pastTheEnd();
    const QByteArray &bytes = slice->bytes;
    if (bytes.size() != QuestionRecordSize)
        throw FileError(kSentenceFile, QStringLiteral("short read"));
    QuestionRecord record = decodeQuestionRecord(bytes);
    // Checked here, once, for every reader: the red segment must be one of the three.
    if (record.TargetSegment < 1 || record.TargetSegment > 3)
        throw FileError(kSentenceFile,
                        QStringLiteral("target segment %1 of kanji %2").arg(record.TargetSegment).arg(kanji));
    return record;
}

int16_t pickChoice(const QuestionBank &bank, int kanji, const RandomFn &random)
{
    if (kanji < 1 || kanji > IndexedKanjiCount)
        return 1;
    const int count = bank.QuestionIndex[kanji].RecordCount;
    const int r = count > 0 ? random(count) : 0;
    return static_cast<int16_t>(1 + r);
}

int16_t pickReadingChoice(const QuestionBank &bank, int kanji, const RandomFn &random)
{
    if (kanji < 1 || kanji > IndexedKanjiCount)
        return 1;
    const int count = bank.QuestionIndex[kanji].RecordCount + int(wholeWordsOf(bank, kanji).size());
    const int r = count > 0 ? random(count) : 0;
    return static_cast<int16_t>(1 + r);
}

QByteArray segmentText(const QByteArray &segment)
{
    QByteArray text = segment.left(SegmentBytes);
    const int nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    int begin = 0;
    int end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return text.mid(begin, end - begin);
}

std::array<int, 3> sentenceLayout(int width1, int width2, int left)
{
    return {left, left + width1, left + width1 + width2};
}

} // namespace fm
