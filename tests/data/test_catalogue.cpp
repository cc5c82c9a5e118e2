#include "data/catalogue.h"
#include "data/errors.h"
#include "testutil.h"

using namespace fm;

namespace
{
KanjiRecord kanji(int16_t n, const char *glyph, int16_t strokes, int16_t g1 = 0, int16_t p1 = 0,
                  int16_t g2 = 0, int16_t p2 = 0)
{
    const QByteArray b = sj(glyph);
    return {n, static_cast<uint8_t>(b[0]), static_cast<uint8_t>(b[1]), strokes, g1, p1, g2, p2};
}
} // namespace

TEST(CatalogueFormat, KanjiRecordIsFourteenLittleEndianBytes)
{
    const QByteArray bytes = encodeKanjiRecords({kanji(258, "山", 3, 1, 2, 3, 4)});
    ASSERT_EQ(bytes.size(), 14);
    const QByteArray yama = sj("山");
    EXPECT_EQ(bytes, QByteArray::fromHex("0201") + yama + QByteArray::fromHex("0300010002000300 0400"));
    const auto back = decodeKanjiRecords(bytes);
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0].Number, 258);
    EXPECT_EQ(back[0].Part2Position, 4);
}

TEST(CatalogueFormat, BushuRecordIsEightBytes)
{
    const QByteArray bytes = encodeBushuRecords({{3, 7, 12, 300}});
    EXPECT_EQ(bytes, QByteArray::fromHex("030007000c002c01"));
    EXPECT_EQ(decodeBushuRecords(bytes)[0].GlyphIndex, 300);
}

class CatalogueLoad : public DataDirTest
{
};

TEST_F(CatalogueLoad, FillsTablesAndListsInFileOrder)
{
    write("Bushu1.dat", encodeBushuRecords({{1, 0, 1, 5}, {1, 0, 2, 6}, {1, 0, 1, 9}}));
    write("Kanji1.dat", encodeKanjiRecords({
                            kanji(2, "休", 6, 1, 1, 1, 2),
                            kanji(1, "一", 1),
                            kanji(3, "林", 8, 1, 2, 1, 2), // both parts the same
                            kanji(4, "体", 7, 1, 1),
                        }));
    Catalogue cat;
    loadCatalogue(cat, dir());
    EXPECT_EQ(cat.RadicalTable[1][1], 9) << "a later record for the same cell wins";
    EXPECT_EQ(cat.RadicalTable[1][2], 6);
    EXPECT_EQ(cat.RadicalTable[2][1], 0);
    EXPECT_EQ(cat.KanjiTable[2].Glyph, sj("休"));
    EXPECT_EQ(cat.KanjiTable[2].Strokes, 6);
    EXPECT_TRUE(cat.KanjiTable[5].Glyph.isEmpty());
    EXPECT_EQ(cat.byStrokes(1), QVector<int16_t>({1}));
    EXPECT_EQ(cat.byPart(1, 1), QVector<int16_t>({2, 4}));
    EXPECT_EQ(cat.byPart(1, 2), QVector<int16_t>({2, 3, 3})) << "same part twice is listed twice";
    // A kanji without parts appears in no part list.
    for (int g = 1; g <= PartGroupCount; ++g)
        for (int p = 1; p <= PartPositionCount; ++p)
            EXPECT_FALSE(cat.byPart(g, p).contains(1));
}

TEST_F(CatalogueLoad, EmptyBushuFileLeavesEveryPartEmpty)
{
    write("Bushu1.dat", {});
    write("Kanji1.dat", encodeKanjiRecords({kanji(1, "一", 1)}));
    Catalogue cat;
    EXPECT_NO_THROW(loadCatalogue(cat, dir()));
    EXPECT_EQ(cat.RadicalTable[1][1], 0);
    EXPECT_EQ(cat.byStrokes(1).size(), 1);
}

// One more than a full list is a damaged file (see test_damaged_files.cpp).
TEST_F(CatalogueLoad, AFullListIsReadToItsEnd)
{
    write("Bushu1.dat", {});
    QVector<KanjiRecord> records;
    for (int n = 1; n <= 100; ++n)
        records.push_back(kanji(static_cast<int16_t>(n), "一", 5));
    write("Kanji1.dat", encodeKanjiRecords(records));
    Catalogue cat;
    loadCatalogue(cat, dir());
    EXPECT_EQ(cat.byStrokes(5).size(), 100) << "a full row has no terminator; readers stop at its end";
}
