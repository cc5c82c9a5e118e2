#include "records/kichiran.h"
#include "seisekifixture.h"
#include "shell/look.h"
#include <QPainter>
#include <gtest/gtest.h>

using namespace fm;
using namespace records_test;
using fm::test::FakeMediaPlayer;
using records::listCell;

namespace
{

struct ListShell : Shell {
    ListShell(int level, int kind)
    {
        oneChildStudying(state, level, kind);
        shell.MidiDeviceCount = 1;
    }
    TF_K_ichiran *open() { return static_cast<TF_K_ichiran *>(nav.open(ScreenId::KIchiran)); }
};

// The screen's controls, by their names.
PictureView *picture(const TF_K_ichiran *s)
{
    return fm::test::child<PictureView>(s, "Img_Kanji");
}
QPushButton *button(const TF_K_ichiran *s, const char *name)
{
    return fm::test::child<QPushButton>(s, name);
}
QLabel *label(const TF_K_ichiran *s, const char *name)
{
    return fm::test::child<QLabel>(s, name);
}
QTimer *timer(const TF_K_ichiran *s)
{
    return fm::test::child<QTimer>(s, "Tim_Kanji");
}
// One step of the animation, as the running timer gives it.
void step(TF_K_ichiran *s)
{
    fm::test::tick(s, "Tim_Kanji");
}

// Ticks until the animation is over; returns how many it took.
int runToEnd(TF_K_ichiran *s)
{
    int ticks = 0;
    while (s->phase() != 0 && ticks < 1000) {
        step(s);
        ++ticks;
    }
    return ticks;
}

QImage cellOf(const QImage &frame, int cell)
{
    return frame.copy(QRect(listCell(cell), QSize(records::ListCellWidth, records::ListCellHeight)));
}

// What a cell holding kanji k in that colour looks like.
QImage expectedCell(int k, const QColor &ink)
{
    QImage img(records::ListCellWidth, records::ListCellHeight, QImage::Format_RGB32);
    img.fill(colour::Navy);
    QPainter p(&img);
    p.drawImage(
        0, 0,
        records::KanjiListPicture::glyphPicture(kanji(k), ink, records::KanjiListPicture::glyphFont(), 1.0));
    return img;
}

bool anyRed(const QImage &img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 100)
                return true;
        }
    return false;
}

} // namespace

TEST(KanjiList, ALevelOneReaderSeesEveryKanjiInYellowEndingInReverseOrder)
{
    ListShell t(1, 1);
    TF_K_ichiran *s = t.open();
    EXPECT_EQ(label(s, "Lbl_TItle")->pos(), QPoint(3, 0));
    EXPECT_EQ(picture(s)->geometry(), QRect(8, 88, 480, 360));
    EXPECT_FALSE(label(s, "Lbl_Setsumei1")->isVisible());
    EXPECT_FALSE(timer(s)->isActive());
    EXPECT_EQ(picture(s)->grab().toImage().pixelColor(240, 180), colour::Navy);

    QTest::mouseClick(button(s, "Btn_Yomi"), Qt::LeftButton);
    EXPECT_FALSE(button(s, "Btn_Yomi")->isVisible());
    EXPECT_FALSE(button(s, "Btn_Kaki")->isVisible());
    EXPECT_TRUE(label(s, "Lbl_Setsumei1")->isVisible());
    EXPECT_TRUE(label(s, "Lbl_Setsumei2")->isVisible());
    EXPECT_LE(label(s, "Lbl_Setsumei2")->geometry().right(), 639); // the whole legend on the screen
    EXPECT_TRUE(timer(s)->isActive());
    EXPECT_EQ(timer(s)->interval(), 10);
    FakeMediaPlayer *music = t.sound.playerFor(QStringLiteral("ichiran.mid"));
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->playing);

    // Scattered: every cell holds the kanji that drew it as its start.
    step(s);
    const QImage scattered = picture(s)->picture();
    for (int c = 1; c <= 240; ++c)
        ASSERT_EQ(cellOf(scattered, c), expectedCell(s->items()[c].kanji, colour::Yellow)) << c;
    for (int n = 2; n <= 16; ++n)
        step(s);
    EXPECT_EQ(s->phase(), 1);
    step(s);
    EXPECT_EQ(s->phase(), 2);
    EXPECT_EQ(timer(s)->interval(), 200);
    for (int n = 1; n <= 29; ++n)
        step(s);
    EXPECT_TRUE(timer(s)->isActive());
    EXPECT_TRUE(label(s, "Lbl_Setsumei1")->isVisible());

    step(s); // the thirtieth step
    EXPECT_EQ(s->phase(), 0);
    EXPECT_FALSE(timer(s)->isActive());
    EXPECT_TRUE(button(s, "Btn_Yomi")->isVisible());
    EXPECT_TRUE(button(s, "Btn_Kaki")->isVisible());
    EXPECT_FALSE(label(s, "Lbl_Setsumei1")->isVisible());
    EXPECT_FALSE(label(s, "Lbl_Setsumei2")->isVisible());
    EXPECT_FALSE(s->MusicLooping());
    EXPECT_EQ(t.sound.log.filter(QStringLiteral(" stop")).size(), 1);

    // Kanji 1 in the bottom cell of the right-most column, 240 in the first.
    const QImage final = picture(s)->picture();
    for (int c = 1; c <= 240; ++c)
        ASSERT_EQ(cellOf(final, c), expectedCell(241 - c, colour::Yellow)) << c;
    EXPECT_FALSE(anyRed(final));
    EXPECT_TRUE(t.dialogs.calls.empty());
}

TEST(KanjiList, ALevelThreeWriterSeesClearedKanjiInRedInFront)
{
    ListShell t(3, 2);
    t.state.Progress[100][2].Mastered = true;
    t.state.Progress[50][2].Mastered = false;
    TF_K_ichiran *s = t.open();

    QTest::mouseClick(button(s, "Btn_Yomi"), Qt::LeftButton);
    EXPECT_EQ(runToEnd(s), 17 + 30);
    QImage final = picture(s)->picture();
    for (int c = 1; c <= 60; ++c)
        ASSERT_EQ(cellOf(final, c), expectedCell(c, colour::Red)) << c;
    EXPECT_EQ(cellOf(final, 240), expectedCell(61, colour::Yellow));
    EXPECT_EQ(cellOf(final, 61), expectedCell(240, colour::Yellow));
    EXPECT_FALSE(anyRed(final.copy(QRect(listCell(61), QPoint(479, 359)))));

    QTest::mouseClick(button(s, "Btn_Kaki"), Qt::LeftButton);
    runToEnd(s);
    final = picture(s)->picture();
    for (int c = 1; c <= 40; ++c)
        ASSERT_EQ(cellOf(final, c), expectedCell(c, colour::Red)) << c;
    EXPECT_EQ(cellOf(final, 41), expectedCell(100, colour::Red)); // cleared on its own
    EXPECT_EQ(cellOf(final, 42), expectedCell(240, colour::Yellow));
    EXPECT_EQ(cellOf(final, 240), expectedCell(41, colour::Yellow));
}

TEST(KanjiList, TwoPressesStartDifferentlyAndEndAlike)
{
    ListShell t(2, 1);
    TF_K_ichiran *s = t.open();
    QTest::mouseClick(button(s, "Btn_Kaki"), Qt::LeftButton);
    step(s);
    const QImage firstScatter = picture(s)->picture();
    const records::ListItems first = s->items();
    runToEnd(s);
    const QImage firstEnd = picture(s)->picture();

    t.clock.advanceSeconds(10);
    QTest::mouseClick(button(s, "Btn_Kaki"), Qt::LeftButton);
    step(s);
    EXPECT_NE(picture(s)->picture(), firstScatter);
    int moved = 0;
    for (int c = 1; c <= 240; ++c)
        moved += s->items()[c].kanji != first[c].kanji ? 1 : 0;
    EXPECT_GT(moved, 200);
    runToEnd(s);
    EXPECT_EQ(picture(s)->picture(), firstEnd);
}

TEST(KanjiList, BackWhileTheKanjiMoveStopsTimerAndMusicAtOnce)
{
    ListShell t(1, 1);
    TF_K_ichiran *s = t.open();
    QTest::mouseClick(button(s, "Btn_Yomi"), Qt::LeftButton);
    for (int n = 0; n < 20; ++n)
        step(s);
    FakeMediaPlayer *music = t.sound.playerFor(QStringLiteral("ichiran.mid"));
    ASSERT_NE(music, nullptr);
    // The piece ends before the kanji do: it starts again.
    music->finish();
    EXPECT_TRUE(music->playing);
    EXPECT_EQ(music->playedFrom, 0);

    t.sound.log.clear();
    QTest::mouseClick(fm::test::headerButton(s, 4), Qt::LeftButton);
    EXPECT_FALSE(timer(s)->isActive());
    EXPECT_EQ(t.sound.log, QStringList({"music1 stop", "music1 close"}));
    EXPECT_EQ(t.sound.playerFor(QStringLiteral("ichiran.mid")), nullptr);
    t.processDeletes();
    EXPECT_EQ(t.nav.find<TF_K_ichiran>(), nullptr);
    EXPECT_EQ(t.nav.current(), t.menu);
    EXPECT_TRUE(t.dialogs.calls.empty());
}

TEST(KanjiList, WithoutMusicTheKanjiMoveAllTheSame)
{
    ListShell t(1, 1);
    t.shell.MidiDeviceCount = 0;
    TF_K_ichiran *s = t.open();
    QTest::mouseClick(button(s, "Btn_Yomi"), Qt::LeftButton);
    EXPECT_EQ(runToEnd(s), 47);
    EXPECT_TRUE(t.sound.log.isEmpty());
    EXPECT_EQ(cellOf(picture(s)->picture(), 240), expectedCell(1, colour::Yellow));

    // A device that fails to open says so once; the kanji still move.
    t.shell.MidiDeviceCount = 1;
    t.sound.failures.insert(QStringLiteral("music:open"));
    t.clock.advanceSeconds(10);
    QTest::mouseClick(button(s, "Btn_Yomi"), Qt::LeftButton);
    EXPECT_EQ(t.dialogs.texts(), QStringList({"ichiran.mid でエラーがおこりました。 "}));
    EXPECT_EQ(runToEnd(s), 47);
    EXPECT_EQ(cellOf(picture(s)->picture(), 240), expectedCell(1, colour::Yellow));
    EXPECT_EQ(t.dialogs.calls.size(), 1u);
}
