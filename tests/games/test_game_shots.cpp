// Pictures of the score board and the matching game for looking at.
// Runs only when FUDEMARU_SHOT_DIR names a folder to write the PNGs to.
#include "data/cp932.h"
#include "data/datetime.h"
#include "data/gamescore.h"
#include "games/gkiroku.h"
#include "support/testshell.h"
#include <QDir>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::TestShell;

namespace
{

QString shotDir()
{
    return qEnvironmentVariable("FUDEMARU_SHOT_DIR");
}

void save(QWidget *w, const QString &name)
{
    const QPixmap shot = w->grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QDir(shotDir()).filePath(name)));
}

} // namespace

TEST(GameShots, ScoreBoard)
{
    if (shotDir().isEmpty())
        GTEST_SKIP() << "set FUDEMARU_SHOT_DIR to write the pictures";
    TestShell t;
    t.state.Players.PlayerCount = 1;
    t.state.CurrentPlayer = 1;
    t.state.Players.PlayerTable[1].Name = cp932::fromUnicode(QStringLiteral("はなこ"));
    t.state.HintContext = HintCtx{2, 1, 1};
    QVector<GameScoreRecord> old;
    const char *names[] = {"たろう",   "じろう", "さぶろう", "しろう", "ごろう",
                           "ろくろう", "ななこ", "やえ",     "くみ"};
    for (int i = 0; i < 9; ++i)
        old << GameScoreRecord{int16_t(16 - i), cp932::fromUnicode(QString::fromUtf8(names[i])),
                               toDayNumber(QDateTime(QDate(2024, 4, 1 + i), QTime()))};
    writeBoard(t.state.ProgramDir, 1, old);
    TF_Game_Kiroku w(t.services, 12, nullptr);
    w.show();
    save(&w, QStringLiteral("board_rank5.png"));

    TF_Game_Kiroku full(t.services, 2, nullptr);
    full.show();
    save(&full, QStringLiteral("board_missed.png"));
}
