#include "games/opponent.h"
#include <algorithm>

namespace fm::games
{

namespace
{
// How often a pick is drawn again while it lands on a card already known.
constexpr int Redraws = 11;
} // namespace

bool CardTable::onBoard(int card) const
{
    const auto end = CardsOnBoard.begin() + 1 + RemainingCount;
    return std::find(CardsOnBoard.begin() + 1, end, int16_t(card)) != end;
}

void CardTable::take(int card)
{
    const auto begin = CardsOnBoard.begin() + 1;
    const auto end = begin + RemainingCount;
    const auto it = std::find(begin, end, int16_t(card));
    if (it == end)
        return;
    std::copy(it + 1, end, it);
    *(end - 1) = 0;
    --RemainingCount;
}

int playerCardsChance(Strength strength)
{
    switch (strength) {
    case Strength::Strong:
        return 50;
    case Strength::Normal:
        return 30;
    case Strength::Weak:
        break;
    }
    return 10;
}

int ownCardsChance(int remaining, Strength strength)
{
    // Rows: 1-4, 5-12, 13-24, 25 and more cards on the board.
    static constexpr int table[4][3] = {{80, 60, 50}, {60, 40, 20}, {40, 25, 10}, {30, 15, 5}};
    const int row = remaining <= 4 ? 0 : remaining <= 12 ? 1 : remaining <= 24 ? 2 : 3;
    const int column = std::clamp(int(strength), 1, 3) - 1;
    return table[row][column];
}

void ComputerOpponent::remember(const CardTable &cards, CardPair picks)
{
    for (int16_t c : {picks.first, picks.second})
        if (c >= 1 && c <= CardCount)
            ComputerMemory[size_t(c)] = cards.CardKanji[size_t(c)];
}

void ComputerOpponent::RememberAfterPlayer(const CardTable &cards, Strength strength, CardPair manPicks,
                                           const RandomFn &random)
{
    if (random(100) < playerCardsChance(strength))
        remember(cards, manPicks);
}

CardPair ComputerOpponent::rememberedPair(const CardTable &cards) const
{
    const int r = cards.RemainingCount;
    for (int i = 1; i <= r; ++i) {
        const int16_t a = cards.CardsOnBoard[size_t(i)];
        const int16_t known = ComputerMemory[size_t(a)];
        if (known == 0)
            continue;
        for (int j = i + 1; j <= r; ++j) {
            const int16_t b = cards.CardsOnBoard[size_t(j)];
            if (ComputerMemory[size_t(b)] == known)
                return {a, b};
        }
    }
    return {NoCard, NoCard};
}

int16_t ComputerOpponent::drawCard(const CardTable &cards, int below, const RandomFn &random) const
{
    return cards.CardsOnBoard[size_t(1 + random(below))];
}

CardPair ComputerOpponent::ChooseComputerCards(const CardTable &cards, Strength strength,
                                               const RandomFn &random)
{
    const int r = cards.RemainingCount;
    if (r < 2)
        return {NoCard, NoCard};

    CardPair picks = rememberedPair(cards);
    if (picks.first == NoCard) {
        picks.first = drawCard(cards, r, random);
        picks.second = drawCard(cards, r - 1, random);
        // Each pick is drawn again from the whole board, and, like a child
        // who would rather turn a card it has not seen yet, drawn once more
        // (up to eleven draws in all) while it lands on a card it knows
        // alone; it stops at the first card it does not know.
        for (int16_t *pick : {&picks.first, &picks.second}) {
            int n = 0;
            do
                *pick = drawCard(cards, r, random);
            while (++n < Redraws && remembers(*pick));
        }
        if (picks.first == picks.second)
            picks = {NoCard, NoCard};
    }
    while (picks.first == NoCard || picks.second == NoCard) {
        picks.first = drawCard(cards, r, random);
        picks.second = drawCard(cards, r - 1, random);
        if (picks.first == picks.second)
            picks = {NoCard, NoCard};
    }

    if (random(100) < ownCardsChance(r, strength))
        remember(cards, picks);
    return picks;
}

} // namespace fm::games
