#include "data/studylog.h"
#include "data/binio.h"
#include "data/errors.h"
#include "data/fileio.h"
#include <QRegularExpression>

namespace fm
{

int StudyRecord::rightCount() const
{
    int n = 0;
    for (int i = 1; i <= QuestionsPerTest; ++i)
        n += Correct[i] == 1 ? 1 : 0;
    return n;
}

QByteArray encodeStudyRecord(const StudyRecord &r)
{
    QByteArray out(StudyRecordSize, '\0');
    char *p = out.data();
    bin::putI16(p, fileValue(r.Mode));
    bin::putI16(p + 2, r.Level);
    bin::putI16(p + 4, fileValue(r.Kind));
    bin::putF64(p + 8, r.Time);
    for (int i = 1; i <= QuestionsPerTest; ++i) {
        bin::putI16(p + 16 + (i - 1) * 2, r.Kanji[i]);
        bin::putU8(p + 36 + (i - 1), r.Correct[i]);
    }
    bin::putI16(p + 46, r.Reserved);
    bin::putU8(p + 48, r.Counted);
    return out;
}

StudyRecord decodeStudyRecord(QByteArrayView b)
{
    StudyRecord r;
    r.Mode = StudyMode(bin::i16(b, 0));
    r.Level = bin::i16(b, 2);
    r.Kind = StudyKind(bin::i16(b, 4));
    r.Time = bin::f64(b, 8);
    for (int i = 1; i <= QuestionsPerTest; ++i) {
        r.Kanji[i] = bin::i16(b, 16 + (i - 1) * 2);
        r.Correct[i] = bin::u8(b, 36 + (i - 1));
    }
    r.Reserved = bin::i16(b, 46);
    r.Counted = bin::u8(b, 48);
    return r;
}

bool isValidRecord(const StudyRecord &r)
{
    if (!isStudyMode(fileValue(r.Mode)))
        return false;
    if (r.Level < 1 || r.Level > LevelCount || !isStudyKind(fileValue(r.Kind)))
        return false;
    for (int i = 1; i <= QuestionsPerTest; ++i)
        if (r.Kanji[i] < 1 || r.Kanji[i] > KanjiCount)
            return false;
    return true;
}

LogContents decodeLog(const QByteArray &bytes)
{
    LogContents log;
    const int whole = bytes.size() / StudyRecordSize;
    log.tailBytes = bytes.size() % StudyRecordSize;
    log.records.reserve(whole);
    for (int n = 0; n < whole; ++n) {
        const StudyRecord r =
            decodeStudyRecord(QByteArrayView(bytes).sliced(n * StudyRecordSize, StudyRecordSize));
        if (isValidRecord(r))
            log.records.push_back(r);
        else
            ++log.skipped;
    }
    return log;
}

LogContents readLog(const QString &dir, int player)
{
    const auto bytes =
        readWholeFile(dir, logFileName(player), qint64(MaxLogRecords) * StudyRecordSize, Links::Refuse);
    return bytes ? decodeLog(*bytes) : LogContents{};
}

void appendLogRecord(const QString &dir, int player, const StudyRecord &record)
{
    // Synced before returning: a test the child saw graded survives a power cut.
    appendRecord(dir, logFileName(player), encodeStudyRecord(record));
}

QString setAsideLog(const QString &dir, int player)
{
    return setAsideOrphan(dir, logFileName(player));
}

bool isSetAsideLogName(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^Kiroku[0-9]+\\.orphaned-[0-9-]+\\.dat$"));
    return pattern.match(fileName).hasMatch();
}

LevelKind levelAfter(LevelKind passed)
{
    passed.Kind = otherKind(kindFromFile(passed.Kind));
    if (passed.Kind == StudyKind::Reading)
        ++passed.Level;
    return passed;
}

bool LevelCounter::take(const StudyRecord &r)
{
    if (r.Mode != StudyMode::Challenge || !isValidRecord(r))
        return false;
    const LevelKind at{r.Level, r.Kind};
    if (at != at_) {
        at_ = at;
        collected_ = 0;
    }
    if (r.Counted != 1)
        return false;
    collected_ += r.rightCount();
    if (collected_ < PassCount)
        return false;
    // Right answers beyond the pass are not carried over.
    at_ = levelAfter(at_);
    collected_ = 0;
    return true;
}

LevelKind rebuildLevel(const QVector<StudyRecord> &records)
{
    LevelCounter counter;
    for (const StudyRecord &r : records)
        counter.take(r);
    return counter.reached();
}

void rebuildLevels(Roster &roster, const QString &dir)
{
    for (int n = 1; n <= roster.PlayerCount; ++n) {
        const LevelKind lk = rebuildLevel(readLog(dir, n).records);
        roster.PlayerTable[n].Level = lk.Level;
        roster.PlayerTable[n].Kind = lk.Kind;
    }
}

} // namespace fm
