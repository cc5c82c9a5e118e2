// The whack-a-mole screen before and in the middle of a game, with the
// build's real pictures, kanji and sentences. Part of the screenshot tool
// (tests/shots), not of the test suite; run it once more with
// QT_SCALE_FACTOR=2.25 to see the screen as a 1920 x 1080 display shows it:
//   FUDEMARU_SHOT_DIR=<folder> build/tests/fudemaru-shots --gtest_filter='MoleShots*'
#include "games/mole_fixture.h"
#include <QDir>

using namespace moletest;

TEST(MoleShots, MidGame)
{
    const QString dir = qEnvironmentVariable("FUDEMARU_SHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set FUDEMARU_SHOT_DIR to write the pictures";
    MoleWorld w(3, 6, true);
    TF_Game2 *s = w.screen;
    const qreal ratio = s->devicePixelRatioF();
    const QString suffix = QStringLiteral("-x%1.png").arg(ratio);
    QDir().mkpath(dir);
    s->grab().save(QDir(dir).filePath(QStringLiteral("mole-opened") + suffix));

    w.start();
    // Play until eight targets came up and several moles are up; hit one of them.
    for (int tick = 0; tick < 200 && s->running(); ++tick) {
        s->Timer1Timer();
        int up = 0;
        for (int c = 1; c <= 5; ++c)
            for (int r = 1; r <= 5; ++r)
                up += s->game.hole(c, r).Phase > 0;
        if (s->game.TargetsShown >= 8 && up >= 8 && s->game.HitCount == 0)
            for (int c = 1; c <= 5; ++c)
                for (int r = 1; r <= 5; ++r)
                    if (s->game.isTarget(s->game.hole(c, r)) && s->game.HitCount == 0)
                        w.press(c, r);
        if (s->game.HitCount > 0)
            break;
    }
    const QPixmap shot = s->grab();
    EXPECT_EQ(shot.size(), (QSizeF(640, 480) * ratio).toSize());
    EXPECT_TRUE(shot.save(QDir(dir).filePath(QStringLiteral("mole-midgame") + suffix)));
    s->field().picture().save(QDir(dir).filePath(QStringLiteral("mole-field") + suffix));
}
