#include "data/studylog.h"
#include "recordfixture.h"
#include "records/mode.h"
#include "records/player.h"
#include <gtest/gtest.h>

using namespace fm;
using namespace records_test;

namespace
{

void addPlayers(AppState &s, int n)
{
    static const char *const names[] = {"あい", "いく", "うめ", "えり", "おと",
                                        "かな", "きみ", "くう", "けん", "こう"};
    for (int i = 0; i < n; ++i)
        addPlayer(s, QString::fromUtf8(names[i]), 1 + i % 12, 1 + i % 2);
}

// The list's labels by their object names; null where the list has none.
QLabel *columnTitle(const TF_Player *s, int title, int column)
{
    return s->findChild<QLabel *>(QStringLiteral("Lbl_ColumnTitle%1_%2").arg(title).arg(column));
}
QLabel *level(const TF_Player *s, int n)
{
    return s->findChild<QLabel *>(QStringLiteral("Lbl_PlayerLevel%1").arg(n));
}
QLabel *kind(const TF_Player *s, int n)
{
    return s->findChild<QLabel *>(QStringLiteral("Lbl_PlayerKind%1").arg(n));
}

} // namespace

TEST(Player, FivePlayersFillOneColumnUnderItsTitles)
{
    Shell t;
    addPlayers(t.state, 5);
    auto *s = t.nav.open<TF_Player>();
    EXPECT_EQ(fm::test::child<QLabel>(s, "Lbl_Title")->text(),
              QStringLiteral("べんきょうするのはだれかな？"));
    EXPECT_EQ(fm::test::child<QLabel>(s, "Lbl_Title")->pos(), QPoint(24, 0));
    EXPECT_EQ(fm::test::headerButton(s, 4)->toolTip(), QStringLiteral("メニューにもどる"));

    QLabel *nameTitle = columnTitle(s, 1, 1);
    ASSERT_NE(nameTitle, nullptr);
    EXPECT_EQ(nameTitle->text(), QStringLiteral("    なまえ  "));
    EXPECT_EQ(nameTitle->pos(), QPoint(20, 90));
    EXPECT_EQ(columnTitle(s, 2, 1)->x(), nameTitle->geometry().right() + 1 + 20);
    EXPECT_EQ(columnTitle(s, 3, 1)->x(), columnTitle(s, 2, 1)->geometry().right() + 1 + 20);
    for (int t3 = 1; t3 <= 3; ++t3)
        EXPECT_EQ(columnTitle(s, t3, 2), nullptr);

    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(playerName(s, n)->pos(), QPoint(40, 80 + n * 52)) << n;
        EXPECT_EQ(level(s, n)->pos(), QPoint(columnTitle(s, 2, 1)->x() + 20, 80 + n * 52));
        EXPECT_EQ(kind(s, n)->pos(), QPoint(columnTitle(s, 3, 1)->x() + 20, 80 + n * 52));
        EXPECT_EQ(playerName(s, n)->cursor().shape(), t.shell.HandPointer.shape());
    }
    EXPECT_EQ(playerName(s, 6), nullptr);
    EXPECT_EQ(level(s, 2)->text(), QStringLiteral("2"));
    EXPECT_EQ(kind(s, 2)->text(), QStringLiteral("かく "));
    EXPECT_EQ(kind(s, 3)->text(), QStringLiteral("よむ "));
}

TEST(Player, TheSixthPlayerStartsTheRightColumnWithItsOwnTitles)
{
    Shell t;
    addPlayers(t.state, 6);
    auto *s = t.nav.open<TF_Player>();
    for (int t3 = 1; t3 <= 3; ++t3) {
        ASSERT_NE(columnTitle(s, t3, 2), nullptr);
        EXPECT_EQ(columnTitle(s, t3, 2)->x(), columnTitle(s, t3, 1)->x() + 310);
        EXPECT_EQ(columnTitle(s, t3, 2)->y(), 90);
    }
    EXPECT_EQ(playerName(s, 6)->pos(), QPoint(350, 132));
    EXPECT_EQ(playerName(s, 6)->text(), QStringLiteral("かな"));
}

TEST(Player, APlayerWithEveryLevelPassedIsAKanjiDoctor)
{
    Shell t;
    addPlayer(t.state, QStringLiteral("はかせ"), 13, 1);
    addPlayer(t.state, QStringLiteral("ふつう"), 12, 2);
    auto *s = t.nav.open<TF_Player>();
    EXPECT_EQ(level(s, 1)->text(), QStringLiteral("かんじはかせ"));
    EXPECT_EQ(textColour(level(s, 1)), colour::Red);
    EXPECT_FALSE(kind(s, 1)->isVisible());
    EXPECT_EQ(level(s, 2)->text(), QStringLiteral("12"));
    EXPECT_EQ(textColour(level(s, 2)), colour::White);
    EXPECT_TRUE(kind(s, 2)->isVisible());
}

TEST(Player, TheNameUnderThePointerTurnsRedAndTheBackgroundClearsIt)
{
    Shell t;
    addPlayers(t.state, 7);
    auto *s = t.nav.open<TF_Player>();
    QTest::mouseMove(playerName(s, 7), QPoint(5, 5));
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(textColour(playerName(s, n)), n == 7 ? colour::Red : colour::White) << n;
    QTest::mouseMove(playerName(s, 2), QPoint(5, 5));
    EXPECT_EQ(textColour(playerName(s, 2)), colour::Red);
    EXPECT_EQ(textColour(playerName(s, 7)), colour::White);
    QTest::mouseMove(s, QPoint(600, 460));
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(textColour(playerName(s, n)), colour::White) << n;
}

TEST(Player, ChoosingANameSelectsThePlayerAndOpensItsModeScreen)
{
    Shell t;
    writeStars(t);
    addPlayers(t.state, 3);
    // Player 2 has 14 right answers of two passed tests at its level 2 writing.
    t.state.Players.PlayerTable[2] = PlayerEntry{};
    t.state.Players.PlayerTable[2].Name = cp932::fromUnicode(QStringLiteral("いく"));
    t.state.Players.PlayerTable[2].Level = 2;
    t.state.Players.PlayerTable[2].Kind = StudyKind::Writing;
    StudyRecord r;
    r.Level = 2;
    r.Kind = StudyKind::Writing;
    for (int q = 1; q <= 10; ++q) {
        r.Kanji[q] = int16_t(20 + q);
        r.Correct[q] = q <= 7 ? 1 : 0;
    }
    r.Counted = 1;
    appendLogRecord(t.state.ProgramDir, 2, r);
    appendLogRecord(t.state.ProgramDir, 2, r);
    t.state.ReviewMode = true;

    auto *s = t.nav.open<TF_Player>();
    QPointer<TF_Player> list = s;
    QTest::mouseClick(playerName(s, 2), Qt::LeftButton);
    EXPECT_EQ(t.state.CurrentPlayer, 2);
    EXPECT_EQ(t.state.LevelCorrectCount, 14);
    EXPECT_FALSE(t.state.ReviewMode);
    auto *mode = dynamic_cast<TF_Mode *>(t.nav.current());
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(fm::test::child<QLabel>(mode, "Lbl_Name")->text(),
              QStringLiteral("いくのかんじ名人チャレンジ"));
    t.processDeletes();
    EXPECT_TRUE(list.isNull());
    EXPECT_TRUE(t.dialogs.calls.empty());
}

TEST(Player, ANameOfNoBytesIsShownAsAQuestionMarkAndCanBeChosen)
{
    Shell t;
    writeStars(t);
    addPlayers(t.state, 2);
    t.state.Players.PlayerTable[2].Name.clear(); // as a damaged roster can hold it
    auto *s = t.nav.open<TF_Player>();
    ASSERT_NE(playerName(s, 2), nullptr);
    EXPECT_EQ(playerName(s, 2)->text(), QStringLiteral("？"));
    EXPECT_GT(playerName(s, 2)->width(), 10);
    QTest::mouseClick(playerName(s, 2), Qt::LeftButton);
    EXPECT_EQ(t.state.CurrentPlayer, 2);
    auto *mode = dynamic_cast<TF_Mode *>(t.nav.current());
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(fm::test::child<QLabel>(mode, "Lbl_Name")->text(), QStringLiteral("？のかんじ名人チャレンジ"));
    EXPECT_TRUE(t.state.Players.PlayerTable[2].Name.isEmpty()) << "the roster itself is left as it is";
}

TEST(Player, BackReturnsToTheMenu)
{
    Shell t;
    addPlayers(t.state, 1);
    auto *s = t.nav.open<TF_Player>();
    QTest::mouseClick(fm::test::headerButton(s, 4), Qt::LeftButton);
    EXPECT_EQ(t.nav.current(), t.menu);
    EXPECT_EQ(t.state.CurrentPlayer, 0);
}
