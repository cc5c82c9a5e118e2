// Pressing a kanji in the kanji list or in the per-kanji results opens its
// stroke-order picture.
#include "records/kichiran.h"
#include "records/kseiseki.h"
#include "seisekifixture.h"
#include "shell/writing.h"
#include "support/modalwatcher.h"
#include <QTest>
#include <gtest/gtest.h>

using namespace fm;
using namespace records_test;

namespace
{

struct Opened {
    int windows = 0;
    QString title;
};

// Runs press while a watcher notes the stroke-order windows that open.
Opened pressAndWatch(const std::function<void()> &press)
{
    Opened seen;
    fm::test::ModalWatcher watch([&](QWidget *w) {
        if (auto *k = qobject_cast<TF_Kakijun *>(w)) {
            ++seen.windows;
            seen.title = k->Lbl_Title->text();
        }
    });
    press();
    return seen;
}

} // namespace

TEST(StrokeOrderFromRecords, AKanjiPressedInTheListOrTheResultsShowsItsStrokes)
{
    Shell t;
    oneChildStudying(t.state, 2, 2);

    // The kanji list: nothing while the kanji move, the kanji under the press after.
    auto *list = static_cast<TF_K_ichiran *>(t.nav.open(ScreenId::KIchiran));
    list->BtnClick(StudyKind::Writing);
    QPoint two;
    for (const records::ListItem &item : list->items())
        if (item.kanji == 2)
            two = item.target + QPoint(records::ListCellWidth / 2, records::ListCellHeight / 2);
    EXPECT_EQ(pressAndWatch([&] { QTest::mouseClick(list->Img_Kanji, Qt::LeftButton, {}, two); }).windows, 0);
    for (int i = 0; i < 1000 && list->phase() != 0; ++i)
        list->Tim_KanjiTimer();
    const Opened fromList =
        pressAndWatch([&] { QTest::mouseClick(list->Img_Kanji, Qt::LeftButton, {}, two); });
    EXPECT_EQ(fromList.windows, 1);
    EXPECT_TRUE(fromList.title.contains(kanji(2))) << fromList.title.toStdString();
    t.nav.back();
    t.processDeletes();

    // The per-kanji results: row 2 is kanji 1's writing.
    auto *results = static_cast<TF_KSeiseki1 *>(t.nav.open(ScreenId::KSeiseki1));
    records::SeisekiGrid *g = results->Grd_Seiseki;
    const QRect cell = g->visualRect(g->model()->index(1, 2));
    const Opened fromResults =
        pressAndWatch([&] { QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center()); });
    EXPECT_EQ(fromResults.windows, 1);
    EXPECT_TRUE(fromResults.title.contains(kanji(1))) << fromResults.title.toStdString();

    // A kanji without reference strokes opens nothing.
    t.handwriting.strokes.clear();
    EXPECT_EQ(
        pressAndWatch([&] { QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center()); }).windows,
        0);
}
