// A file that turns out unreadable on the way to a records screen: the
// program ends with one message naming the file, and a screen that needs the
// file to be built never opens. One row per way there.
#include "data/errors.h"
#include "records/mode.h"
#include "records/player.h"
#include "records/seiseki.h"
#include "records/seisekigraph.h"
#include "seisekifixture.h"
#include <QDir>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace fm;
using namespace records_test;
using Kind = fm::test::FakeDialogs::Kind;

namespace
{

struct Way {
    std::string name;
    QString file;
    std::function<void(Shell &)> arrange; // players, files, and the damage
    std::function<void(Shell &)> act;     // what the child does
    std::optional<ScreenId> asked;        // the screen that must not open, if it is one of the catalogue
};

void PrintTo(const Way &way, std::ostream *os)
{
    *os << way.name;
}

// A folder where the file should be: it exists, yet no loader can read it.
void folderInPlaceOf(Shell &t, const QString &name)
{
    QFile::remove(t.file(name));
    ASSERT_TRUE(QDir(t.state.ProgramDir).mkdir(name));
}

void twoPlayers(Shell &t)
{
    addPlayer(t.state, QStringLiteral("あい"));
    addPlayer(t.state, QStringLiteral("いく"));
}

const Way ways[] = {
    {"PlayerListToModeScreen", "Kiroku2.dat",
     [](Shell &t) {
         writeStars(t);
         twoPlayers(t);
         folderInPlaceOf(t, logFileName(2));
     },
     [](Shell &t) {
         auto *list = t.nav.open<TF_Player>();
         QTest::mouseClick(playerName(list, 2), Qt::LeftButton);
     },
     ScreenId::Mode},
    {"HistoryListToOnePlayer", "Kiroku2.dat",
     [](Shell &t) {
         twoPlayers(t);
         folderInPlaceOf(t, logFileName(2));
     },
     [](Shell &t) { clickRow(grid(t.nav.open(ScreenId::Seiseki1)), 2); }, ScreenId::Seiseki2},
    // The log turns into something that is no file while the history is open.
    {"HistoryToProgressChart", "Kiroku2.dat",
     [](Shell &t) {
         fillCatalogue(t.state);
         twoPlayers(t);
         writeLog(t, 2, {studyRecord(1, 1, 8)});
         t.state.CurrentPlayer = 2;
     },
     [](Shell &t) {
         auto *history = t.nav.open<TF_Seiseki2>();
         auto *graph = fm::test::child<QPushButton>(history, "Btn_Graph");
         ASSERT_TRUE(graph->isVisible());
         folderInPlaceOf(t, logFileName(2));
         QTest::mouseClick(graph, Qt::LeftButton);
     },
     std::nullopt}, // the chart: see below
    {"ModeScreenWithoutItsStars", "Stars.bmp",
     [](Shell &t) {
         addPlayer(t.state, QStringLiteral("ゆき"));
         t.state.CurrentPlayer = 1;
     },
     [](Shell &t) { t.nav.open(ScreenId::Mode); }, ScreenId::Mode},
};

class DamagedOnTheWay : public ::testing::TestWithParam<Way>
{
};

} // namespace

TEST_P(DamagedOnTheWay, EndsTheProgramWithOneMessageNamingTheFile)
{
    const Way &way = GetParam();
    Shell t;
    ASSERT_NO_FATAL_FAILURE(way.arrange(t));
    ASSERT_NO_FATAL_FAILURE(way.act(t));
    ASSERT_EQ(t.dialogs.calls.size(), 1u);
    EXPECT_EQ(t.dialogs.calls[0].kind, Kind::Fatal);
    EXPECT_EQ(t.dialogs.calls[0].text, fileErrorMessage(way.file));
    EXPECT_TRUE(t.nav.quitRequested());
    EXPECT_EQ(t.nav.find<TF_SeisekiGraph>(), nullptr);
    if (way.asked) {
        EXPECT_EQ(t.nav.find(*way.asked), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWay, DamagedOnTheWay, ::testing::ValuesIn(ways),
                         [](const ::testing::TestParamInfo<Way> &info) { return info.param.name; });
