// The progress chart as a parent reaches it: from one child's history and
// back, with the child's own tests, and a damaged log told by its name.
#include "records/chart/chartpicture.h"
#include "records/seiseki.h"
#include "records/seisekigraph.h"
#include "seisekifixture.h"
#include <QFontMetricsF>
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
    clickRow(grid(list), 2);
    auto *history = t.nav.find<TF_Seiseki2>();
    ASSERT_TRUE(history);
    auto *graphButton = fm::test::child<QPushButton>(history, "Btn_Graph");
    EXPECT_TRUE(graphButton->isVisible());
    t.clock.advanceSeconds(1);
    QTest::mouseClick(fm::test::child<QPushButton>(history, "Btn_Next"), Qt::LeftButton);
    ASSERT_EQ(history->position(), 14);

    t.clock.advanceSeconds(1);
    QTest::mouseClick(graphButton, Qt::LeftButton);
    auto *graph = t.nav.find<TF_SeisekiGraph>();
    ASSERT_TRUE(graph);
    EXPECT_TRUE(graph->isVisible());
    EXPECT_FALSE(history->isVisible());
    EXPECT_EQ(fm::test::child<QLabel>(graph, "Lbl_Title")->text(), QStringLiteral("あおいのグラフ"));
    auto *view = fm::test::child<records::ChartView>(graph, "Img_Chart");
    const chart::ProgressChart &c = view->chart();
    EXPECT_EQ(c.tests.size(), 14);
    ASSERT_EQ(c.rises.size(), 1);
    EXPECT_EQ(chart::riseLabel(c.rises[0].reached), QStringLiteral("レベル1 かく"));
    ASSERT_EQ(c.weak.size(), 7);
    EXPECT_EQ(c.weak[0].glyph, kanji(4));
    EXPECT_EQ(c.weak[0].kind, fm::StudyKind::Writing);
    EXPECT_EQ(c.weak[0].asked, 9); // the practice test is not counted

    // What the parent sees is drawn, not a blank: the weak kanji card is yellow.
    const QImage shot = view->grab().toImage();
    ASSERT_EQ(shot.size(), chart::PictureSize);
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 10, shot.height() - 5)), QColor(0, 0, 128));
    int yellow = 0;
    for (int x = 420; x < shot.width(); ++x)
        yellow += QColor(shot.pixel(x, 40)) == QColor(255, 255, 0);
    EXPECT_GT(yellow, 60);

    QTest::mouseClick(fm::test::headerButton(graph, 4), Qt::LeftButton);
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
    EXPECT_FALSE(fm::test::child<QPushButton>(history, "Btn_Graph")->isVisible());
    t.nav.back();

    t.state.CurrentPlayer = 2;
    history = t.nav.open<TF_Seiseki2>();
    EXPECT_TRUE(fm::test::child<QPushButton>(history, "Btn_Graph")->isVisible());
}

// 20 rises got 18 labels and bunched rises 4 labels on a solid band: a rise
// with no label. Now every rise is named, alone or in a range, and no two
// labels of a row overlap.
TEST(ProgressChartPicture, CrowdedRisesShareALabelAndNoRiseGoesUnnamed)
{
    fm::test::app(); // the fonts the chart measures with
    QVector<LevelKind> reached;
    for (int level = 1; level <= 12; ++level)
        for (int kind = 1; kind <= 2; ++kind)
            reached.push_back(LevelKind{int16_t(level), fm::kindFromFile(kind)});
    reached.push_back(LevelKind{13, fm::StudyKind::Reading});
    auto spread = [](int n, double from, double to) {
        QVector<double> xs;
        for (int i = 0; i < n; ++i)
            xs << from + (to - from) * i / std::max(1, n - 1);
        return xs;
    };
    QVector<double> bunched = spread(6, 40, 120);
    bunched << 300 << 301 << 302 << 303 << 380;
    const struct {
        const char *what;
        QVector<double> xs;
    } cases[] = {
        {"20 rises over the plot", spread(20, 40, 400)},
        {"bunched rises", bunched},
        {"25 rises on one day", QVector<double>(25, 205)},
        {"two far apart", {60, 350}},
    };
    QFont f;
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    f.setPixelSize(10);
    f.setBold(true);
    const QFontMetricsF m(f);
    const double right = 410;
    for (const auto &c : cases) {
        const QVector<LevelKind> names = reached.mid(0, c.xs.size());
        const QVector<chart::RiseLabel> labels = chart::placeRiseLabels(c.xs, names, m, 0, right);
        int next = 0;
        for (const chart::RiseLabel &l : labels) {
            EXPECT_EQ(l.first, next) << c.what;
            EXPECT_GE(l.last, l.first) << c.what;
            next = l.last + 1;
            EXPECT_EQ(l.text, l.first == l.last ? chart::riseLabel(names[l.first])
                                                : chart::riseRangeLabel(names[l.first], names[l.last]))
                << c.what;
            EXPECT_LE(m.horizontalAdvance(l.text), l.box.width()) << c.what;
            EXPECT_GE(l.box.left(), 0) << c.what;
            EXPECT_LE(l.box.right(), right) << c.what;
        }
        EXPECT_EQ(next, c.xs.size()) << c.what << ": every rise named";
        for (int i = 0; i < labels.size(); ++i)
            for (int j = i + 1; j < labels.size(); ++j)
                if (labels[i].row == labels[j].row) {
                    EXPECT_FALSE(labels[i].box.intersects(labels[j].box)) << c.what << ' ' << i << ' ' << j;
                }
    }
    // Apart, each rise has its own label.
    EXPECT_EQ(chart::placeRiseLabels({60, 350}, reached.mid(0, 2), m, 0, right).size(), 2);
}
