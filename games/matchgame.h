#pragma once
// The matching game's rules, without widgets: the deal, the turns of the
// child and the computer, the scores and the end of the game. The screen
// (TF_Game1) calls these and draws what they decided.
#include "data/levels.h"
#include "games/opponent.h"
#include <QByteArray>
#include <QStringList>
#include <array>

namespace fm::games
{

constexpr int PairCount = CardCount / 2;     // 18
constexpr int DealtKanjiCount = 9;           // each on four cards
constexpr int PoolSize = KanjiPerLevel;      // the kanji of one game level
constexpr int ScoreBarWidth = 162;           // the white bar behind a side's red one
constexpr int TopPoolLevel = LevelCount - 1; // from here on, the last level's kanji

// The twenty kanji numbers of a game level, [1..20]: level L plays
// 20L + 1 .. 20L + 20, and every level from 11 on plays 221 .. 240.
std::array<int16_t, PoolSize + 1> kanjiPool(int game1Level);
// Nine different kanji of the pool, [1..9], drawn without repetition.
std::array<int16_t, DealtKanjiCount + 1> chooseKanji(int game1Level, const RandomFn &random);
// Deals each of the nine kanji onto four cards drawn from those not yet
// dealt; afterwards every card is on the board, in card order.
void deal(CardTable &cards, const std::array<int16_t, DealtKanjiCount + 1> &kanji, const RandomFn &random);

// The width of a side's red bar for its pairs (9 pixels a pair).
int scoreBarWidth(int pairs);
// "<name>のばん", the name without surrounding blanks, cut to 16 bytes.
QByteArray playerTurnText(const QByteArray &name);

enum class PlayerPick {
    Ignored, // not the child's turn, a card off the board or already face up
    First,   // the first card of the turn is face up
    Miss,    // the second card differs: the computer's turn comes
    Pair,    // the child took a pair: the computer's turn comes
    GameOver // the child took the last pair
};

struct ComputerStep {
    int step = 0;      // 1, 2 or 3; 0 when it was not the computer's turn
    bool pair = false; // step 2: the two cards were a pair and are taken
    bool over = false; // step 2: that pair was the last one
};

class MatchGame
{
  public:
    CardTable cards;
    ComputerOpponent opponent;
    Strength strength = Strength::Normal;
    int16_t ManScore = 0;
    int16_t ComScore = 0;
    int16_t PickCount = 0;
    CardPair ManPicks{NoCard, NoCard};
    CardPair ComPicks{NoCard, NoCard};
    bool ManTurn = false;
    bool started = false;
    bool over = false;
    bool endedByComputer = false;

    // Clears the memory, deals the cards of the level and tosses who begins.
    void start(int game1Level, Strength chosen, const RandomFn &random);

    // The child turns a card.
    PlayerPick playerPick(int card, const RandomFn &random);
    // A tick of the computer's turn: choose and turn the first card, turn the
    // second (and take a pair), then turn back and hand over.
    ComputerStep computerTick(const RandomFn &random);
};

// What a finished game tells the child, and whether the game level rises.
struct GameOutcome {
    QStringList messages; // one or two information boxes, in order
    bool levelRises = false;
};

// A win against "よわい" never raises the level; otherwise it rises while it
// is below the study level minus one.
bool game1LevelRises(Strength strength, int game1Level, int currentLevel);
GameOutcome gameOutcome(const MatchGame &game, const QByteArray &playerName, int game1Level,
                        int currentLevel);

} // namespace fm::games
