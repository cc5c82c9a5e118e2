// The whack-a-mole screen before and in the middle of a game, and the field
// picture alone, with the build's real pictures, kanji and sentences.
#include "games/mole_fixture.h"
#include "shots.h"

using namespace moletest;

TEST(MoleShots, MidGame)
{
    MoleWorld w(3, 6, true);
    TF_Game2 *s = w.screen;
    shots::save(s, QStringLiteral("mole-opened"));

    w.start();
    // Play until eight targets came up and several moles are up; hit one of them.
    for (int tick = 0; tick < 200 && s->running(); ++tick) {
        fm::test::tick(s, "Timer1");
        int up = 0;
        for (int c = 1; c <= 5; ++c)
            for (int r = 1; r <= 5; ++r)
                up += s->game().hole(c, r).Phase > 0;
        if (s->game().TargetsShown >= 8 && up >= 8 && s->game().HitCount == 0)
            for (int c = 1; c <= 5; ++c)
                for (int r = 1; r <= 5; ++r)
                    if (s->game().isTarget(s->game().hole(c, r)) && s->game().HitCount == 0)
                        w.press(c, r);
        if (s->game().HitCount > 0)
            break;
    }
    EXPECT_GT(s->game().HitCount, 0) << "no mole was hit";
    shots::save(s, QStringLiteral("mole-midgame"));
    shots::save(s->field().picture(), QStringLiteral("mole-field"));
}
