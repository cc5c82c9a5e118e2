// A kanji's page: looking at it, and each round of guided writing part way,
// with a miss flashing; the build's real strokes, readings and parts.
#include "data/catalogue.h"
#include "handwriting/kanjipage.h"
#include "handwriting/strokeorderview.h"
#include "records/recordfixture.h"
#include "shots.h"
#include <QImage>
#include <gtest/gtest.h>

using namespace fm;

namespace
{

QVector<QPointF> along(TF_KanjiPage *page, const StrokePath &line)
{
    QVector<QPointF> points;
    const InkStroke dense = inkFromCentreLines({line}).first();
    for (const QPointF &q : dense)
        points << page->Img_Paper->toWidget(q);
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
        while (!page->Img_Kakijun->finished())
            page->Img_Kakijun->Tim_DrawTimer();
        shots::save(page, QStringLiteral("kanjipage-%1").arg(k));
        if (k == 18) {
            const StrokePaths lines = strokePathsOf(t.services, k);
            page->Btn_RoundClick(TF_KanjiPage::Nazoru);
            page->Img_Paper->writeStroke(along(page, lines[0]));
            shots::save(page, QStringLiteral("kanjipage-nazoru"));
            page->Img_Paper->writeStroke(along(page, lines[2]));
            shots::save(page, QStringLiteral("kanjipage-nazoru-miss"));
            page->Btn_RoundClick(TF_KanjiPage::Usuku);
            page->Img_Paper->writeStroke(along(page, lines[0]));
            shots::save(page, QStringLiteral("kanjipage-usuku"));
            page->Btn_RoundClick(TF_KanjiPage::Kaku);
            for (const StrokePath &line : lines)
                page->Img_Paper->writeStroke(along(page, line));
            shots::save(page, QStringLiteral("kanjipage-kaku-done"));
        }
        t.nav.back();
        t.processDeletes();
    }
}
