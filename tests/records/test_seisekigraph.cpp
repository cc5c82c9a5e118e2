// The progress chart as a parent reaches it: from one child's history and
// back, with the child's own tests, and a damaged log told by its name.
#include "records/chart/chartpicture.h"
#include "records/seiseki.h"
#include "records/seisekigraph.h"
#include "seisekifixture.h"
#include <gtest/gtest.h>

using namespace fm;
using namespace records_test;

TEST(ProgressChartScreen, OpensFromTheHistoryAndGoesBackToTheSamePage)
{
    Shell t;
    fillCatalogue(t.state);
    addPlayer(t.state, QStringLiteral("はると"));
    addPlayer(t.state, QStringLiteral("あおい"));
    // Player 2: 14 tests, the first four pass level 1 reading; kanji 4..10
    // of level 1 always wrong in writing.
    QVector<StudyRecord> log;
    for (int n = 0; n < 14; ++n)
        log << studyRecord(1, n < 4 ? 1 : 2, n < 4 ? 10 : 3, n == 6 ? 2 : 1, 46000.4 + n);
    writeLog(t, 2, log);
    // The current player is someone else: the chart must not take their progress.
    t.state.CurrentPlayer = 1;
    t.state.Progress[200][1] = {5, 0, false};

    auto *list = static_cast<TF_Seiseki1 *>(t.nav.open(ScreenId::Seiseki1));
    list->Grd_SeisekiClick(2);
    auto *history = t.nav.find<TF_Seiseki2>();
    ASSERT_TRUE(history);
    EXPECT_TRUE(history->Btn_Graph->isVisible());
    t.clock.advanceSeconds(1);
    QTest::mouseClick(history->Btn_Next, Qt::LeftButton);
    ASSERT_EQ(history->position(), 14);

    t.clock.advanceSeconds(1);
    QTest::mouseClick(history->Btn_Graph, Qt::LeftButton);
    auto *graph = t.nav.find<TF_SeisekiGraph>();
    ASSERT_TRUE(graph);
    EXPECT_TRUE(graph->isVisible());
    EXPECT_FALSE(history->isVisible());
    EXPECT_EQ(graph->Lbl_Title->text(), QStringLiteral("あおいのグラフ"));
    const chart::ProgressChart &c = graph->Img_Chart->chart();
    EXPECT_EQ(c.tests.size(), 14);
    ASSERT_EQ(c.rises.size(), 1);
    EXPECT_EQ(chart::riseLabel(c.rises[0].reached), QStringLiteral("1かく"));
    ASSERT_EQ(c.weak.size(), 7);
    EXPECT_EQ(c.weak[0].glyph, kanji(4));
    EXPECT_EQ(c.weak[0].kind, fm::StudyKind::Writing);
    EXPECT_EQ(c.weak[0].asked, 9); // the practice test is not counted

    // What the parent sees is drawn, not a blank: the weak kanji card is yellow.
    const QImage shot = graph->Img_Chart->grab().toImage();
    ASSERT_EQ(shot.size(), chart::PictureSize);
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 10, shot.height() - 5)), QColor(0, 0, 128));
    int yellow = 0;
    for (int x = 420; x < shot.width(); ++x)
        yellow += QColor(shot.pixel(x, 40)) == QColor(255, 255, 0);
    EXPECT_GT(yellow, 60);

    QTest::mouseClick(graph->headerButton(4), Qt::LeftButton);
    EXPECT_TRUE(history->isVisible());
    EXPECT_EQ(history->position(), 14);
    EXPECT_EQ(t.dialogs.calls.size(), 0u);
}

TEST(ProgressChartScreen, NoButtonWithoutTests)
{
    Shell t;
    fillCatalogue(t.state);
    addPlayer(t.state, QStringLiteral("はると"));
    addPlayer(t.state, QStringLiteral("あおい"));
    writeLog(t, 2, {studyRecord(1, 1, 8)});
    t.state.CurrentPlayer = 1;
    auto *history = t.nav.open<TF_Seiseki2>();
    EXPECT_FALSE(history->Btn_Graph->isVisible());
    t.nav.back();

    t.state.CurrentPlayer = 2;
    history = t.nav.open<TF_Seiseki2>();
    EXPECT_TRUE(history->Btn_Graph->isVisible());
}
