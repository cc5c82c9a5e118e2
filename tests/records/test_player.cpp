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

    QLabel *nameTitle = s->Lbl_ColumnTitle[1][1];
    ASSERT_NE(nameTitle, nullptr);
    EXPECT_EQ(nameTitle->text(), QStringLiteral("    なまえ  "));
    EXPECT_EQ(nameTitle->pos(), QPoint(20, 90));
    EXPECT_EQ(s->Lbl_ColumnTitle[2][1]->x(), nameTitle->geometry().right() + 1 + 20);
    EXPECT_EQ(s->Lbl_ColumnTitle[3][1]->x(), s->Lbl_ColumnTitle[2][1]->geometry().right() + 1 + 20);
    for (int t3 = 1; t3 <= 3; ++t3)
        EXPECT_EQ(s->Lbl_ColumnTitle[t3][2], nullptr);

    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(s->Lbl_PlayerName[n]->pos(), QPoint(40, 80 + n * 52)) << n;
        EXPECT_EQ(s->Lbl_PlayerLevel[n]->pos(), QPoint(s->Lbl_ColumnTitle[2][1]->x() + 20, 80 + n * 52));
        EXPECT_EQ(s->Lbl_PlayerKind[n]->pos(), QPoint(s->Lbl_ColumnTitle[3][1]->x() + 20, 80 + n * 52));
        EXPECT_EQ(s->Lbl_PlayerName[n]->cursor().shape(), t.shell.HandPointer.shape());
    }
    EXPECT_EQ(s->Lbl_PlayerName[6], nullptr);
    EXPECT_EQ(s->Lbl_PlayerLevel[2]->text(), QStringLiteral("2"));
    EXPECT_EQ(s->Lbl_PlayerKind[2]->text(), QStringLiteral("かく "));
    EXPECT_EQ(s->Lbl_PlayerKind[3]->text(), QStringLiteral("よむ "));
}

TEST(Player, TheSixthPlayerStartsTheRightColumnWithItsOwnTitles)
{
    Shell t;
    addPlayers(t.state, 6);
    auto *s = t.nav.open<TF_Player>();
    for (int t3 = 1; t3 <= 3; ++t3) {
        ASSERT_NE(s->Lbl_ColumnTitle[t3][2], nullptr);
        EXPECT_EQ(s->Lbl_ColumnTitle[t3][2]->x(), s->Lbl_ColumnTitle[t3][1]->x() + 310);
        EXPECT_EQ(s->Lbl_ColumnTitle[t3][2]->y(), 90);
    }
    EXPECT_EQ(s->Lbl_PlayerName[6]->pos(), QPoint(350, 132));
    EXPECT_EQ(s->Lbl_PlayerName[6]->text(), QStringLiteral("かな"));
}

TEST(Player, APlayerWithEveryLevelPassedIsAKanjiDoctor)
{
    Shell t;
    addPlayer(t.state, QStringLiteral("はかせ"), 13, 1);
    addPlayer(t.state, QStringLiteral("ふつう"), 12, 2);
    auto *s = t.nav.open<TF_Player>();
    EXPECT_EQ(s->Lbl_PlayerLevel[1]->text(), QStringLiteral("かんじはかせ"));
    EXPECT_EQ(textColour(s->Lbl_PlayerLevel[1]), colour::Red);
    EXPECT_FALSE(s->Lbl_PlayerKind[1]->isVisible());
    EXPECT_EQ(s->Lbl_PlayerLevel[2]->text(), QStringLiteral("12"));
    EXPECT_EQ(textColour(s->Lbl_PlayerLevel[2]), colour::White);
    EXPECT_TRUE(s->Lbl_PlayerKind[2]->isVisible());
}

TEST(Player, TheNameUnderThePointerTurnsRedAndTheBackgroundClearsIt)
{
    Shell t;
    addPlayers(t.state, 7);
    auto *s = t.nav.open<TF_Player>();
    QTest::mouseMove(s->Lbl_PlayerName[7], QPoint(5, 5));
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(textColour(s->Lbl_PlayerName[n]), n == 7 ? colour::Red : colour::White) << n;
    QTest::mouseMove(s->Lbl_PlayerName[2], QPoint(5, 5));
    EXPECT_EQ(textColour(s->Lbl_PlayerName[2]), colour::Red);
    EXPECT_EQ(textColour(s->Lbl_PlayerName[7]), colour::White);
    QTest::mouseMove(s, QPoint(600, 460));
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(textColour(s->Lbl_PlayerName[n]), colour::White) << n;
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
    QTest::mouseClick(s->Lbl_PlayerName[2], Qt::LeftButton);
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
    ASSERT_NE(s->Lbl_PlayerName[2], nullptr);
    EXPECT_EQ(s->Lbl_PlayerName[2]->text(), QStringLiteral("？"));
    EXPECT_GT(s->Lbl_PlayerName[2]->width(), 10);
    QTest::mouseClick(s->Lbl_PlayerName[2], Qt::LeftButton);
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
