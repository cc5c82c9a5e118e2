#include "recordfixture.h"
#include "records/mode.h"
#include "records/player.h"
#include <gtest/gtest.h>

using namespace fm;
using namespace records_test;

namespace
{

// What a drawn cell shows, read from its pixels: "F" filled, "E" empty,
// or the number of star pixels kept from the left of a cut star.
std::string readCell(const QImage &img, int j)
{
    const QRect c = records::starCellRect(j);
    const int y = c.top() + 16;
    if (img.pixel(c.left() + 16, y) == qRgb(255, 255, 255) && img.pixel(c.left() + 4, y) == qRgb(0, 0, 0))
        return "E";
    int lastGreen = -1;
    for (int x = 0; x < 32; ++x) {
        const QRgb p = img.pixel(c.left() + x, y);
        if (p == StarGreen)
            lastGreen = x;
        else if (p != fm::colour::Navy.rgb())
            return "?";
    }
    // The green square covers pixels 3..28 of a cell.
    if (lastGreen == 28 && img.pixel(c.left() + 1, y) == fm::colour::Navy.rgb())
        return "F";
    return std::to_string(lastGreen + 1);
}

std::string readRow(const QLabel *image)
{
    const QImage img = image->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(img.size(), QSize(192, 64));
    std::string s;
    for (int j = 1; j <= 12; ++j)
        s += (j > 1 ? " " : "") + readCell(img, j);
    return s;
}

struct ModeShell : Shell {
    ModeShell(int level, int kind, int correct, int game1 = 0, int game2 = 0)
    {
        writeStars(*this);
        PlayerEntry &e = addPlayer(state, QStringLiteral("みなと"), level, kind);
        e.Game1Level = int16_t(game1);
        e.Game2Level = int16_t(game2);
        state.CurrentPlayer = 1;
        state.LevelCorrectCount = int16_t(correct);
        mode = static_cast<TF_Mode *>(nav.open(ScreenId::Mode));
    }
    TF_Mode *mode;
};

// A game screen that counts its close handling.
class CountedGame : public ScreenFrame
{
  public:
    CountedGame(Services &sv, int *closes) : ScreenFrame(sv, ScreenId::Game1), closes(closes) {}
    void FormClose() override { ++*closes; }
    int *closes;
};

} // namespace

TEST(Mode, StarsShowLevelThreeReadingHalfWay)
{
    ModeShell t(3, 1, 20, 4, 0);
    EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Yomi_Level")), "F F 16 E E E E E E E E E");
    EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Kaki_Level")), "F F E E E E E E E E E E");
    EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Game1_Level")), "F F F F E E E E E E E E");
    EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Game2_Level")), "E E E E E E E E E E E E");
    // The screen really shows those pictures where they belong.
    const QImage shown = t.mode->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint star3 = fm::test::child<QLabel>(t.mode, "Img_Yomi_Level")->mapTo(t.mode, QPoint(64 + 8, 16));
    EXPECT_EQ(shown.pixel(star3), StarGreen);
    EXPECT_EQ(shown.pixel(star3 + QPoint(10, 0)), fm::colour::Navy.rgb());
}

TEST(Mode, StarsForWritingAndForAFullCount)
{
    {
        ModeShell t(3, 2, 0);
        EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Yomi_Level")), "F F F E E E E E E E E E");
        EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Kaki_Level")), "F F E E E E E E E E E E");
    }
    {
        ModeShell t(7, 2, 43, 12, 1);
        EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Yomi_Level")), "F F F F F F F E E E E E");
        EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Kaki_Level")), "F F F F F F F E E E E E");
        EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Game1_Level")), "F F F F F F F F F F F F");
        EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Game2_Level")), "F E E E E E E E E E E E");
    }
    {
        ModeShell t(13, 1, 0);
        EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Yomi_Level")), "F F F F F F F F F F F F");
        EXPECT_EQ(readRow(fm::test::child<QLabel>(t.mode, "Img_Kaki_Level")), "F F F F F F F F F F F F");
    }
}

TEST(Mode, CreationCopiesThePlayerIntoTheCurrentState)
{
    Shell t;
    writeStars(t);
    addPlayer(t.state, QStringLiteral("あ"));
    PlayerEntry &e = addPlayer(t.state, QStringLiteral("あいうえお"), 5, 2);
    e.Game1Level = 3;
    e.Game2Level = 7;
    t.state.CurrentPlayer = 2;
    auto *m = static_cast<TF_Mode *>(t.nav.open(ScreenId::Mode));
    EXPECT_EQ(t.state.CurrentLevel, 5);
    EXPECT_EQ(t.state.CurrentKind, fm::StudyKind::Writing);
    EXPECT_EQ(t.state.Game1Level, 3);
    EXPECT_EQ(t.state.Game2Level, 7);
    EXPECT_EQ(t.state.HintContext, (HintCtx{4, HintSituation::Screen, StudyKind::Reading}));
    EXPECT_EQ(fm::test::child<QLabel>(m, "Lbl_Name")->text(),
              QStringLiteral("あいうえおのかんじ名人チャレンジ"));
    EXPECT_LE(cp932::fromUnicode(fm::test::child<QLabel>(m, "Lbl_Name")->text()).size(), 32);
    EXPECT_EQ(fm::test::child<QLabel>(m, "Lbl_Name")->pos(), QPoint(16, 0));
    EXPECT_EQ(fm::test::child<QGroupBox>(m, "Grp_gakushu")->geometry(), QRect(8, 96, 289, 345));
    EXPECT_EQ(fm::test::child<QGroupBox>(m, "Grp_Game")->geometry(), QRect(320, 96, 297, 345));
    EXPECT_EQ(fm::test::child<QLabel>(m, "Img_Kaki_Level")->geometry(), QRect(48, 144, 192, 64));
    EXPECT_EQ(fm::test::child<QLabel>(m, "Img_Game2_Level")->geometry(), QRect(32, 144, 192, 64));
    const int tops[] = {0, 218, 250, 282, 314};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(fm::test::child<QLabel>(m, "Lbl_Command", i)->pos(), QPoint(24, tops[i]));
        EXPECT_EQ(fm::test::child<QLabel>(m, "Lbl_Command", i)->toolTip(),
                  fm::test::child<QLabel>(m, "Lbl_Command", i)->text());
        EXPECT_EQ(fm::test::child<QLabel>(m, "Lbl_Command", i)->cursor().shape(),
                  t.shell.HandPointer.shape());
    }
    EXPECT_EQ(fm::test::child<QLabel>(m, "Lbl_Game1")->pos(), QPoint(16, 224));
    EXPECT_EQ(fm::test::child<QLabel>(m, "Lbl_Game2")->pos(), QPoint(16, 264));
}

TEST(Mode, HighlightFollowsThePointer)
{
    ModeShell t(2, 1, 0);
    TF_Mode *m = t.mode;
    const auto colours = [m] {
        QString s;
        for (int i = 1; i <= 4; ++i)
            s += textColour(fm::test::child<QLabel>(m, "Lbl_Command", i)) == colour::Red ? 'R' : 'w';
        s += ' ';
        s += textColour(fm::test::child<QLabel>(m, "Lbl_Game1")) == colour::Red ? 'R' : 'w';
        s += textColour(fm::test::child<QLabel>(m, "Lbl_Game2")) == colour::Red ? 'R' : 'w';
        return s;
    };
    QTest::mouseMove(fm::test::child<QLabel>(m, "Lbl_Command", 3), QPoint(4, 4));
    EXPECT_EQ(colours(), QStringLiteral("wwRw ww"));
    QTest::mouseMove(fm::test::child<QLabel>(m, "Lbl_Game2"), QPoint(4, 4));
    EXPECT_EQ(colours(), QStringLiteral("wwww wR"));
    QTest::mouseMove(fm::test::child<QLabel>(m, "Lbl_Command", 1), QPoint(4, 4));
    EXPECT_EQ(colours(), QStringLiteral("Rwww ww"));
    QTest::mouseMove(fm::test::child<QLabel>(m, "Lbl_Game1"), QPoint(4, 4));
    EXPECT_EQ(colours(), QStringLiteral("wwww Rw"));
    QTest::mouseMove(fm::test::child<QGroupBox>(m, "Grp_gakushu"),
                     QPoint(270, 330)); // a group's empty corner
    EXPECT_EQ(colours(), QStringLiteral("wwww ww"));
    QTest::mouseMove(fm::test::child<QLabel>(m, "Lbl_Command", 4), QPoint(4, 4));
    QTest::mouseMove(m, QPoint(620, 470)); // the background
    EXPECT_EQ(colours(), QStringLiteral("wwww ww"));
}

TEST(Mode, ChallengeAndPracticeOpenTheirScreensWithTheRightMode)
{
    ModeShell t(6, 2, 10);
    TF_Mode *m = t.mode;
    t.state.CurrentLevel = 1; // as a practice run might have left it
    t.state.CurrentKind = fm::StudyKind::Reading;
    t.state.ChallengeMode = false;
    QTest::mouseClick(fm::test::child<QLabel>(m, "Lbl_Command", 3), Qt::LeftButton);
    EXPECT_TRUE(t.state.ChallengeMode);
    EXPECT_EQ(t.state.CurrentLevel, 6);
    EXPECT_EQ(t.state.CurrentKind, fm::StudyKind::Writing);
    ASSERT_NE(t.nav.current(), m);
    EXPECT_EQ(t.nav.current()->id(), ScreenId::Shutsudai);
    EXPECT_FALSE(m->isVisible());

    QTest::mouseClick(fm::test::headerButton(t.nav.current(), int(header::Button::Back)), Qt::LeftButton);
    EXPECT_EQ(t.nav.current(), m);
    QTest::mouseClick(fm::test::child<QLabel>(m, "Lbl_Command", 4), Qt::LeftButton);
    EXPECT_FALSE(t.state.ChallengeMode);
    EXPECT_EQ(t.nav.current()->id(), ScreenId::Renshuu);

    const std::pair<QLabel *, ScreenId> others[] = {
        {fm::test::child<QLabel>(m, "Lbl_Command", 1), ScreenId::KIchiran},
        {fm::test::child<QLabel>(m, "Lbl_Command", 2), ScreenId::KSeiseki1},
        {fm::test::child<QLabel>(m, "Lbl_Game1"), ScreenId::Game1},
        {fm::test::child<QLabel>(m, "Lbl_Game2"), ScreenId::Game2}};
    for (auto [label, id] : others) {
        QTest::mouseClick(fm::test::headerButton(t.nav.current(), int(header::Button::Back)), Qt::LeftButton);
        ASSERT_EQ(t.nav.current(), m);
        // A practice test of another level and kind left its values behind.
        t.state.CurrentLevel = 9;
        t.state.CurrentKind = fm::StudyKind::Reading;
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(t.nav.current()->id(), id);
        EXPECT_EQ(t.nav.current()->cameFrom(), m);
        if (id == ScreenId::KIchiran || id == ScreenId::KSeiseki1) {
            // The lists show the player's own progress.
            EXPECT_EQ(t.state.CurrentLevel, 6);
            EXPECT_EQ(t.state.CurrentKind, fm::StudyKind::Writing);
        }
    }
}

TEST(Mode, AtLevelThirteenTheChallengeIsInertButPracticeWorks)
{
    ModeShell t(13, 1, 0);
    TF_Mode *m = t.mode;
    EXPECT_NE(fm::test::child<QLabel>(m, "Lbl_Command", 3)->cursor().shape(), t.shell.HandPointer.shape());
    QTest::mouseMove(fm::test::child<QLabel>(m, "Lbl_Command", 3), QPoint(4, 4));
    EXPECT_EQ(textColour(fm::test::child<QLabel>(m, "Lbl_Command", 3)), colour::White);
    t.state.ChallengeMode = false;
    QTest::mouseClick(fm::test::child<QLabel>(m, "Lbl_Command", 3), Qt::LeftButton);
    EXPECT_EQ(t.nav.current(), m);
    EXPECT_FALSE(t.state.ChallengeMode);

    QTest::mouseMove(fm::test::child<QLabel>(m, "Lbl_Command", 4), QPoint(4, 4));
    EXPECT_EQ(textColour(fm::test::child<QLabel>(m, "Lbl_Command", 4)), colour::Red);
    QTest::mouseClick(fm::test::child<QLabel>(m, "Lbl_Command", 4), Qt::LeftButton);
    EXPECT_EQ(t.nav.current()->id(), ScreenId::Renshuu);
}

TEST(Mode, ShownAgainItKeepsItsStarsAndClosesALeftOverGame)
{
    ModeShell t(1, 1, 0, 2, 0);
    TF_Mode *m = t.mode;
    int closes = 0;
    t.screens.add(ScreenId::Game1, [&closes](Services &sv) { return new CountedGame(sv, &closes); });
    QTest::mouseClick(fm::test::child<QLabel>(m, "Lbl_Game1"), Qt::LeftButton);
    Screen *game = t.nav.current();
    QPointer<Screen> gameAlive = game;
    ASSERT_EQ(game->id(), ScreenId::Game1);

    // The game raises its level and leaves without its close handling.
    t.state.Game1Level = 3;
    t.state.currentEntry().Game1Level = 3;
    t.nav.show(m);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(t.nav.find(ScreenId::Game1), nullptr);
    t.processDeletes();
    EXPECT_TRUE(gameAlive.isNull());
    EXPECT_EQ(t.nav.current(), m);
    EXPECT_EQ(readRow(fm::test::child<QLabel>(m, "Img_Game1_Level")), "F F E E E E E E E E E E");

    // Shown again with nothing left over, nothing else is closed.
    QTest::mouseClick(fm::test::child<QLabel>(m, "Lbl_Command", 1), Qt::LeftButton);
    t.nav.back();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(t.nav.current(), m);
}

TEST(Mode, BackBuildsANewPlayerListEvenForAFreshModeScreen)
{
    ModeShell t(1, 1, 0);
    QPointer<TF_Mode> first = t.mode;
    // As the grading screen does after a test: a fresh mode screen by id.
    auto *fresh = static_cast<TF_Mode *>(t.nav.replace(ScreenId::Mode));
    t.processDeletes();
    EXPECT_TRUE(first.isNull());
    QTest::mouseClick(fm::test::headerButton(fresh, 4), Qt::LeftButton);
    auto *list = dynamic_cast<TF_Player *>(t.nav.current());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(playerName(list, 1)->text(), QStringLiteral("みなと"));
    t.processDeletes();
    EXPECT_EQ(t.nav.find<TF_Mode>(), nullptr);
    QTest::mouseClick(fm::test::headerButton(list, 4), Qt::LeftButton);
    EXPECT_EQ(t.nav.current(), t.menu);
}
