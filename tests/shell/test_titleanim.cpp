// The title animation's rules, driven by a scripted or seeded generator.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "shell/titleanim.h"
#include "support/fakes.h"
#include "support/testshell.h"
#include <QPainter>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::ScriptedRandom;

TEST(TitleMotion, AnIdleSlotStartsOnlyWhenTheFirstDrawIsZero)
{
    TitleMotion m;
    ScriptedRandom r;
    // Slot 1: Random(10) = 3 stays idle; slot 2: 0 starts, right (3), y = 20 + 100,
    // kanji 7 + 1, colour 2, speed 2 x 4 + 2.
    r.script = {3, 0, 2, 100, 7, 2, 4};
    const auto tick = m.tick(r, 1); // LevelCount 1: slots 1 and 2
    EXPECT_EQ(tick.started, std::vector<int>{2});
    EXPECT_EQ(tick.drawn, std::vector<int>{2});
    EXPECT_EQ(r.asked, (std::vector<int>{10, 10, 8, 340, 20, 8, 5}));
    const SpriteSlot &s = m.Slots[2];
    EXPECT_EQ(s.State, 1);
    EXPECT_EQ(s.Dir, 3);
    EXPECT_EQ(s.X, 0); // drawn at its start even on the edge
    EXPECT_EQ(s.Y, 120);
    EXPECT_EQ(s.Kanji, 8);
    EXPECT_EQ(s.Colour, 2);
    EXPECT_EQ(s.Speed, 10);
    EXPECT_EQ(m.Slots[1].State, 0);
}

TEST(TitleMotion, StartPositionsFollowTheDirection)
{
    // Direction d (Random(8) = d - 1), the draws for its position, the position.
    struct Case {
        int dir;
        std::vector<int> draws;
        int x, y;
    } cases[] = {
        {1, {5}, 15, 360},       {2, {0, 7}, 0, 187}, {2, {1, 7}, 27, 360},  {3, {9}, 0, 29},
        {4, {0, 9}, 0, 29},      {4, {1, 9}, 29, 0},  {5, {9}, 29, 0},       {6, {0, 9}, 600, 29},
        {6, {1, 9, 4}, 309, 14}, {7, {9}, 600, 29},   {8, {0, 9}, 600, 189}, {8, {1, 9}, 609, 360},
    };
    for (const Case &c : cases) {
        TitleMotion m;
        ScriptedRandom r;
        r.script = {c.dir - 1};
        r.script.insert(r.script.end(), c.draws.begin(), c.draws.end());
        r.script.insert(r.script.end(), {0, 0, 0});
        m.start(m.Slots[1], r, 12);
        EXPECT_EQ(m.Slots[1].Dir, c.dir);
        EXPECT_EQ(m.Slots[1].X, c.x) << "dir " << c.dir;
        EXPECT_EQ(m.Slots[1].Y, c.y) << "dir " << c.dir;
        EXPECT_TRUE(r.script.empty()) << "dir " << c.dir; // kanji, colour, speed used the rest
    }
}

TEST(TitleMotion, TurnsWrapAndSpeedWrapsAboveTen)
{
    SpriteSlot s;
    s.State = 1;
    s.X = 300;
    s.Y = 200;
    ScriptedRandom r;
    s.Dir = 8;
    s.Speed = 4;
    r.script = {0}; // clockwise: 8 -> 1, then up by 4
    TitleMotion::turnAndMove(s, r);
    EXPECT_EQ(s.Dir, 1);
    EXPECT_EQ(s.Y, 196);
    r.script = {1, 0}; // anticlockwise: 1 -> 8
    TitleMotion::turnAndMove(s, r);
    EXPECT_EQ(s.Dir, 8);
    EXPECT_EQ(s.X, 296);
    EXPECT_EQ(s.Y, 192);
    s.Speed = 10;
    r.script = {1, 1, 0}; // speed up past 10 wraps to 2
    TitleMotion::turnAndMove(s, r);
    EXPECT_EQ(s.Speed, 2);
    EXPECT_EQ(s.X, 294);
    r.script = {1, 1, 1}; // no change at all
    TitleMotion::turnAndMove(s, r);
    EXPECT_EQ(s.Dir, 8);
    EXPECT_EQ(s.Speed, 2);
}

TEST(TitleMotion, ASpriteOnOrPastAnEdgeGoesIdleUndrawn)
{
    TitleMotion m;
    ScriptedRandom r;
    SpriteSlot &s = m.Slots[1];
    s = SpriteSlot{1, 4, 100, 7, 4, 0, 1}; // moving left by 4 from x 4: lands on 0
    r.script = {1, 1, 1};
    auto tick = m.tick(r, 1);
    EXPECT_TRUE(tick.drawn.empty() || tick.drawn.front() != 1);
    EXPECT_EQ(s.State, 0);

    s = SpriteSlot{1, 100, 6, 1, 6, 0, 1}; // up by 6 from y 6: lands on 0
    r.script = {1, 1, 1, 5};               // slot 2 stays idle
    tick = m.tick(r, 1);
    EXPECT_TRUE(tick.drawn.empty());
    EXPECT_EQ(s.State, 0);

    s = SpriteSlot{1, 100, 100, 3, 2, 0, 1};
    r.script = {1, 1, 1, 5};
    tick = m.tick(r, 1);
    EXPECT_EQ(tick.drawn, std::vector<int>{1});
}

TEST(TitleMotion, SlotsInUseFollowTheLevelCountUpToTwentyFour)
{
    EXPECT_EQ(TitleMotion::activeSlots(12), 24);
    EXPECT_EQ(TitleMotion::activeSlots(3), 6);
    EXPECT_EQ(TitleMotion::activeSlots(20), 24); // no slots beyond the 24 that exist
    EXPECT_EQ(TitleMotion::activeSlots(0), 0);
}

TEST(TitleMotion, SeededRunsStayInsideTheirRules)
{
    TitleMotion m;
    StdRandom r(12345);
    int starts = 0, firstTickStarts = -1;
    for (int tick = 0; tick < 2000; ++tick) {
        auto t = m.tick(r, 12);
        starts += int(t.started.size());
        if (tick == 0)
            firstTickStarts = int(t.started.size());
        for (int i : t.drawn) {
            const SpriteSlot &s = m.Slots[size_t(i)];
            EXPECT_EQ(s.State, 1);
            EXPECT_GE(s.Dir, 1);
            EXPECT_LE(s.Dir, 8);
            EXPECT_TRUE(s.Speed >= 2 && s.Speed <= 10 && s.Speed % 2 == 0);
            EXPECT_TRUE(s.Kanji >= 1 && s.Kanji <= 240);
            const bool justStarted = std::find(t.started.begin(), t.started.end(), i) != t.started.end();
            if (!justStarted) {
                EXPECT_TRUE(m.inside(s));
            }
        }
    }
    // Each idle slot starts with probability 1/10 a tick: about 2.4 on the first one.
    EXPECT_LE(firstTickStarts, 10);
    EXPECT_GT(starts, 500);
}

TEST(TitleMotion, SpriteSizeFollowsTheFontScale)
{
    EXPECT_EQ(spriteSize(1.0), QSize(24, 30));
    EXPECT_EQ(spriteSize(1.25), QSize(30, 38));
}

TEST(TitleAnimation, FramesShowColouredGlyphsOnNavyAndLaterSlotsOnTop)
{
    fm::test::app();
    Catalogue cat;
    cat.KanjiTable[1].Glyph = cp932::fromUnicode(QStringLiteral("国"));
    TitleAnimation a(cat, 1.0);
    ScriptedRandom r;
    // Both slots start moving right at y 120 and 120: slot 1 red at x 0, slot 2 lime.
    r.script = {0, 2, 100, 0, 2, 0, 0, 2, 100, 0, 4, 0};
    a.tick(r, 1);
    const QImage &img = a.canvas();
    EXPECT_EQ(img.size(), QSize(600, 360));
    EXPECT_EQ(img.pixelColor(300, 10), QColor(0, 0, 128));
    int red = 0, lime = 0;
    for (int y = 120; y < 150; ++y)
        for (int x = 0; x < 24; ++x) {
            const QColor c = img.pixelColor(x, y);
            red += c == QColor(255, 0, 0);
            lime += c == QColor(0, 255, 0);
        }
    EXPECT_EQ(red, 0); // covered by the later slot's glyph where they overlap exactly
    EXPECT_GT(lime, 20);
}
