// The progress chart: a child of a few weeks and a child of years (10,000
// tests), reached from the history, and the picture fudemaru-data writes.
#include "data/catalogue.h"
#include "data/studylog.h"
#include "records/chart/chartpicture.h"
#include "records/recordfixture.h"
#include "records/seiseki.h"
#include "records/seisekigraph.h"
#include "shots.h"
#include <QFile>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace fm;

namespace
{

// A child who learns: each level and kind until its 40 right answers, with
// practice (`practice` tests in a thousand) and the kanji of the level in
// turn; `perDay` tests a day. Stops after `tests` tests.
void writeLearningLog(const QString &file, int tests, double perDay, int practice)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << file.toStdString();
    QVector<StudyRecord> log;
    uint32_t seed = 11;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % uint32_t(n));
    };
    for (int n = 0; n < tests; ++n) {
        const LevelKind at = rebuildLevel(log);
        StudyRecord r;
        // With every level passed there is only practice left.
        r.Mode = next(1000) < practice || at.Level > LevelCount ? StudyMode::Practice : StudyMode::Challenge;
        r.Level = int16_t(std::min<int>(at.Level, LevelCount));
        r.Kind = at.Level > LevelCount ? kindFromFile(1 + next(2)) : at.Kind;
        r.Time = 46000.4 + n / perDay + next(100) / 400.0;
        const int skill = 5 + std::min(4, n * 4 / std::max(1, tests)) + (r.Kind == StudyKind::Reading);
        for (int i = 1; i <= 10; ++i) {
            const int k = 20 * (r.Level - 1) + (i + n * 3) % 20 + 1;
            r.Kanji[i] = int16_t(k);
            // A few kanji of each level stay hard.
            r.Correct[i] = next(10) < skill - (k % 7 == 0 ? 4 : 0);
        }
        r.Counted = r.rightCount() >= 7;
        log << r;
        // The long log stays cheap to write: the level only needs the tail.
        if (log.size() > 200) {
            for (const StudyRecord &old : log.mid(0, 100))
                ASSERT_TRUE(f.write(encodeStudyRecord(old)) > 0);
            log.remove(0, 100);
        }
    }
    for (const StudyRecord &r : log)
        ASSERT_TRUE(f.write(encodeStudyRecord(r)) > 0);
}

} // namespace

TEST(RecordShots, ProgressChart)
{
    records_test::Shell t;
    ASSERT_TRUE(shots::copyFromBuild(t, {QStringLiteral("Kanji1.dat"), QStringLiteral("Bushu1.dat"),
                                         QStringLiteral("GlyphPrev.bmp"), QStringLiteral("GlyphNext.bmp")}))
        << "the build has not made the program's files";
    loadCatalogue(t.state.Cat, t.state.ProgramDir);
    shots::loadHeaderIcons(t);
    for (const char *name : {"はると", "あおい", "みなと"})
        records_test::addPlayer(t.state, QString::fromUtf8(name));
    ASSERT_NO_FATAL_FAILURE(writeLearningLog(t.file(QStringLiteral("Kiroku1.dat")), 60, 2, 200));
    ASSERT_NO_FATAL_FAILURE(writeLearningLog(t.file(QStringLiteral("Kiroku2.dat")), 10000, 9, 960));
    rebuildLevels(t.state.Players, t.state.ProgramDir);

    for (int player : {1, 2, 3}) {
        t.state.CurrentPlayer = int16_t(player);
        auto *history = t.nav.open<TF_Seiseki2>();
        if (player == 1)
            shots::save(history, QStringLiteral("seiseki2-graph-button"));
        // Player 3 has no tests: the button is hidden; the picture would say so.
        auto *graphButton = fm::test::child<QPushButton>(history, "Btn_Graph");
        EXPECT_EQ(graphButton->isVisible(), player != 3);
        graphButton->click(); // hidden for player 3: click() presses it all the same
        auto *graph = t.nav.find<TF_SeisekiGraph>();
        ASSERT_TRUE(graph);
        shots::save(graph, QStringLiteral("chart-player%1").arg(player));
        if (player == 2)
            shots::save(
                chart::renderProgressChart(fm::test::child<records::ChartView>(graph, "Img_Chart")->chart(),
                                           fm::test::child<QLabel>(graph, "Lbl_Title")->text(), 2.5),
                QStringLiteral("chart-file-player2"));
        t.nav.showMainMenu();
    }
}
