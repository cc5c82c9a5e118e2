#include "records/kseiseki.h"
#include "records/seiseki.h"
#include "seisekifixture.h"
#include <QHeaderView>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace fm;
using namespace records_test;

namespace
{

QString rowText(const records::SeisekiGrid *g, int r)
{
    QStringList cells;
    for (int c = 0; c < g->columns(); ++c)
        cells << g->text(r, c);
    return cells.join(QLatin1Char('|'));
}

// The page shown: the record numbers and the rows that show anything, as
// "21-23 in 1-3" (rows after the last record are empty, "No" included).
QString page(const records::SeisekiGrid *g)
{
    QStringList filled;
    for (int r = 1; r < g->rows(); ++r)
        if (!rowText(g, r).remove(QLatin1Char('|')).isEmpty())
            filled << QString::number(r);
    if (filled.isEmpty())
        return QStringLiteral("none");
    return g->text(filled.first().toInt(), 0) + '-' + g->text(filled.last().toInt(), 0) + " in " +
           filled.first() + '-' + filled.last();
}

// A press a moment after the last one (a double click turns one page only).
void press(fm::test::TestShell &t, QPushButton *b)
{
    t.clock.advanceSeconds(1);
    QTest::mouseClick(b, Qt::LeftButton);
}

// The history's buttons and labels, by their names.
QPushButton *button(const TF_Seiseki2 *h, const char *name)
{
    return fm::test::child<QPushButton>(h, name);
}
QLabel *label(const QObject *screen, const char *name)
{
    return fm::test::child<QLabel>(screen, name);
}

QString buttons(const TF_Seiseki2 *h)
{
    return QString(button(h, "Btn_Prev")->isVisible() ? "prev " : "") +
           (button(h, "Btn_Next")->isVisible() ? "next" : "");
}

struct HistoryShell : Shell {
    explicit HistoryShell(int records)
    {
        fillCatalogue(state);
        addPlayer(state, QStringLiteral("あいうえお"), 2, 1);
        if (records > 0) {
            QVector<StudyRecord> log;
            for (int n = 1; n <= records; ++n)
                log << studyRecord(1 + (n - 1) / 10 % 12, 1 + n % 2, 5 + n % 6, n == 5 ? 2 : 1, 45000.5 + n);
            writeLog(*this, 1, log);
        }
        state.CurrentPlayer = 1;
        history = nav.open<TF_Seiseki2>();
    }
    TF_Seiseki2 *history;
};

} // namespace

TEST(StudyHistory, ThePlayerListShowsEveryPlayerAndOpensTheirHistory)
{
    Shell t;
    oneChildStudying(t.state, 3, 2);
    addPlayer(t.state, QStringLiteral("あおい"), 13, 1);
    auto *list = static_cast<TF_Seiseki1 *>(t.nav.open(ScreenId::Seiseki1));
    records::SeisekiGrid *g = grid(list);
    EXPECT_EQ(label(list, "Lbl_Title")->text(), QStringLiteral("みんなのせいせきひょう"));
    EXPECT_EQ(g->geometry(), QRect(10, 87, 602, 346));
    EXPECT_EQ(g->rows(), 3);
    EXPECT_EQ(rowText(g, 0), QStringLiteral("No|なまえ|レベル"));
    EXPECT_EQ(rowText(g, 1), QStringLiteral("1|はると|3"));
    EXPECT_EQ(rowText(g, 2), QStringLiteral("2|あおい|13"));
    EXPECT_EQ(g->horizontalHeader()->height(), 30);
    EXPECT_EQ(g->rowHeight(1), 30);
    EXPECT_EQ(QList<int>({g->columnWidth(0), g->columnWidth(1), g->columnWidth(2)}),
              QList<int>({30, 505, 60}));

    // A click on the second row: that player's history, and nothing else changes.
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(1, 1)).center());
    auto *history = t.nav.find<TF_Seiseki2>();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(t.nav.current(), history);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(t.state.CurrentPlayer, 2);
    EXPECT_EQ(t.state.CurrentLevel, 3);
    EXPECT_EQ(t.state.CurrentKind, fm::StudyKind::Writing);
    EXPECT_EQ(label(history, "Lbl_Title")->text(), QStringLiteral("あおいのせいせきひょう"));
    EXPECT_EQ(page(grid(history)), QStringLiteral("none"));
    EXPECT_EQ(buttons(history), QString());
    // No test yet: a word on what to do, not an empty table.
    EXPECT_TRUE(label(history, "Lbl_Empty")->isVisible());
    EXPECT_TRUE(label(history, "Lbl_Empty")->text().contains(QStringLiteral("べんきょうをする")));
    EXPECT_FALSE(grid(history)->isVisible());

    // Back: the list again, then the menu.
    QTest::mouseClick(fm::test::headerButton(history, 4), Qt::LeftButton);
    t.processDeletes();
    EXPECT_EQ(t.nav.current(), list);
    EXPECT_EQ(t.nav.find<TF_Seiseki2>(), nullptr);
    QTest::mouseClick(fm::test::headerButton(list, 4), Qt::LeftButton);
    t.processDeletes();
    EXPECT_EQ(t.nav.current(), t.menu);
    EXPECT_EQ(t.nav.find<TF_Seiseki1>(), nullptr);
    EXPECT_TRUE(t.dialogs.calls.empty());
}

TEST(StudyHistory, OnePageLogsShowNoPageButtons)
{
    for (int records : {7, 10}) {
        HistoryShell t(records);
        EXPECT_EQ(page(grid(t.history)), QStringLiteral("1-%1 in 1-%1").arg(records));
        EXPECT_EQ(buttons(t.history), QString());
    }
}

TEST(StudyHistory, TwentyThreeTestsOpenAtTheNewestAndPageBackAndForward)
{
    HistoryShell t(23);
    TF_Seiseki2 *h = t.history;
    const auto *g = grid(h);
    EXPECT_EQ(label(h, "Lbl_Title")->text(), QStringLiteral("あいうえおのせいせきひょう"));
    EXPECT_EQ(rowText(g, 0),
              QStringLiteral("No|年月日|レベル|しゅつだいしたかんじ|よむ/かく|しゅるい|ごうかく"));
    EXPECT_EQ(g->geometry(), QRect(10, 87, 602, 346));
    EXPECT_EQ(g->rowHeight(9), 28);
    EXPECT_EQ(g->horizontalHeader()->height(), 28);
    EXPECT_EQ(button(h, "Btn_Next")->geometry(), QRect(503, 14, 114, 35));

    // The newest page first: a parent comes to see the last tests.
    EXPECT_EQ(page(g), QStringLiteral("21-23 in 1-3"));
    EXPECT_EQ(g->text(3, 3), AllKanji.mid(40, 20));
    EXPECT_EQ(buttons(h), QStringLiteral("prev "));

    press(t, button(h, "Btn_Prev"));
    EXPECT_EQ(page(g), QStringLiteral("11-20 in 1-10"));
    EXPECT_EQ(g->text(1, 2), QStringLiteral("2"));
    EXPECT_EQ(g->text(1, 3), AllKanji.mid(20, 20));
    EXPECT_EQ(buttons(h), QStringLiteral("prev next"));
    press(t, button(h, "Btn_Prev"));
    EXPECT_EQ(page(g), QStringLiteral("1-10 in 1-10"));
    EXPECT_EQ(buttons(h), QStringLiteral("next"));

    // Record 5 is a practice test with 10 right answers, record 6 a failed challenge.
    EXPECT_EQ(rowText(g, 5),
              QStringLiteral("5|2023/03/20|1|") + AllKanji.left(20) + QStringLiteral("|かく|れんしゅう|○"));
    EXPECT_EQ(rowText(g, 6),
              QStringLiteral("6|2023/03/21|1|") + AllKanji.left(20) + QStringLiteral("|よむ|チャレンジ|×"));

    // The second press of a double click does not turn a page.
    t.clock.advanceSeconds(1);
    QTest::mouseClick(button(h, "Btn_Next"), Qt::LeftButton);
    QTest::mouseClick(button(h, "Btn_Next"), Qt::LeftButton);
    EXPECT_EQ(page(g), QStringLiteral("11-20 in 1-10"));
    press(t, button(h, "Btn_Next"));
    EXPECT_EQ(page(g), QStringLiteral("21-23 in 1-3"));
    EXPECT_TRUE(t.dialogs.calls.empty());
}

// 2,000 tests opened at the oldest, 199 presses from the newest, with a
// date column too narrow for a date.
TEST(StudyHistory, ALongHistoryOpensAtTheNewestJumpsToEitherEndAndShowsWholeDates)
{
    const struct {
        int records;
        const char *newest;
    } cases[] = {{2000, "1991-2000 in 1-10"}, {20, "11-20 in 1-10"}, {11, "11-11 in 1-1"}};
    for (const auto &c : cases) {
        HistoryShell t(c.records);
        TF_Seiseki2 *h = t.history;
        const auto *g = grid(h);
        EXPECT_EQ(page(g), QString::fromLatin1(c.newest)) << c.records;
        // No button of the screen covers another or a header icon.
        const QList<QWidget *> controls{
            button(h, "Btn_First"),       button(h, "Btn_Last"),        button(h, "Btn_Prev"),
            button(h, "Btn_Next"),        button(h, "Btn_Graph"),       fm::test::headerButton(h, 1),
            fm::test::headerButton(h, 2), fm::test::headerButton(h, 3), fm::test::headerButton(h, 4)};
        for (int i = 0; i < controls.size(); ++i)
            for (int j = i + 1; j < controls.size(); ++j) {
                EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry())) << i << ' ' << j;
            }
        EXPECT_TRUE(button(h, "Btn_First")->isVisible());
        EXPECT_FALSE(button(h, "Btn_Last")->isVisible());
        press(t, button(h, "Btn_First"));
        EXPECT_EQ(page(g), QStringLiteral("1-10 in 1-10")) << c.records;
        EXPECT_FALSE(button(h, "Btn_First")->isVisible());
        EXPECT_TRUE(button(h, "Btn_Last")->isVisible());
        press(t, button(h, "Btn_Last"));
        EXPECT_EQ(page(g), QString::fromLatin1(c.newest)) << c.records;

        // Every number, date and level's kanji shows whole in its column.
        for (int col : {0, 1, 3}) {
            const QModelIndex cell = g->model()->index(1, col);
            const QFont font = cell.data(Qt::FontRole).value<QFont>();
            const QString text = g->text(1, col);
            EXPECT_LE(QFontMetrics(font).horizontalAdvance(text) + 4, g->columnWidth(col))
                << c.records << " column " << col << ' ' << text.toStdString();
            // ... in a size a parent can read (the date was 8 pixels).
            EXPECT_GE(font.pixelSize(), col == 3 ? 11 : 13) << c.records << " column " << col;
        }
    }
}

TEST(KanjiResults, LevelThreeWriterSeesReadingToSixtyAndWritingToFortyCleared)
{
    Shell t;
    oneChildStudying(t.state, 3, 2);
    t.state.Progress[45][2] = {4, 3, true};
    t.state.Progress[41][2] = {2, 1, false};
    t.state.Progress[7][1] = {5, 4, true};
    auto *s = static_cast<TF_KSeiseki1 *>(t.nav.open(ScreenId::KSeiseki1));
    records::SeisekiGrid *g = grid(s);
    EXPECT_EQ(label(s, "Lbl_Title")->text(), QStringLiteral("かんじべつのせいせきひょう"));
    ASSERT_EQ(g->rows(), 481);
    EXPECT_EQ(rowText(g, 0),
              QStringLiteral("No|レベル|かんじ|しゅるい|しけんかいすう|ごうかくかいすう|レベルクリアー"));
    EXPECT_EQ(rowText(g, 13), QStringLiteral("13|1|七|よむ|5|4|○"));
    EXPECT_EQ(rowText(g, 81), QStringLiteral("81|3|天|よむ|0|0|○"));
    EXPECT_EQ(rowText(g, 82), QStringLiteral("82|3|天|かく|2|1|"));
    EXPECT_EQ(rowText(g, 90), QStringLiteral("90|3|花|かく|4|3|○"));
    EXPECT_EQ(rowText(g, 480), QStringLiteral("480|12|理|かく|0|0|"));

    // The marks by kind: reading 1..60, writing 1..40 and the mastered 45.
    QList<int> reading;
    QList<int> writing;
    for (int j = 1; j <= 240; ++j) {
        if (g->text(2 * j - 1, 6) == QStringLiteral("○"))
            reading << j;
        if (g->text(2 * j, 6) == QStringLiteral("○"))
            writing << j;
    }
    EXPECT_EQ(reading.size(), 60);
    EXPECT_EQ(reading.last(), 60);
    EXPECT_EQ(writing.size(), 41);
    EXPECT_EQ(writing[39], 40);
    EXPECT_EQ(writing.last(), 45);

    // About eleven rows show and the rest scroll under the fixed header; the
    // last row is as high as every other.
    EXPECT_EQ(g->geometry(), QRect(10, 87, 602, 346));
    EXPECT_EQ(g->horizontalHeader()->height(), 28);
    EXPECT_EQ(g->rowHeight(0), 28);
    EXPECT_EQ(g->rowHeight(479), 28);
    QList<int> widths;
    for (int c = 0; c < 7; ++c)
        widths << g->columnWidth(c);
    EXPECT_EQ(widths, QList<int>({30, 60, 60, 90, 120, 120, 90}));
    EXPECT_TRUE(g->verticalScrollBar()->isVisible());
    g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum());
    EXPECT_TRUE(g->horizontalHeader()->isVisible());
    EXPECT_EQ(g->horizontalHeader()->geometry().top(), 0);
    const QRect last = g->visualRect(g->model()->index(479, 0));
    EXPECT_LE(last.bottom(), g->viewport()->height());

    QTest::mouseClick(fm::test::headerButton(s, 4), Qt::LeftButton);
    t.processDeletes();
    EXPECT_EQ(t.nav.find<TF_KSeiseki1>(), nullptr);
}
