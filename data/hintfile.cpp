#include "data/hintfile.h"
#include "data/binio.h"
#include "data/errors.h"
#include "data/fileio.h"

namespace fm
{

namespace
{
const QString kHintFile = QStringLiteral("Hint.dat");

QByteArray upToNul(QByteArrayView field)
{
    QByteArray line = field.toByteArray();
    const int nul = line.indexOf('\0');
    if (nul >= 0)
        line.truncate(nul);
    return line;
}
} // namespace

QString hintFileName()
{
    return kHintFile;
}

QByteArray encodeHintRecord(const HintRecord &r)
{
    QByteArray out(HintRecordSize, '\0');
    char *p = out.data();
    bin::putI16(p, r.Screen);
    bin::putI16(p + 2, r.Situation);
    bin::putI16(p + 4, r.Kind);
    bin::putI16(p + 6, r.Unused);
    bin::putI16(p + 8, r.Number);
    for (int i = 0; i < HintLines; ++i) {
        bin::putFixed(p + 10 + i * HintLevel1Bytes, r.Level1Lines[i], HintLevel1Bytes);
        bin::putFixed(p + 210 + i * HintLevel2Bytes, r.Level2Lines[i], HintLevel2Bytes);
    }
    return out;
}

HintRecord decodeHintRecord(QByteArrayView b)
{
    HintRecord r;
    r.Screen = bin::i16(b, 0);
    r.Situation = bin::i16(b, 2);
    r.Kind = bin::i16(b, 4);
    r.Unused = bin::i16(b, 6);
    r.Number = bin::i16(b, 8);
    for (int i = 0; i < HintLines; ++i) {
        r.Level1Lines[i] = upToNul(bin::field(b, 10 + i * HintLevel1Bytes, HintLevel1Bytes));
        r.Level2Lines[i] = upToNul(bin::field(b, 210 + i * HintLevel2Bytes, HintLevel2Bytes));
    }
    return r;
}

QVector<HintRecord> decodeHintFile(const QByteArray &bytes)
{
    requireWholeRecords(bytes, HintRecordSize, kHintFile);
    const int count = bytes.size() / HintRecordSize;
    if (count > MaxHintRecords)
        throw FileError(kHintFile, QStringLiteral("%1 records, at most %2").arg(count).arg(MaxHintRecords));
    QVector<HintRecord> out;
    out.reserve(count);
    for (int n = 0; n < count; ++n) {
        HintRecord r = decodeHintRecord(QByteArrayView(bytes).sliced(n * HintRecordSize, HintRecordSize));
        if (r.Number < 1 || r.Number > MaxHintRecords)
            throw FileError(kHintFile,
                            QStringLiteral("record %1: Number %2 outside 1..100").arg(n + 1).arg(r.Number));
        out.push_back(r);
    }
    return out;
}

void loadHintIndexFromBytes(HintIndex &index, const QByteArray &bytes)
{
    const QVector<HintRecord> records = decodeHintFile(bytes);
    HintIndex loaded;
    for (const HintRecord &r : records) {
        loaded.Entries[r.Number] = {r.Screen, r.Situation, r.Kind};
        loaded.HintLastNumber = r.Number;
    }
    loaded.HintLoaded = true;
    index = loaded;
}

void loadHintIndex(HintIndex &index, const QString &dir)
{
    const auto bytes = readWholeFile(dir, kHintFile, MaxHintRecords * HintRecordSize);
    if (!bytes)
        throw FileError(kHintFile, QStringLiteral("missing"));
    loadHintIndexFromBytes(index, *bytes);
}

bool readHintPage(const QString &dir, int page, HintRecord &out)
{
    const qint64 pos = static_cast<qint64>(page - 1) * HintRecordSize;
    const auto slice = readFileAt(dir, kHintFile, pos, HintRecordSize);
    if (!slice)
        return false;
    if (page < 1 || pos + HintRecordSize > slice->fileSize)
        throw FileError(kHintFile, QStringLiteral("page %1 past the end").arg(page));
    if (slice->bytes.size() != HintRecordSize)
        throw FileError(kHintFile, QStringLiteral("short read"));
    out = decodeHintRecord(slice->bytes);
    return true;
}

} // namespace fm
