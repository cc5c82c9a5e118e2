// A kanji's own page: opened from the kanji list, the per-kanji results and
// before the first test of a new level, and a child writing the kanji on it
// through the three rounds, stroke by stroke.
#include "data/stamps.h"
#include "handwriting/kanjipage.h"
#include "handwriting/readingbox.h"
#include "handwriting/strokeorderview.h"
#include "records/kichiran.h"
#include "records/kseiseki.h"
#include "records/mode.h"
#include "seisekifixture.h"
#include "support/find.h"
#include "support/modalwatcher.h"
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace fm;
using namespace records_test;
using fm::test::child;

namespace
{

// The build's centre lines and reading boxes in the test's program directory.
bool useBuiltStrokeFiles(Shell &t)
{
    for (const QString &name : {CentreLinesFile, ReadingBoxFile})
        if (!QFile::copy(QStringLiteral(FUDEMARU_BIN_DIR "/") + name, t.file(name)))
            return false;
    return true;
}

TF_KanjiPage *currentPage(Shell &t)
{
    return dynamic_cast<TF_KanjiPage *>(t.nav.current());
}

// A stroke along the kanji's centre line, in the paper's own coordinates.
QVector<QPointF> along(TF_KanjiPage *page, const StrokePath &line, bool backwards = false)
{
    QVector<QPointF> points;
    const InkStroke dense = inkFromCentreLines({line}).first();
    for (const QPointF &q : dense)
        points << child<GuidedSquare>(page, "Img_Paper")->toWidget(q);
    if (backwards)
        std::reverse(points.begin(), points.end());
    return points;
}

} // namespace

TEST(KanjiPage, OpensFromTheKanjiListAndTheResults)
{
    Shell t;
    oneChildStudying(t.state, 2, 2);
    ASSERT_TRUE(useBuiltStrokeFiles(t));

    // The kanji list: nothing while the kanji move, the kanji under the press after.
    auto *list = static_cast<TF_K_ichiran *>(t.nav.open(ScreenId::KIchiran));
    QTest::mouseClick(fm::test::child<QPushButton>(list, "Btn_Kaki"), Qt::LeftButton);
    QPoint two;
    for (const records::ListItem &item : list->items())
        if (item.kanji == 2)
            two = item.target + QPoint(records::ListCellWidth / 2, records::ListCellHeight / 2);
    QWidget *picture = fm::test::child<QWidget>(list, "Img_Kanji");
    QTest::mouseClick(picture, Qt::LeftButton, {}, two);
    EXPECT_EQ(currentPage(t), nullptr);
    for (int i = 0; i < 1000 && list->phase() != 0; ++i)
        fm::test::tick(list, "Tim_Kanji");
    QTest::mouseClick(picture, Qt::LeftButton, {}, two);
    ASSERT_NE(currentPage(t), nullptr);
    EXPECT_EQ(currentPage(t)->kanji(), 2);
    EXPECT_TRUE(fm::test::child<QLabel>(currentPage(t), "Lbl_Title")->text().contains(kanji(2)));
    // The reading box of 二: its 音 and 訓 with a word under each.
    EXPECT_TRUE(child<QLabel>(currentPage(t), "Lbl_Yomi")->text().contains(QStringLiteral("ニ")));
    EXPECT_TRUE(child<QLabel>(currentPage(t), "Lbl_Yomi")->text().contains(QStringLiteral("ふたつ")));
    t.click(child<QPushButton>(currentPage(t), "Btn_Modoru"));
    t.processDeletes();
    EXPECT_EQ(t.nav.current(), list);
    t.nav.back();
    t.processDeletes();

    // The per-kanji results: row 2 is kanji 1's writing.
    auto *results = static_cast<TF_KSeiseki1 *>(t.nav.open(ScreenId::KSeiseki1));
    auto *g = fm::test::child<records::SeisekiGrid>(results, "Grd_Seiseki");
    const QRect cell = g->visualRect(g->model()->index(1, 2));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_NE(currentPage(t), nullptr);
    EXPECT_EQ(currentPage(t)->kanji(), 1);
}

// The journey of one kanji, 口 with its bent second stroke, as a child
// meets it: tracing it with one stroke out of order, writing over its
// starting dots after three misses, writing it on blank paper, and leaving
// in the middle of a stroke.
TEST(KanjiPage, AChildWritesAKanjiThroughTheThreeRounds)
{
    Shell t;
    oneChildStudying(t.state, 2, 2);
    ASSERT_TRUE(useBuiltStrokeFiles(t));
    const int mouth = int(AllKanji.indexOf(QStringLiteral("口"))) + 1;
    t.nav.open(ScreenId::KIchiran);
    openKanjiPage(t.services, mouth);
    TF_KanjiPage *page = currentPage(t);
    ASSERT_NE(page, nullptr);
    const StrokePaths lines = strokePathsOf(t.services, mouth);
    ASSERT_EQ(lines.size(), 3);
    GuidedSquare *sq = child<GuidedSquare>(page, "Img_Paper");
    QLabel *message = child<QLabel>(page, "Lbl_Message");
    JudgeMark *mark = child<JudgeMark>(page, "Mark");
    EXPECT_EQ(sq->look(), GuidedSquare::Look::Kanji);

    // なぞる: the first stroke right, then the third before the second.
    t.click(child<QPushButton>(page, "Btn_Round", 1));
    EXPECT_EQ(sq->look(), GuidedSquare::Look::Pale);
    sq->writeStroke(along(page, lines[0]));
    EXPECT_EQ(page->guide()->next(), 1);
    EXPECT_TRUE(message->text().contains(QStringLiteral("できたね")));
    sq->writeStroke(along(page, lines[2]));
    EXPECT_EQ(page->guide()->next(), 1) << "the stroke out of order is not taken";
    EXPECT_EQ(sq->flash(), 1) << "the right stroke flashes with its number";
    EXPECT_TRUE(message->text().contains(QStringLiteral("じゅんばん")));
    fm::test::tick(page, "Tim_Flash");
    EXPECT_EQ(sq->flash(), -1);
    sq->writeStroke(along(page, lines[1]));
    sq->writeStroke(along(page, lines[2]));
    EXPECT_TRUE(page->guide()->finished());
    EXPECT_EQ(mark->mark(), QStringLiteral("○"));

    // うすく: a double click and a stroke drawn backwards on the first
    // stroke, and a third miss: the program draws it and the child goes on.
    t.click(child<QPushButton>(page, "Btn_Round", 2));
    EXPECT_EQ(sq->look(), GuidedSquare::Look::StartDots);
    const QPointF start = sq->toWidget(lines[0].first());
    sq->writeStroke({start});
    sq->writeStroke({start});
    EXPECT_EQ(page->guide()->misses(), 2);
    sq->writeStroke(along(page, lines[0], true));
    EXPECT_EQ(page->guide()->next(), 1);
    EXPECT_EQ(page->guide()->helped(), 1);
    sq->writeStroke(along(page, lines[1]));
    sq->writeStroke(along(page, lines[2]));
    EXPECT_TRUE(page->guide()->finished());

    // かく: blank paper, and the finished kanji goes to the recogniser.
    t.handwriting.answer = {mouth};
    t.click(child<QPushButton>(page, "Btn_Round", 3));
    EXPECT_EQ(sq->look(), GuidedSquare::Look::Blank);
    for (const StrokePath &line : lines)
        sq->writeStroke(along(page, line));
    ASSERT_EQ(t.handwriting.asked.size(), 1);
    EXPECT_EQ(t.handwriting.asked.first().size(), 3);
    EXPECT_EQ(mark->mark(), QStringLiteral("○"));

    // Not what the child meant: no ○, and a gentle word instead of a cross.
    fm::test::tick(mark, "Tim_Mark");
    t.handwriting.answer = {1, 2};
    t.click(child<QPushButton>(page, "Btn_Round", 3));
    for (const StrokePath &line : lines)
        sq->writeStroke(along(page, line));
    EXPECT_EQ(mark->mark(), QString());
    EXPECT_TRUE(message->text().contains(QStringLiteral("もういちど")));

    // もどる in the middle of a stroke: the list again, nothing left behind.
    t.click(child<QPushButton>(page, "Btn_Round", 1));
    sq->writeStroke(along(page, lines[0]));
    QTest::mousePress(sq, Qt::LeftButton, {}, start.toPoint());
    t.click(child<QPushButton>(page, "Btn_Modoru"));
    t.processDeletes();
    EXPECT_EQ(t.nav.current()->id(), ScreenId::KIchiran);
}

// A kanji written alone on blank paper earns its stamp: circled in green in
// the child's kanji list. One the program helped with does not.
TEST(KanjiPage, AKanjiWrittenAloneIsCircledInTheList)
{
    Shell t;
    oneChildStudying(t.state, 2, 2);
    ASSERT_TRUE(useBuiltStrokeFiles(t));
    const int mouth = int(AllKanji.indexOf(QStringLiteral("口"))) + 1;
    auto *list = static_cast<TF_K_ichiran *>(t.nav.open(ScreenId::KIchiran));
    openKanjiPage(t.services, mouth);
    TF_KanjiPage *page = currentPage(t);
    ASSERT_NE(page, nullptr);
    const StrokePaths lines = strokePathsOf(t.services, mouth);
    GuidedSquare *sq = child<GuidedSquare>(page, "Img_Paper");
    t.handwriting.answer = {mouth};

    // Three dots on the first stroke: the program draws it, so no stamp.
    t.click(child<QPushButton>(page, "Btn_Round", 3));
    const QPointF start = sq->toWidget(lines[0].first());
    for (int i = 0; i < GuidedStrokes::MissesBeforeHelp; ++i)
        sq->writeStroke({start});
    for (int i = 1; i < lines.size(); ++i)
        sq->writeStroke(along(page, lines[i]));
    EXPECT_EQ(child<JudgeMark>(page, "Mark")->mark(), QStringLiteral("○"));
    EXPECT_EQ(loadStamps(t.state.DataDir, 1), Stamps{});

    // Every stroke alone: the stamp, kept in the child's file.
    t.click(child<QPushButton>(page, "Btn_Round", 3));
    for (const StrokePath &line : lines)
        sq->writeStroke(along(page, line));
    EXPECT_TRUE(loadStamps(t.state.DataDir, 1)[size_t(mouth)]);
    t.click(child<QPushButton>(page, "Btn_Modoru"));
    t.processDeletes();

    // In the list, once the kanji are in place: a green ring round 口 only.
    QTest::mouseClick(child<QPushButton>(list, "Btn_Kaki"), Qt::LeftButton);
    for (int i = 0; i < 1000 && list->phase() != 0; ++i)
        fm::test::tick(list, "Tim_Kanji");
    const QImage shown = child<PictureView>(list, "Img_Kanji")->picture();
    auto ringAt = [&](int kanji) {
        for (const records::ListItem &item : list->items()) {
            if (item.kanji != kanji)
                continue;
            // The ring's left side, half-way down the cell: green, where the
            // cell is otherwise navy (a yellow glyph is red too).
            for (int dx = 0; dx <= 2; ++dx) {
                const QPointF at = (QPointF(item.target) + QPointF(dx, records::ListCellHeight / 2.0)) *
                                   shown.devicePixelRatio();
                const QColor c = shown.pixelColor(at.toPoint());
                if (c.green() > 100 && c.red() < 100)
                    return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(ringAt(mouth));
    EXPECT_FALSE(ringAt(mouth == 1 ? 2 : 1));
}

// Without its centre lines a bent stroke could only be drawn and judged
// straight: a damaged or missing Hitsujun1.dat is named to the parent, no page
// or stroke-order window opens, and the program goes on.
TEST(KanjiPage, ADamagedCentreLineFileIsNamedAndNothingIsTaughtStraight)
{
    Shell t;
    oneChildStudying(t.state, 1, 1);
    const int mouth = int(AllKanji.indexOf(QStringLiteral("口"))) + 1;
    t.handwriting.strokes[mouth] = {{{40, 40}, {40, 200}}, {{40, 40}, {200, 200}}, {{40, 200}, {200, 200}}};
    auto *list = static_cast<TF_K_ichiran *>(t.nav.open(ScreenId::KIchiran));
    const QString file = t.file(CentreLinesFile);
    for (const bool missing : {false, true}) {
        SCOPED_TRACE(missing ? "missing" : "damaged");
        QFile::remove(file);
        if (!missing) {
            QFile damaged(file);
            ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
            damaged.write("not the centre lines");
        }
        const size_t before = t.dialogs.calls.size();
        openKanjiPage(t.services, mouth);
        EXPECT_EQ(t.nav.current(), list) << "no page";
        fm::test::ModalWatcher watch;
        showStrokeOrder(t.services, mouth, list);
        EXPECT_EQ(watch.seen, 0) << "no stroke-order window";
        ASSERT_EQ(t.dialogs.calls.size(), before + 2);
        for (size_t i = before; i < t.dialogs.calls.size(); ++i) {
            EXPECT_EQ(t.dialogs.calls[i].kind, fm::test::FakeDialogs::Kind::Message) << "the program goes on";
            EXPECT_TRUE(t.dialogs.calls[i].text.contains(CentreLinesFile))
                << t.dialogs.calls[i].text.toStdString();
        }
        EXPECT_FALSE(t.nav.quitRequested());
    }
    // The guard: with the build's file the window and the page open.
    ASSERT_TRUE(useBuiltStrokeFiles(t));
    fm::test::ModalWatcher watch;
    showStrokeOrder(t.services, mouth, list);
    EXPECT_EQ(watch.seen, 1);
    openKanjiPage(t.services, mouth);
    ASSERT_NE(currentPage(t), nullptr);
    EXPECT_EQ(strokePathsOf(t.services, mouth).size(), 3);
}

TEST(KanjiPage, AStrokeBegunJustOutsideThePaperStartsOnItsEdge)
{
    Shell t;
    oneChildStudying(t.state, 1, 1);
    ASSERT_TRUE(useBuiltStrokeFiles(t));
    t.nav.open(ScreenId::KIchiran);
    openKanjiPage(t.services, 1); // 一
    TF_KanjiPage *page = currentPage(t);
    ASSERT_NE(page, nullptr);
    t.click(child<QPushButton>(page, "Btn_Round", 1));
    GuidedSquare *sq = child<GuidedSquare>(page, "Img_Paper");
    QSignalSpy strokes(sq, &GuidedSquare::strokeWritten);
    const QRectF paper = sq->paper();
    const int y = int(paper.center().y());
    // A press left of the paper, within the widget's margin, drawn across.
    const QPoint outside(int(paper.left()) - 8, y);
    QTest::mousePress(sq, Qt::LeftButton, {}, outside);
    for (int x = outside.x(); x <= int(paper.right()) - 20; x += 10)
        QTest::mouseMove(sq, QPoint(x, y));
    QTest::mouseRelease(sq, Qt::LeftButton, {}, QPoint(int(paper.right()) - 20, y));
    ASSERT_EQ(strokes.count(), 1);
    const InkStroke stroke = strokes.first().first().value<InkStroke>();
    EXPECT_EQ(stroke.first().x(), 0.0) << "the stroke starts on the paper's left edge";
    EXPECT_EQ(page->guide()->next(), 1) << "and is taken as the kanji's one stroke";
}

TEST(KanjiPage, BeforeTheFirstTestOfANewLevelTheChildMayLookThroughItsKanji)
{
    Shell t;
    oneChildStudying(t.state, 3, 1);
    ASSERT_TRUE(useBuiltStrokeFiles(t));
    writeStars(t);
    auto *mode = static_cast<TF_Mode *>(t.nav.open(ScreenId::Mode));
    ASSERT_NE(mode, nullptr);

    // Yes: the level's first page, and つぎ / まえ through its twenty.
    t.dialogs.answers = {Answer::Yes};
    t.click(fm::test::child<QLabel>(mode, "Lbl_Command", TF_Mode::Challenge));
    ASSERT_EQ(t.dialogs.calls.size(), 1u);
    TF_KanjiPage *page = currentPage(t);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->kanji(), 41);
    EXPECT_FALSE(child<QPushButton>(page, "Btn_Mae")->isVisible());
    for (int i = 0; i < 19; ++i)
        t.click(child<QPushButton>(page, "Btn_Tsugi"));
    EXPECT_EQ(page->kanji(), 60);
    EXPECT_FALSE(child<QPushButton>(page, "Btn_Tsugi")->isVisible());
    t.click(child<QPushButton>(page, "Btn_Mae"));
    EXPECT_EQ(page->kanji(), 59);
    t.click(child<QPushButton>(page, "Btn_Modoru"));
    t.processDeletes();

    // Asked once: the next press starts the test.
    t.click(fm::test::child<QLabel>(mode, "Lbl_Command", TF_Mode::Challenge));
    EXPECT_EQ(t.dialogs.calls.size(), 1u);
    EXPECT_EQ(t.nav.current()->id(), ScreenId::Shutsudai);
    t.nav.back();
    t.processDeletes();

    // A level the child has met already offers nothing.
    t.state.Progress[1][1].AskedCount = 1;
    EXPECT_FALSE(levelIsNew(t.state, 1));
    EXPECT_TRUE(levelIsNew(t.state, 4));
}
