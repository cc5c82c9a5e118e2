#include "games/molegame.h"
#include "shell/random.h"
#include <algorithm>
#include <vector>

namespace fm::mole
{

int tickInterval(int speed)
{
    return 2000 - 100 * std::clamp(speed, SlowestSpeed, FastestSpeed);
}

std::array<int16_t, BlockSize> kanjiBlock(int gameLevel)
{
    // A level read from an odd roster file still names one of the twelve blocks.
    const int first = std::clamp(gameLevel, 0, 11) * BlockSize + 1;
    std::array<int16_t, BlockSize> block{};
    for (int i = 0; i < BlockSize; ++i)
        block[i] = int16_t(first + i);
    return block;
}

int bandHeight(int phase)
{
    static constexpr int heights[] = {0, 21, 42, 64, 42, 21};
    return phase >= 0 && phase <= LastPhase ? heights[phase] : 0;
}

QRect cellRect(int c, int r)
{
    return QRect((c - 1) * Pitch + Gap, (r - 1) * Pitch + Gap, CellWidth, CellHeight);
}

bool passes(int hitCount)
{
    return hitCount > PassMark;
}

bool levelRises(int gameLevel, int currentLevel)
{
    return gameLevel < currentLevel - 1;
}

Spot spotAt(int x, int y)
{
    Spot s;
    // Presses left of or above the field count as outside, not as column 0.
    s.c = x < 0 ? 0 : x / Pitch + 1;
    s.r = y < 0 ? 0 : y / Pitch + 1;
    s.x = x - (s.c - 1) * Pitch;
    s.y = y - (s.r - 1) * Pitch;
    return s;
}

bool onMole(int phase, int y)
{
    if (y <= Gap || y >= Pitch)
        return false;
    switch (phase) {
    case 1:
    case 5:
        return y > 51;
    case 2:
    case 4:
        return y > 30;
    case 3:
        return true;
    default:
        return false;
    }
}

MoleGame::MoleGame(Random &random) : random_(random) {}

void MoleGame::clearHoles()
{
    for (auto &column : MoleHoles)
        column.fill(Hole{});
}

void MoleGame::start(int gameLevel)
{
    StageIndex = 0;
    clearHoles();
    Block = kanjiBlock(gameLevel);
    std::vector<int16_t> left(Block.begin(), Block.end());
    for (int m = 1; m <= StageKanjiCount; ++m) {
        const int r = random_.random(BlockSize + 1 - m);
        StageKanji[m] = left[r];
        left.erase(left.begin() + r);
    }
    StageIndex = 1;
    StageShown = 0;
    TargetsShown = 0;
    HitCount = 0;
    StageDone = false;
    WaitTicks = 0;
}

MoleGame::Tick MoleGame::tick()
{
    const Tick t = beginTick();
    if (t != Tick::Over)
        updateHoles();
    return t;
}

MoleGame::Tick MoleGame::beginTick()
{
    if (TargetsShown >= TargetsPerGame)
        return Tick::Over;
    Tick result = Tick::Played;
    if (StageDone && ++WaitTicks >= PauseTicks) {
        StageShown = 0;
        StageIndex = StageIndex % StageKanjiCount + 1;
        clearHoles();
        StageDone = false;
        WaitTicks = 0;
        result = Tick::NewStage;
    }
    return result;
}

void MoleGame::updateHoles()
{
    // Column by column, and within a column row by row: the draws come in this order.
    for (int c = 1; c <= Holes; ++c)
        for (int r = 1; r <= Holes; ++r)
            updateHole(MoleHoles[c][r]);
}

void MoleGame::updateHole(Hole &hole)
{
    if (hole.Phase >= LastPhase) {
        hole = Hole{};
        return;
    }
    if (hole.Phase > 0) {
        ++hole.Phase;
        return;
    }
    if (random_.real() >= RiseChance)
        return;
    hole.Phase = 1;
    if (random_.real() < TargetChance && TargetsShown < TargetsPerGame && !StageDone) {
        hole.HoleKanji = stageKanji();
        ++StageShown;
        ++TargetsShown;
        if (StageShown >= TargetsPerStage)
            StageDone = true;
        return;
    }
    // A decoy: any kanji of the block but the one the stage asks for.
    do
        hole.HoleKanji = Block[random_.random(BlockSize)];
    while (hole.HoleKanji == stageKanji());
}

MoleGame::PressResult MoleGame::press(int x, int y)
{
    const Spot s = spotAt(x, y);
    PressResult result{Press::Outside, s.c, s.r};
    if (s.c < 1 || s.c > Holes || s.r < 1 || s.r > Holes)
        return result;
    Hole &h = MoleHoles[s.c][s.r];
    if (s.x <= Gap || !isTarget(h) || !onMole(h.Phase, s.y)) {
        result.press = Press::Miss;
        return result;
    }
    result.press = Press::Hit;
    ++HitCount;
    h = Hole{};
    return result;
}

} // namespace fm::mole
