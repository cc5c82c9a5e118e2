#pragma once
// The rules of the kanji whack-a-mole game, apart from any widget: which
// kanji a game asks, how the 5 x 5 holes change on every tick, when a stage
// and the game end, and whether a press on the field hits a target mole.
#include <QRect>
#include <array>
#include <cstdint>

namespace fm
{
class Random;
}

namespace fm::mole
{

constexpr int Holes = 5;              // columns, and rows
constexpr int Pitch = 72;             // from one hole to the next
constexpr int CellWidth = 72;         // a hole's picture is stretched into 72 x 64
constexpr int CellHeight = 64;        //
constexpr int Gap = 8;                // before a column's and a row's hole
constexpr int FieldPictureSize = 450; // the picture the field is drawn on
constexpr int ShownSize = 360;        // the part of it the screen shows
constexpr int PictureSize = 64;       // Mogura.bmp, Atari.bmp, a mole's glyph

constexpr int BlockSize = 20;      // kanji of one game level
constexpr int StageKanjiCount = 5; // kanji a game asks, each in two stages
constexpr int TargetsPerStage = 5;
constexpr int TargetsPerGame = 50;
constexpr int PauseTicks = 6; // from a stage's fifth target to the next stage
constexpr int LastPhase = 5;
constexpr double RiseChance = 0.1;   // an empty hole's mole comes up
constexpr double TargetChance = 0.3; // a rising mole carries the stage's kanji
constexpr int PassMark = 35;         // more hits than this pass

constexpr int SlowestSpeed = 0;
constexpr int FastestSpeed = 15;
constexpr int OpeningSpeed = 7;

// Milliseconds between ticks at a speed of 0 ("おそい") .. 15 ("はやい").
int tickInterval(int speed);

// The twenty kanji numbers of a game level: level L holds L x 20 + 1 ..
// L x 20 + 20; from level 11 on every game uses 221 .. 240.
std::array<int16_t, BlockSize> kanjiBlock(int gameLevel);

// Rows of a mole shown in each phase (0 for an empty hole): it rises out
// of the bottom of its hole and sinks back.
int bandHeight(int phase);

// Where hole (c, r), both 1..5, lies on the field picture (right and bottom exclusive).
QRect cellRect(int c, int r);

// A game with more than 35 hits passes.
bool passes(int hitCount);
// A pass raises the game level only while it stays below the study level minus 1.
bool levelRises(int gameLevel, int currentLevel);

struct Hole {
    int16_t Phase = 0;     // 0 empty, 1..5 a mole is up in that phase
    int16_t HoleKanji = 0; // the mole's kanji, 0 when empty
};

enum class Press {
    Outside, // beyond the five columns or rows: nothing happens
    Miss,
    Hit,
};

// The cell a press at (x, y) on the shown field lies in: c, r and the
// press's place relative to the column's and the row's start.
struct Spot {
    int c = 0;
    int r = 0;
    int x = 0; // 0 .. 71; 0 .. 8 is the gap and the cell's first column
    int y = 0; // 0 .. 71; 0 .. 8 is the gap and the cell's first row
};
Spot spotAt(int x, int y);

// Whether a press at y (relative to the row's start) lies on a mole in this
// phase; a press in the gap or above the mole's band does not.
bool onMole(int phase, int y);

class MoleGame
{
  public:
    explicit MoleGame(Random &random);

    // Draws the five kanji of a game from the block of the game level and
    // sets up the first stage.
    void start(int gameLevel);

    enum class Tick {
        Over,     // the 50th target came up on the tick before: the game ends
        Played,   // the holes changed
        NewStage, // ... and a new stage began with an empty field
    };
    Tick tick();
    // The same in two steps, for a screen that shows the new stage's
    // sentence between them: the decision first, then the holes.
    Tick beginTick();
    void updateHoles();

    // A press on the field: a hit clears the hole and counts.
    struct PressResult {
        Press press = Press::Outside;
        int c = 0;
        int r = 0;
    };
    PressResult press(int x, int y);

    int16_t stageKanji() const { return StageKanji[StageIndex]; }
    bool isTarget(const Hole &hole) const { return hole.Phase > 0 && hole.HoleKanji == stageKanji(); }
    Hole &hole(int c, int r) { return MoleHoles[c][r]; }
    const Hole &hole(int c, int r) const { return MoleHoles[c][r]; }
    void clearHoles();

    std::array<std::array<Hole, Holes + 1>, Holes + 1> MoleHoles{}; // [c 1..5][r 1..5]
    std::array<int16_t, BlockSize> Block{};                         // the decoys come from here
    std::array<int16_t, StageKanjiCount + 1> StageKanji{};          // [1..5]
    int16_t StageIndex = 0;
    int16_t StageShown = 0;
    int16_t TargetsShown = 0;
    bool StageDone = false;
    int16_t WaitTicks = 0;
    int16_t HitCount = 0;

  private:
    void updateHole(Hole &hole);
    Random &random_;
};

} // namespace fm::mole
