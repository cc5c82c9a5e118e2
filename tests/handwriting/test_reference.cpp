// Kakijun1.dat: what the generator writes reads back, and a damaged file is
// refused with a reason instead of being indexed.
#include "data/errors.h"
#include "handwriting/reference.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace fm;

namespace
{

QHash<int, ReferenceStrokeList> sample()
{
    return {{1, {{QPointF(25, 126), QPointF(226, 116)}}},
            {10, {{QPointF(20, 100), QPointF(230, 100)}, {QPointF(128, 10), QPointF(128, 250)}}},
            {240,
             {{QPointF(0, 0), QPointF(255, 255)},
              {QPointF(255, 0), QPointF(0, 255)},
              {QPointF(9, 9), QPointF(9, 9)}}}};
}

void put16(QByteArray &b, int at, int v)
{
    b[at] = char(v & 0xff);
    b[at + 1] = char((v >> 8) & 0xff);
}

} // namespace

TEST(ReferenceFile, WhatIsWrittenReadsBackAndLoadsFromTheProgramDirectory)
{
    const QByteArray bytes = ReferenceStrokes::toBytes(sample());
    QTemporaryDir dir;
    EXPECT_THROW(
        try { ReferenceStrokes::load(dir.path()); } catch (const FileError &e) {
            EXPECT_EQ(e.message(), "Kakijun1.dat not found");
            throw;
        },
        FileError);
    QFile f(QDir(dir.path()).filePath(ReferenceStrokesFile));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    const ReferenceStrokes read = ReferenceStrokes::load(dir.path());
    EXPECT_EQ(read.kanjiCount(), 3);
    for (const auto &[number, strokes] : sample().asKeyValueRange()) {
        ASSERT_EQ(read.of(number).size(), strokes.size()) << number;
        for (int s = 0; s < strokes.size(); ++s) {
            EXPECT_EQ(read.of(number)[s].from, strokes[s].from);
            EXPECT_EQ(read.of(number)[s].to, strokes[s].to);
        }
    }
    EXPECT_TRUE(read.of(2).isEmpty());
    EXPECT_TRUE(read.of(0).isEmpty());
}

TEST(ReferenceFile, DamageIsRefusedWithAReason)
{
    // Layout of the sample: header 8, index 3 x 4 (kanji 1, 10, 240), strokes 6 x 4.
    const QByteArray good = ReferenceStrokes::toBytes(sample());
    ASSERT_EQ(good.size(), 8 + 12 + 24);
    struct Case {
        const char *what;
        std::function<void(QByteArray &)> damage;
        const char *detail;
    };
    const Case cases[] = {
        {"empty", [](QByteArray &b) { b.clear(); }, "shorter than its header"},
        {"cut in the header", [](QByteArray &b) { b.truncate(5); }, "shorter than its header"},
        {"another file", [](QByteArray &b) { b[0] = 'M'; }, "signature"},
        {"a later version", [](QByteArray &b) { put16(b, 4, 2); }, "version 2"},
        {"no kanji", [](QByteArray &b) { put16(b, 6, 0); }, "0 kanji"},
        {"negative count", [](QByteArray &b) { put16(b, 6, -3); }, "-3 kanji"},
        {"count beyond the catalogue", [](QByteArray &b) { put16(b, 6, 1025); }, "1025 kanji"},
        {"index longer than the file", [](QByteArray &b) { put16(b, 6, 20); }, "too short for the index"},
        {"kanji number 0", [](QByteArray &b) { put16(b, 8, 0); }, "kanji number 0"},
        {"kanji number past 1024", [](QByteArray &b) { put16(b, 16, 2000); }, "kanji number 2000"},
        {"numbers out of order", [](QByteArray &b) { put16(b, 12, 1); }, "must rise"},
        {"no strokes", [](QByteArray &b) { b[10] = 0; }, "0 strokes"},
        {"too many strokes", [](QByteArray &b) { b[18] = char(200); }, "200 strokes"},
        {"reserved byte set", [](QByteArray &b) { b[11] = 1; }, "reserved"},
        {"strokes cut short", [](QByteArray &b) { b.chop(1); }, "past the end"},
        {"stroke count larger than what follows", [](QByteArray &b) { b[14] = 5; }, "past the end"},
        {"bytes after the end", [](QByteArray &b) { b.append('\0'); }, "after the last stroke"},
        {"far too large", [](QByteArray &b) { b.append(QByteArray(200000, '\0')); }, "format allows"},
    };
    EXPECT_NO_THROW(ReferenceStrokes::fromBytes(good));
    for (const Case &c : cases) {
        QByteArray bytes = good;
        c.damage(bytes);
        try {
            ReferenceStrokes::fromBytes(bytes);
            ADD_FAILURE() << c.what << ": read without complaint";
        } catch (const FileError &e) {
            EXPECT_EQ(e.fileName(), ReferenceStrokesFile) << c.what;
            EXPECT_TRUE(e.detail().contains(QLatin1String(c.detail)))
                << c.what << ": " << e.detail().toStdString();
        }
    }
}
