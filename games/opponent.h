#pragma once
// The computer's side of the matching game, without widgets: a child with an
// imperfect memory. It remembers some of the cards it has seen turned (its
// own and the player's), never forgets and never remembers wrongly; when it
// knows two cards with the same kanji on the board it takes them, otherwise
// it turns cards at random.
#include "data/questionbank.h"
#include <array>
#include <cstdint>
#include <utility>

namespace fm::games
{

constexpr int CardCount = 36;
constexpr int16_t NoCard = 999;

enum class Strength : int16_t { Strong = 1, Normal = 2, Weak = 3 }; // "つよい", "ふつう", "よわい"

// The cards of one game: which kanji lies on each, and which are still on
// the board, in card order.
struct CardTable {
    std::array<int16_t, CardCount + 1> CardKanji{};    // [1..36]
    std::array<int16_t, CardCount + 1> CardsOnBoard{}; // [1..RemainingCount]
    int16_t RemainingCount = 0;

    bool onBoard(int card) const;
    // Takes a card off the board; the cards after it move up.
    void take(int card);
};

using CardPair = std::pair<int16_t, int16_t>;

// Per cent chance of remembering the player's two cards.
int playerCardsChance(Strength strength);
// Per cent chance of remembering its own two cards, by cards on the board.
int ownCardsChance(int remaining, Strength strength);

class ComputerOpponent
{
  public:
    // [1..36]: 0 = not remembered, otherwise the card's kanji.
    std::array<int16_t, CardCount + 1> ComputerMemory{};

    void clear() { ComputerMemory.fill(0); }
    bool remembers(int card) const { return ComputerMemory[size_t(card)] != 0; }

    // After the player's second pick: both cards or neither, pair or not.
    void RememberAfterPlayer(const CardTable &cards, Strength strength, CardPair manPicks,
                             const RandomFn &random);

    // The two different cards on the board the computer turns this turn:
    // the first remembered pair in board order, otherwise two cards drawn at
    // random; it may remember them (both or neither) before they are shown.
    CardPair ChooseComputerCards(const CardTable &cards, Strength strength, const RandomFn &random);

  private:
    void remember(const CardTable &cards, CardPair picks);
    CardPair rememberedPair(const CardTable &cards) const;
    int16_t drawCard(const CardTable &cards, int below, const RandomFn &random) const;
};

} // namespace fm::games
