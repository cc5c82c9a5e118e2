#include "data/errors.h"
#include "data/roster.h"
#include "data/studylog.h"
#include "testutil.h"

using namespace fm;

class RosterTest : public DataDirTest
{
};

TEST_F(RosterTest, RecordIsTwentyEightBytesAndRoundTrips)
{
    Roster r;
    addPlayer(r, sj("たろう"));
    r.PlayerTable[1].Reserved0 = 0x1234;
    r.PlayerTable[1].Game1Level = 3;
    r.PlayerTable[1].Reserved12 = -2;
    const QByteArray bytes = encodePlayers(r);
    ASSERT_EQ(bytes.size(), 28);
    EXPECT_EQ(bytes.mid(0, 16), QByteArray::fromHex("3412 0100 0300 0000 0000 0000 feff 0100"));
    EXPECT_EQ(static_cast<uint8_t>(bytes[16]), 6);
    EXPECT_EQ(bytes.mid(17, 6), sj("たろう"));

    saveRoster(r, dir());
    Roster back;
    loadRoster(back, dir());
    ASSERT_EQ(back.PlayerCount, 1);
    EXPECT_EQ(back.PlayerTable[1].Name, sj("たろう"));
    EXPECT_EQ(back.PlayerTable[1].Reserved0, 0x1234) << "reserved fields are carried unchanged";
    EXPECT_EQ(back.PlayerTable[1].Reserved12, -2);
    EXPECT_EQ(back.PlayerTable[1].Game1Level, 3);
}

TEST_F(RosterTest, ADamagedKindIsKeptAsReadReadsAsReadingAndIsRebuiltFromTheLog)
{
    Roster r;
    addPlayer(r, sj("たろう"));
    QByteArray bytes = encodePlayers(r);
    bytes[14] = 7; // the kind: neither reading (1) nor writing (2)
    Roster back;
    decodePlayers(back, bytes);
    ASSERT_EQ(back.PlayerCount, 1) << "a damaged kind is not refused";
    EXPECT_EQ(fileValue(back.PlayerTable[1].Kind), 7);
    EXPECT_EQ(kindFromFile(back.PlayerTable[1].Kind), StudyKind::Reading);
    EXPECT_EQ(encodePlayers(back), bytes) << "written back as it was read";
    rebuildLevels(back, dir()); // no log: level 1, reading
    EXPECT_EQ(back.PlayerTable[1].Kind, StudyKind::Reading);
    EXPECT_EQ(back.PlayerTable[1].Level, 1);
}

TEST_F(RosterTest, AddPlayerStartsAtLevelOneReadingAndStopsAtTen)
{
    Roster r;
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(addPlayer(r, sj("あ")), i);
    EXPECT_EQ(addPlayer(r, sj("い")), 0);
    EXPECT_EQ(r.PlayerCount, 10);
    const PlayerEntry &e = r.PlayerTable[10];
    EXPECT_EQ(e.Level, 1);
    EXPECT_EQ(e.Kind, StudyKind::Reading);
    EXPECT_EQ(e.Game1Level, 0);
    EXPECT_EQ(e.Game2Level, 0);
    Roster r2;
    addPlayer(r2, sj("あいうえおか"));
    EXPECT_EQ(r2.PlayerTable[1].Name, sj("あいうえお")) << "names are cut to 10 bytes";
}

TEST_F(RosterTest, NoPlayersWritesAnEmptyFileAndMissingFileMeansNoPlayers)
{
    Roster r;
    loadRoster(r, dir());
    EXPECT_EQ(r.PlayerCount, 0);
    saveRoster(r, dir());
    EXPECT_TRUE(QFile::exists(path("Player1.dat")));
    EXPECT_EQ(read("Player1.dat").size(), 0);
}

TEST_F(RosterTest, SaveIsAtomicAndLeavesNoTemporaryBehind)
{
    Roster r;
    addPlayer(r, sj("はな"));
    saveRoster(r, dir());
    addPlayer(r, sj("そら"));
    saveRoster(r, dir());
    EXPECT_EQ(QDir(dir()).entryList(QDir::Files), QStringList{"Player1.dat"});
    EXPECT_EQ(read("Player1.dat").size(), 56);
}

TEST_F(RosterTest, UnwritableDirectoryIsReportedNotIgnored)
{
    Roster r;
    EXPECT_THROW(saveRoster(r, path("no/such/dir")), FileError);
}
