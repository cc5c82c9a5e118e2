// A child's stamps: kept through the verified save, and a missing or damaged
// file costs the stamps and nothing else.
#include "data/errors.h"
#include "data/stamps.h"
#include "testutil.h"
#include <unistd.h>

using namespace fm;

namespace
{
class StampsTest : public DataDirTest
{
};
} // namespace

TEST_F(StampsTest, StampsAddUpAndComeBack)
{
    EXPECT_TRUE(addStamp(dir(), 2, 1));
    EXPECT_TRUE(addStamp(dir(), 2, 240));
    EXPECT_FALSE(addStamp(dir(), 2, 240)) << "a kanji has one stamp";
    EXPECT_FALSE(addStamp(dir(), 2, 241));
    const Stamps stamps = loadStamps(dir(), 2);
    EXPECT_TRUE(stamps[1]);
    EXPECT_TRUE(stamps[240]);
    EXPECT_EQ(std::count(stamps.begin(), stamps.end(), true), 2);
    EXPECT_EQ(loadStamps(dir(), 3), Stamps{}) << "another child's are its own";
    EXPECT_EQ(read(QStringLiteral("Hanko2.dat")).size(), 240);
}

TEST_F(StampsTest, ADamagedFileCostsOnlyTheStamps)
{
    QByteArray good(240, '0');
    good[4] = '1';
    QByteArray strayByte = good;
    strayByte[9] = 'x';
    const struct {
        const char *name;
        QByteArray bytes;
    } damaged[] = {
        {"one byte short", good.left(239)},
        {"one byte more", good + '1'},
        {"a stray byte", strayByte},
        {"empty", QByteArray()},
    };
    for (const auto &d : damaged) {
        SCOPED_TRACE(d.name);
        write(QStringLiteral("Hanko1.dat"), d.bytes);
        EXPECT_EQ(loadStamps(dir(), 1), Stamps{});
        // The next stamp writes a good file again.
        EXPECT_TRUE(addStamp(dir(), 1, 7));
        const Stamps after = loadStamps(dir(), 1);
        EXPECT_TRUE(after[7]);
        EXPECT_EQ(std::count(after.begin(), after.end(), true), 1);
    }
    // The guard: the good file itself is read.
    write(QStringLiteral("Hanko1.dat"), good);
    EXPECT_TRUE(loadStamps(dir(), 1)[5]);

    // A folder or a link in its place: no stamps, and never written through.
    ASSERT_TRUE(QDir(dir()).mkdir(QStringLiteral("Hanko4.dat")));
    EXPECT_EQ(loadStamps(dir(), 4), Stamps{});
    write(QStringLiteral("elsewhere"), good);
    ASSERT_TRUE(QFile::link(path(QStringLiteral("elsewhere")), path(QStringLiteral("Hanko5.dat"))));
    EXPECT_EQ(loadStamps(dir(), 5), Stamps{});
    try {
        addStamp(dir(), 5, 1);
        ADD_FAILURE() << "a stamp written through a link";
    } catch (const FileError &e) {
        EXPECT_EQ(e.fileName(), QStringLiteral("Hanko5.dat"));
    }
    EXPECT_EQ(read(QStringLiteral("elsewhere")), good);

    // A second name of another file (a hard link): the same.
    ASSERT_EQ(::link(QFile::encodeName(path(QStringLiteral("elsewhere"))).constData(),
                     QFile::encodeName(path(QStringLiteral("Hanko6.dat"))).constData()),
              0);
    EXPECT_EQ(loadStamps(dir(), 6), Stamps{});
    try {
        addStamp(dir(), 6, 1);
        ADD_FAILURE() << "a stamp written to a file with a second name";
    } catch (const FileError &e) {
        EXPECT_EQ(e.fileName(), QStringLiteral("Hanko6.dat"));
    }
    EXPECT_EQ(read(QStringLiteral("elsewhere")), good);
}
