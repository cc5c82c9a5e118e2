// A kanji's page: looking at it, and each round of guided writing part way,
// with a miss flashing; the build's real strokes, readings and parts.
#include "data/catalogue.h"
#include "handwriting/kanjipage.h"
#include "handwriting/strokeorderview.h"
#include "records/recordfixture.h"
#include "shots.h"
#include "support/find.h"
#include <QImage>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::child;

namespace
{

QVector<QPointF> along(TF_KanjiPage *page, const StrokePath &line)
{
    QVector<QPointF> points;
    const InkStroke dense = inkFromCentreLines({line}).first();
    for (const QPointF &q : dense)
        points << child<GuidedSquare>(page, "Img_Paper")->toWidget(q);
    return points;
}

} // namespace

TEST(KanjiPageShots, LookAndTheThreeRounds)
{
    records_test::Shell t;
    ASSERT_TRUE(shots::copyFromBuild(t, {QStringLiteral("Kanji1.dat"), QStringLiteral("Bushu1.dat"),
                                         QStringLiteral("Hitsujun1.dat"), QStringLiteral("Yomikata1.dat"),
                                         QStringLiteral("BuhinX.bmp")}))
        << "the build has not made the program's files";
    shots::loadHeaderIcons(t);
    loadCatalogue(t.state.Cat, t.state.ProgramDir);
    t.pictures.bitmaps[QStringLiteral("BuhinX.bmp")] = QImage(t.file(QStringLiteral("BuhinX.bmp")));
    records_test::addPlayer(t.state, QStringLiteral("はると"), 1, 1);
    t.state.CurrentPlayer = 1;

    for (int k : {18, 4, 97, 109, 155}) {
        openKanjiPage(t.services, k);
        auto *page = static_cast<TF_KanjiPage *>(t.nav.current());
        auto *strokeOrder = child<StrokeOrderView>(page, "Img_Kakijun");
        while (!strokeOrder->finished())
            fm::test::tick(strokeOrder, "Tim_Draw");
        shots::save(page, QStringLiteral("kanjipage-%1").arg(k));
        if (k == 18) {
            const StrokePaths lines = strokePathsOf(t.services, k);
            GuidedSquare *sq = child<GuidedSquare>(page, "Img_Paper");
            auto round = [page](int r) { child<QPushButton>(page, "Btn_Round", r)->click(); };
            round(TF_KanjiPage::Nazoru);
            sq->writeStroke(along(page, lines[0]));
            shots::save(page, QStringLiteral("kanjipage-nazoru"));
            sq->writeStroke(along(page, lines[2]));
            shots::save(page, QStringLiteral("kanjipage-nazoru-miss"));
            round(TF_KanjiPage::Usuku);
            sq->writeStroke(along(page, lines[0]));
            shots::save(page, QStringLiteral("kanjipage-usuku"));
            round(TF_KanjiPage::Kaku);
            for (const StrokePath &line : lines)
                sq->writeStroke(along(page, line));
            shots::save(page, QStringLiteral("kanjipage-kaku-done"));
        }
        t.nav.back();
        t.processDeletes();
    }
}
