// The score boards: where a new score lands, what the child reads, what the
// file holds afterwards, and a board file that cannot be used.
#include "data/cp932.h"
#include "data/datetime.h"
#include "data/gamescore.h"
#include "games/gkiroku.h"
#include "shell/catalogue.h"
#include "shell/look.h"
#include "support/find.h"
#include "support/testshell.h"
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::TestShell;

namespace
{

const QString Yatta = QStringLiteral("やった！  %1 いにはいったよ。またがんばろう！");
const QString Zannen = QStringLiteral("ざんねん！ １０いまでにはいれなかった。またがんばろう！");

double day(int y, int m, int d)
{
    return toDayNumber(QDateTime(QDate(y, m, d), QTime(0, 0)));
}

GameScoreRecord rec(int score, const char *name, double date)
{
    return GameScoreRecord{int16_t(score), cp932::fromUnicode(QString::fromUtf8(name)), date};
}

// A shell whose current player is "はるか".
struct BoardShell : TestShell {
    BoardShell()
    {
        state.Players.PlayerCount = 1;
        state.CurrentPlayer = 1;
        state.Players.PlayerTable[1].Name = cp932::fromUnicode(QStringLiteral("はるか"));
        clock.set(QDateTime(QDate(2024, 5, 6), QTime(15, 30)));
    }
    QVector<GameScoreRecord> stored(GameId game = GameId::Matching) const
    {
        return readBoard(state.ProgramDir, game);
    }
    void store(const QVector<GameScoreRecord> &records, GameId game = GameId::Matching)
    {
        writeBoard(state.ProgramDir, game, records);
    }
};

// What the list shows, one "mark|score|name|date" per row.
QStringList rows(const TF_Game_Kiroku &w)
{
    const QTreeWidget *list = fm::test::child<QTreeWidget>(&w, "Lst_Kiroku");
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *it = list->topLevelItem(i);
        out << QStringList{it->text(0), it->text(1), it->text(2), it->text(3)}.join('|');
    }
    return out;
}

// The verdict on the new score above the list.
QLabel *verdict(const TF_Game_Kiroku &w)
{
    return fm::test::child<QLabel>(&w, "Lbl_Goukaku_Msg1");
}

QColor colourOf(const QLabel *l)
{
    return l->palette().color(QPalette::WindowText);
}

QVector<GameScoreRecord> tenFrom(int top)
{
    QVector<GameScoreRecord> out;
    for (int i = 0; i < 10; ++i)
        out << rec(top - i, "たろう", day(2023, 1, 1 + i));
    return out;
}

} // namespace

TEST(ScoreBoard, NoFileMakesABoardOfOneMarkedRowInRed)
{
    BoardShell t;
    TF_Game_Kiroku w(t.services, GameId::Matching, 7, nullptr);
    EXPECT_FALSE(w.failed());
    EXPECT_EQ(w.game(), GameId::Matching);
    EXPECT_EQ(rows(w), QStringList{QStringLiteral("＊|7|はるか|24/05/06")});
    EXPECT_EQ(verdict(w)->text().remove(QLatin1Char('\n')), Yatta.arg(1));
    EXPECT_EQ(colourOf(verdict(w)), colour::Red);
    // Written at once, with today's day and no time of day.
    const auto file = t.stored();
    ASSERT_EQ(file.size(), 1);
    EXPECT_EQ(file[0].Score, 7);
    EXPECT_EQ(file[0].Name, cp932::fromUnicode(QStringLiteral("はるか")));
    EXPECT_EQ(file[0].Date, day(2024, 5, 6));
}

TEST(ScoreBoard, NewScoreGoesAboveEqualScoresAndZeroGoesLast)
{
    BoardShell t;
    t.store({rec(12, "あい", day(2024, 1, 2)), rec(9, "いちろう", day(2024, 2, 3)),
             rec(5, "うた", day(2024, 3, 4))});
    {
        TF_Game_Kiroku w(t.services, GameId::Matching, 9, nullptr);
        EXPECT_EQ(
            rows(w),
            (QStringList{QStringLiteral("  |12|あい|24/01/02"), QStringLiteral("＊|9|はるか|24/05/06"),
                         QStringLiteral("  |9|いちろう|24/02/03"), QStringLiteral("  |5|うた|24/03/04")}));
        EXPECT_EQ(verdict(w)->text().remove(QLatin1Char('\n')), Yatta.arg(2));
    }
    // The board is read back as written: the next game's 0 lands below everything.
    TF_Game_Kiroku w(t.services, GameId::Matching, 0, nullptr);
    ASSERT_EQ(w.board().rows.size(), 5);
    EXPECT_EQ(w.board().rank, 5);
    EXPECT_EQ(rows(w).last(), QStringLiteral("＊|0|はるか|24/05/06"));
    EXPECT_EQ(t.stored().size(), 5);
    EXPECT_EQ(t.stored()[1].Score, 9);
    EXPECT_EQ(t.stored()[1].Name, cp932::fromUnicode(QStringLiteral("はるか")));
}

TEST(ScoreBoard, AFullBoardKeepsItsTenOrPushesTheLowestOff)
{
    BoardShell t;
    auto eleven = tenFrom(18); // 18 .. 9, then an eleventh record another program left
    eleven << rec(1, "じゅういち", day(2023, 2, 1));
    t.store(eleven);
    {
        // All ten above 8: no row for it, the black message, the eleventh dropped.
        TF_Game_Kiroku w(t.services, GameId::Matching, 8, nullptr);
        EXPECT_EQ(w.board().rank, 0);
        EXPECT_EQ(rows(w).size(), 10);
        EXPECT_FALSE(rows(w).join(',').contains(QStringLiteral("＊")));
        EXPECT_EQ(verdict(w)->text().remove(QLatin1Char('\n')), Zannen);
        EXPECT_EQ(colourOf(verdict(w)), colour::Black);
        EXPECT_EQ(encodeBoard(t.stored()), encodeBoard(tenFrom(18))); // rewritten unchanged
    }
    // 10 goes above the stored 10 and pushes 9 off.
    TF_Game_Kiroku w(t.services, GameId::Matching, 10, nullptr);
    EXPECT_EQ(w.board().rank, 9);
    const QStringList shown = rows(w);
    ASSERT_EQ(shown.size(), 10);
    EXPECT_EQ(shown[8], QStringLiteral("＊|10|はるか|24/05/06"));
    EXPECT_EQ(shown[9], QStringLiteral("  |10|たろう|23/01/09"));
    const auto file = t.stored();
    ASSERT_EQ(file.size(), 10);
    EXPECT_EQ(file[9].Score, 10);
}

TEST(ScoreBoard, StoredDaysAreWrittenBackWithTheirCentury)
{
    BoardShell t;
    // A record from 1998 with a time of day, and one from the far future.
    t.store({rec(15, "むかし", day(1998, 7, 1) + 0.625), rec(3, "みらい", day(2105, 9, 9))});
    TF_Game_Kiroku w(t.services, GameId::Matching, 4, nullptr);
    EXPECT_EQ(rows(w)[0], QStringLiteral("  |15|むかし|98/07/01"));
    EXPECT_EQ(rows(w)[2], QStringLiteral("  |3|みらい|05/09/09"));
    const auto file = t.stored();
    ASSERT_EQ(file.size(), 3);
    EXPECT_EQ(file[0].Date, day(1998, 7, 1));
    EXPECT_EQ(file[2].Date, day(2105, 9, 9));
}

TEST(ScoreBoard, TheTwoGamesNeverShareABoard)
{
    BoardShell t;
    t.store({rec(11, "いち", day(2024, 1, 1))}, GameId::Matching);
    TF_Game_Kiroku w(t.services, GameId::WhackAMole, 30, nullptr);
    EXPECT_EQ(w.game(), GameId::WhackAMole);
    EXPECT_EQ(rows(w), QStringList{QStringLiteral("＊|30|はるか|24/05/06")});
    EXPECT_EQ(t.stored(GameId::WhackAMole).size(), 1);
    ASSERT_EQ(t.stored(GameId::Matching).size(), 1);
    EXPECT_EQ(t.stored(GameId::Matching)[0].Score, 11);
}

TEST(ScoreBoard, ABoardFileThatCannotBeReadEndsTheProgramWithItsName)
{
    BoardShell t;
    ASSERT_TRUE(QDir(t.state.ProgramDir).mkdir(QStringLiteral("Game1.dat"))); // not a file
    TF_Game_Kiroku w(t.services, GameId::Matching, 5, nullptr);
    EXPECT_TRUE(w.failed());
    EXPECT_EQ(t.dialogs.texts(), QStringList{QStringLiteral("Game1.datでエラーがおこりました。 ")});
    EXPECT_TRUE(t.nav.quitRequested());
    EXPECT_EQ(w.exec(), QDialog::Rejected); // returns at once
}

// The title broke inside a word (「…またがんばろ / う！」) and an empty board
// cheered a score of 0 as first place.
TEST(ScoreBoard, TheMessageBreaksBetweenPhrasesAndNeverCheersNothing)
{
    struct Case {
        const char *what;
        int stored; // scores already on the board, from this one down
        int score;
        bool cheered;
    };
    const Case cases[] = {
        {"first game, 0 points", 0, 0, false},       {"first game, 7 points", 0, 7, true},
        {"0 points below others", 3, 0, false},      {"a full board of better scores", 10, 0, false},
        {"a full board, a place won", 10, 12, true},
    };
    for (const Case &c : cases) {
        BoardShell t;
        QVector<GameScoreRecord> board = tenFrom(11);
        board.resize(c.stored);
        t.store(board, GameId::WhackAMole);
        TF_Game_Kiroku w(t.services, GameId::WhackAMole, int16_t(c.score), nullptr);
        const QString text = verdict(w)->text();
        const QString message = games::boardMessage(w.board().rank, c.score);
        EXPECT_EQ(colourOf(verdict(w)) == colour::Red, c.cheered) << c.what;
        EXPECT_EQ(text.contains(QStringLiteral("やった")), c.cheered) << c.what;
        // Every line fits the label and ends where a phrase does.
        const QFontMetrics m(verdict(w)->font());
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            EXPECT_LE(m.horizontalAdvance(lines[i]), verdict(w)->width()) << c.what;
            // A line ends at a mark or where the message has a blank.
            if (i + 1 < lines.size()) {
                EXPECT_TRUE(lines[i].endsWith(QStringLiteral("！")) ||
                            lines[i].endsWith(QStringLiteral("。")) ||
                            message.contains(lines[i] + QLatin1Char(' ')))
                    << c.what << ": " << lines[i].toStdString();
            }
        }
    }
}
