#include "data/catalogue.h"
#include "data/binio.h"
#include "data/errors.h"
#include "data/fileio.h"

namespace fm
{

namespace
{
const QString kKanjiFile = QStringLiteral("Kanji1.dat");
const QString kBushuFile = QStringLiteral("Bushu1.dat");

template <typename Row> QVector<int16_t> listOf(const Row &row, int cap)
{
    QVector<int16_t> out;
    for (int i = 1; i <= cap && row[i] != 0; ++i)
        out.push_back(row[i]);
    return out;
}

bool validPart(int group, int position)
{
    return group >= 1 && group <= PartGroupCount && position >= 1 && position <= PartPositionCount;
}
} // namespace

QString kanjiFileName()
{
    return kKanjiFile;
}

void Catalogue::clear()
{
    KanjiTable.fill(KanjiEntry{});
    std::fill(&RadicalTable[0][0], &RadicalTable[0][0] + sizeof RadicalTable / sizeof(int16_t), 0);
    std::fill(&KanjiByStrokes[0][0], &KanjiByStrokes[0][0] + sizeof KanjiByStrokes / sizeof(int16_t), 0);
    std::fill(&KanjiByPart[0][0][0], &KanjiByPart[0][0][0] + sizeof KanjiByPart / sizeof(int16_t), 0);
}

QVector<int16_t> Catalogue::byStrokes(int strokes) const
{
    if (strokes < 1 || strokes > MaxStrokes)
        return {};
    return listOf(KanjiByStrokes[strokes], KanjiPerStrokeCap);
}

QVector<int16_t> Catalogue::byPart(int group, int position) const
{
    if (!validPart(group, position))
        return {};
    return listOf(KanjiByPart[group][position], KanjiPerPartCap);
}

QByteArray encodeKanjiRecords(const QVector<KanjiRecord> &records)
{
    QByteArray out(records.size() * KanjiRecordSize, '\0');
    char *p = out.data();
    for (const KanjiRecord &r : records) {
        bin::putI16(p, r.Number);
        bin::putU8(p + 2, r.Lead);
        bin::putU8(p + 3, r.Trail);
        bin::putI16(p + 4, r.Strokes);
        bin::putI16(p + 6, r.Part1Group);
        bin::putI16(p + 8, r.Part1Position);
        bin::putI16(p + 10, r.Part2Group);
        bin::putI16(p + 12, r.Part2Position);
        p += KanjiRecordSize;
    }
    return out;
}

QByteArray encodeBushuRecords(const QVector<BushuRecord> &records)
{
    QByteArray out(records.size() * BushuRecordSize, '\0');
    char *p = out.data();
    for (const BushuRecord &r : records) {
        bin::putI16(p, r.Group);
        bin::putI16(p + 2, r.Unused);
        bin::putI16(p + 4, r.Position);
        bin::putI16(p + 6, r.GlyphIndex);
        p += BushuRecordSize;
    }
    return out;
}

QVector<KanjiRecord> decodeKanjiRecords(const QByteArray &bytes)
{
    requireWholeRecords(bytes, KanjiRecordSize, kKanjiFile);
    QVector<KanjiRecord> out;
    out.reserve(bytes.size() / KanjiRecordSize);
    for (const char *p = bytes.constData(); p < bytes.constData() + bytes.size(); p += KanjiRecordSize) {
        out.push_back({bin::i16(p), bin::u8(p + 2), bin::u8(p + 3), bin::i16(p + 4), bin::i16(p + 6),
                       bin::i16(p + 8), bin::i16(p + 10), bin::i16(p + 12)});
    }
    return out;
}

QVector<BushuRecord> decodeBushuRecords(const QByteArray &bytes)
{
    requireWholeRecords(bytes, BushuRecordSize, kBushuFile);
    QVector<BushuRecord> out;
    out.reserve(bytes.size() / BushuRecordSize);
    for (const char *p = bytes.constData(); p < bytes.constData() + bytes.size(); p += BushuRecordSize)
        out.push_back({bin::i16(p), bin::i16(p + 2), bin::i16(p + 4), bin::i16(p + 6)});
    return out;
}

namespace
{

FileError partOutside(const QString &file, int row, int group, int position)
{
    return FileError(file, QStringLiteral("record %1: part %2/%3 outside 10 groups x 50 positions")
                               .arg(row)
                               .arg(group)
                               .arg(position));
}

void loadRadicals(Catalogue &cat, const QByteArray &bushu)
{
    int row = 0;
    for (const BushuRecord &r : decodeBushuRecords(bushu)) {
        ++row;
        if (!validPart(r.Group, r.Position))
            throw partOutside(kBushuFile, row, r.Group, r.Position);
        cat.RadicalTable[r.Group][r.Position] = r.GlyphIndex;
    }
}

// Fills the kanji table and the two lists that lead to a kanji, counting
// each list's length as it grows.
class KanjiLoader
{
  public:
    explicit KanjiLoader(Catalogue &cat) : cat_(cat) {}

    void add(int row, const KanjiRecord &r)
    {
        if (r.Number < 1 || r.Number > MaxKanjiNumber)
            throw FileError(kKanjiFile, QStringLiteral("record %1: kanji number %2 outside 1..%3")
                                            .arg(row)
                                            .arg(r.Number)
                                            .arg(MaxKanjiNumber));
        if (r.Strokes < 1 || r.Strokes > MaxStrokes)
            throw FileError(kKanjiFile, QStringLiteral("record %1: stroke count %2 outside 1..%3")
                                            .arg(row)
                                            .arg(r.Strokes)
                                            .arg(MaxStrokes));
        KanjiEntry &e = cat_.KanjiTable[r.Number];
        e.Glyph = QByteArray() + static_cast<char>(r.Lead) + static_cast<char>(r.Trail);
        e.Strokes = r.Strokes;
        e.Part1Group = r.Part1Group;
        e.Part1Position = r.Part1Position;
        e.Part2Group = r.Part2Group;
        e.Part2Position = r.Part2Position;

        int &count = strokeCount_[r.Strokes];
        if (count >= KanjiPerStrokeCap)
            throw FileError(kKanjiFile, QStringLiteral("record %1: more than %2 kanji with %3 strokes")
                                            .arg(row)
                                            .arg(KanjiPerStrokeCap)
                                            .arg(r.Strokes));
        cat_.KanjiByStrokes[r.Strokes][++count] = r.Number;
        addToPart(r.Number, row, r.Part1Group, r.Part1Position);
        addToPart(r.Number, row, r.Part2Group, r.Part2Position);
    }

  private:
    void addToPart(int n, int row, int group, int position)
    {
        if (group < 1)
            return; // no part
        if (!validPart(group, position))
            throw partOutside(kKanjiFile, row, group, position);
        int &count = partCount_[group][position];
        if (count >= KanjiPerPartCap)
            throw FileError(kKanjiFile, QStringLiteral("record %1: more than %2 kanji with part %3/%4")
                                            .arg(row)
                                            .arg(KanjiPerPartCap)
                                            .arg(group)
                                            .arg(position));
        cat_.KanjiByPart[group][position][++count] = static_cast<int16_t>(n);
    }

    Catalogue &cat_;
    int strokeCount_[MaxStrokes + 1] = {};
    int partCount_[PartGroupCount + 1][PartPositionCount + 1] = {};
};

} // namespace

void loadCatalogueFromBytes(Catalogue &cat, const QByteArray &bushu, const QByteArray &kanji)
{
    cat.clear();
    loadRadicals(cat, bushu);
    KanjiLoader loader(cat);
    int row = 0;
    for (const KanjiRecord &r : decodeKanjiRecords(kanji))
        loader.add(++row, r);
}

void loadCatalogue(Catalogue &cat, const QString &dir)
{
    const auto bushu = readWholeFile(dir, kBushuFile, MaxBushuRecords * BushuRecordSize);
    if (!bushu)
        throw FileError::notFound(kBushuFile);
    const auto kanji = readWholeFile(dir, kKanjiFile, MaxKanjiRecords * KanjiRecordSize);
    if (!kanji)
        throw FileError(kKanjiFile, QStringLiteral("missing"));
    loadCatalogueFromBytes(cat, *bushu, *kanji);
}

} // namespace fm
