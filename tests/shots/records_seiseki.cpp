// The records list, a player's history, the per-kanji results and the kanji
// list in its phases, with a player of 25 tests and the build's data and
// pictures.
#include "data/catalogue.h"
#include "data/progress.h"
#include "data/stamps.h"
#include "data/studylog.h"
#include "records/kichiran.h"
#include "records/kseiseki.h"
#include "records/seiseki.h"
#include "records/seisekifixture.h"
#include "shots.h"
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace fm;

namespace
{

// 25 tests: levels 1 and 2 in both kinds, then level 3 reading, two of
// them practice, spread over two months.
void writeLog(const QString &file)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << file.toStdString();
    const int plan[][3] = {{1, 1, 9},  {1, 1, 10}, {1, 1, 8}, {1, 1, 10}, {1, 1, 6},  {1, 1, 9}, {1, 2, 7},
                           {1, 2, 10}, {1, 2, 9},  {1, 2, 8}, {1, 2, 10}, {2, 1, 10}, {2, 1, 9}, {2, 1, 10},
                           {2, 1, 9},  {2, 1, 8},  {2, 2, 9}, {2, 2, 10}, {2, 2, 10}, {2, 2, 9}, {2, 2, 5},
                           {2, 2, 8},  {3, 1, 7},  {3, 1, 9}, {3, 1, 4}};
    double day = 45000.4;
    int n = 0;
    for (const auto &p : plan) {
        StudyRecord r;
        r.Mode = (n == 4 || n == 20) ? StudyMode::Practice : StudyMode::Challenge;
        r.Level = int16_t(p[0]);
        r.Kind = StudyKind(p[1]);
        r.Time = day;
        for (int i = 1; i <= 10; ++i) {
            r.Kanji[i] = int16_t(20 * (p[0] - 1) + (i + n * 3) % 20 + 1);
            r.Correct[i] = i <= p[2] ? 1 : 0;
        }
        r.Counted = p[2] >= 7 ? 1 : 0;
        ASSERT_TRUE(f.write(encodeStudyRecord(r)) > 0) << file.toStdString();
        day += 1.7 + (n % 3);
        ++n;
    }
}

} // namespace

TEST(RecordShots, HistoryResultsAndKanjiList)
{
    records_test::Shell t;
    ASSERT_TRUE(shots::copyFromBuild(t, {QStringLiteral("Kanji1.dat"), QStringLiteral("Bushu1.dat"),
                                         QStringLiteral("GlyphPrev.bmp"), QStringLiteral("GlyphNext.bmp"),
                                         QStringLiteral("GlyphYomi.bmp"), QStringLiteral("GlyphKaki.bmp")}))
        << "the build has not made the program's files";
    loadCatalogue(t.state.Cat, t.state.ProgramDir);
    shots::loadHeaderIcons(t);

    for (const char *name : {"はると", "あおい", "みなと"})
        records_test::addPlayer(t.state, QString::fromUtf8(name));
    ASSERT_NO_FATAL_FAILURE(writeLog(t.file(QStringLiteral("Kiroku1.dat"))));
    rebuildLevels(t.state.Players, t.state.ProgramDir);

    auto *list = static_cast<TF_Seiseki1 *>(t.nav.open(ScreenId::Seiseki1));
    shots::save(list, QStringLiteral("seiseki1"));
    records_test::clickRow(records_test::grid(list), 1);
    auto *history = t.nav.find<TF_Seiseki2>();
    shots::save(history, QStringLiteral("seiseki2-newest"));
    t.click(fm::test::child<QPushButton>(history, "Btn_First"));
    shots::save(history, QStringLiteral("seiseki2-oldest"));
    t.nav.showMainMenu();
    // A child with no test yet.
    list = static_cast<TF_Seiseki1 *>(t.nav.open(ScreenId::Seiseki1));
    records_test::clickRow(records_test::grid(list), 2);
    shots::save(t.nav.find<TF_Seiseki2>(), QStringLiteral("seiseki2-no-tests"));
    t.nav.showMainMenu();

    selectPlayer(t.state, 1);
    auto *results = static_cast<TF_KSeiseki1 *>(t.nav.open(ScreenId::KSeiseki1));
    shots::save(results, QStringLiteral("kseiseki1-top"));
    QScrollBar *rows = records_test::grid(results)->verticalScrollBar();
    rows->setValue(rows->maximum());
    shots::save(results, QStringLiteral("kseiseki1-end"));
    t.nav.showMainMenu();

    // Kanji the child wrote alone on their pages: their stamps.
    for (const int k : {1, 2, 3, 21, 22, 45})
        addStamp(t.state.DataDir, 1, k);
    auto *kanji = static_cast<TF_K_ichiran *>(t.nav.open(ScreenId::KIchiran));
    shots::save(kanji, QStringLiteral("kichiran-start"));
    const auto step = [kanji] { fm::test::tick(kanji, "Tim_Kanji"); };
    t.click(fm::test::child<QPushButton>(kanji, "Btn_Yomi"));
    step();
    shots::save(kanji, QStringLiteral("kichiran-scattered"));
    while (kanji->phase() == 1)
        step();
    for (int i = 0; i < 15; ++i)
        step();
    shots::save(kanji, QStringLiteral("kichiran-moving"));
    while (kanji->phase() != 0)
        step();
    shots::save(kanji, QStringLiteral("kichiran-reading"));
    t.click(fm::test::child<QPushButton>(kanji, "Btn_Kaki"));
    while (kanji->phase() != 0)
        step();
    shots::save(kanji, QStringLiteral("kichiran-writing"));
}
