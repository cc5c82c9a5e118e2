// The computer opponent and the matching game's rules, without widgets,
// driven by a seeded generator.
#include "games/matchgame.h"
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

using namespace fm::games;

namespace
{

struct Seeded {
    explicit Seeded(unsigned seed) : engine(seed) {}
    std::mt19937 engine;
    fm::RandomFn fn()
    {
        return
            [this](int n) { return n <= 0 ? 0 : int(std::uniform_int_distribution<int>(0, n - 1)(engine)); };
    }
};

// A board of all 36 cards; card i holds kanji (i + 1) / 2, so cards 2k-1 and 2k are pairs.
CardTable pairedBoard()
{
    CardTable t;
    for (int i = 1; i <= CardCount; ++i) {
        t.CardKanji[size_t(i)] = int16_t((i + 1) / 2);
        t.CardsOnBoard[size_t(i)] = int16_t(i);
    }
    t.RemainingCount = CardCount;
    return t;
}

// A board of the first r cards, each with a kanji of its own: no pair can be known.
CardTable unpairedBoard(int r)
{
    CardTable t;
    for (int i = 1; i <= r; ++i) {
        t.CardKanji[size_t(i)] = int16_t(100 + i);
        t.CardsOnBoard[size_t(i)] = int16_t(i);
    }
    t.RemainingCount = int16_t(r);
    return t;
}

void know(ComputerOpponent &o, const CardTable &t, std::initializer_list<int> cards)
{
    for (int c : cards)
        o.ComputerMemory[size_t(c)] = t.CardKanji[size_t(c)];
}

} // namespace

TEST(Opponent, AKnownPairIsAlwaysTakenTheEarliestFirst)
{
    Seeded rng(1);
    for (Strength s : {Strength::Strong, Strength::Normal, Strength::Weak})
        for (int trial = 0; trial < 200; ++trial) {
            CardTable t = pairedBoard();
            ComputerOpponent o;
            // Cards 1 (alone), 13 and 14 (kanji 7), 4 and 30 swapped so that
            // kanji 2's cards are 3 and 30: its first card comes earliest.
            std::swap(t.CardKanji[4], t.CardKanji[30]);
            know(o, t, {1, 14, 30, 13, 3});
            EXPECT_EQ(o.ChooseComputerCards(t, s, rng.fn()), CardPair(3, 30));
            // Once that pair is taken, the next one known is chosen.
            t.take(3);
            t.take(30);
            EXPECT_EQ(o.ChooseComputerCards(t, s, rng.fn()), CardPair(13, 14));
            t.take(13);
            t.take(14);
            // Now only lone cards are known: two different cards on the board.
            const CardPair p = o.ChooseComputerCards(t, s, rng.fn());
            EXPECT_NE(p.first, p.second);
            EXPECT_TRUE(t.onBoard(p.first) && t.onBoard(p.second));
        }
}

TEST(Opponent, RandomPicksAreTwoDifferentCardsOnTheBoardAndLoneKnownCardsAreAvoided)
{
    Seeded rng(2);
    CardTable t = pairedBoard();
    // Ten cards are gone; card 7 is known alone and taken cards are remembered too.
    for (int c : {1, 2, 9, 10, 21, 22, 35, 36, 17, 18})
        t.take(c);
    std::map<int, int> picked;
    const int turns = 20000;
    for (int i = 0; i < turns; ++i) {
        ComputerOpponent o;
        know(o, t, {7});
        o.ComputerMemory[1] = o.ComputerMemory[2] = 1; // a pair already taken
        const CardPair p = o.ChooseComputerCards(t, Strength::Normal, rng.fn());
        ASSERT_NE(p.first, p.second);
        ASSERT_TRUE(t.onBoard(p.first)) << p.first;
        ASSERT_TRUE(t.onBoard(p.second)) << p.second;
        ++picked[p.first];
        ++picked[p.second];
    }
    // Every unknown card on the board is turned now and then, about equally.
    const double fair = 2.0 * turns / t.RemainingCount;
    for (int i = 1; i <= t.RemainingCount; ++i) {
        const int c = t.CardsOnBoard[size_t(i)];
        if (c != 7) {
            EXPECT_NEAR(picked[c], fair * 26 / 25, fair * 0.15) << "card " << c;
        }
    }
    // The lone known card is not preferred: it is hardly ever turned.
    EXPECT_LT(picked[7], fair / 10);
}

TEST(Opponent, WithTwoCardsLeftItTakesThem)
{
    Seeded rng(3);
    for (int trial = 0; trial < 300; ++trial) {
        CardTable t = pairedBoard();
        for (int c = 1; c <= CardCount; ++c)
            if (c != 11 && c != 12)
                t.take(c);
        ComputerOpponent o;
        if (trial % 2)
            know(o, t, {11});
        const CardPair p = o.ChooseComputerCards(t, Strength(1 + trial % 3), rng.fn());
        EXPECT_EQ(std::minmax(p.first, p.second), std::minmax<int16_t>(11, 12));
    }
}

TEST(Opponent, RememberingChancesFollowStrengthAndCardsLeft)
{
    Seeded rng(4);
    const int trials = 20000;
    const CardPair man{5, 9};
    for (Strength s : {Strength::Strong, Strength::Normal, Strength::Weak}) {
        int both = 0;
        for (int i = 0; i < trials; ++i) {
            const CardTable t = unpairedBoard(36);
            ComputerOpponent o;
            o.RememberAfterPlayer(t, s, man, rng.fn());
            // Both cards or neither, each with its own kanji.
            ASSERT_EQ(o.remembers(5), o.remembers(9));
            if (o.remembers(5)) {
                ++both;
                EXPECT_EQ(o.ComputerMemory[5], 105);
                EXPECT_EQ(o.ComputerMemory[9], 109);
            }
        }
        EXPECT_NEAR(100.0 * both / trials, s == Strength::Strong ? 50 : s == Strength::Normal ? 30 : 10, 1.2);
    }

    // Its own two cards, by cards on the board (always even in a game).
    const std::map<int, std::array<int, 3>> table = {
        {2, {80, 60, 50}},  {4, {80, 60, 50}},  {6, {60, 40, 20}}, {12, {60, 40, 20}},
        {14, {40, 25, 10}}, {24, {40, 25, 10}}, {26, {30, 15, 5}}, {36, {30, 15, 5}}};
    for (const auto &[r, chances] : table)
        for (Strength s : {Strength::Strong, Strength::Normal, Strength::Weak}) {
            const int expected = chances[size_t(int(s) - 1)];
            int both = 0;
            for (int i = 0; i < trials / 4; ++i) {
                const CardTable t = unpairedBoard(r);
                ComputerOpponent o;
                const CardPair p = o.ChooseComputerCards(t, s, rng.fn());
                ASSERT_EQ(o.remembers(p.first), o.remembers(p.second));
                both += o.remembers(p.first);
                int known = 0;
                for (int c = 1; c <= CardCount; ++c)
                    known += o.remembers(c);
                ASSERT_EQ(known, o.remembers(p.first) ? 2 : 0); // only the two it turned
            }
            EXPECT_NEAR(100.0 * both / (trials / 4), expected, 2.5) << r << " cards, strength " << int(s);
        }
}

TEST(MatchRules, TheDealPutsNineKanjiOfTheLevelOnFourCardsEach)
{
    Seeded rng(5);
    EXPECT_EQ(kanjiPool(0)[1], 1);
    EXPECT_EQ(kanjiPool(0)[20], 20);
    EXPECT_EQ(kanjiPool(3)[1], 61);
    EXPECT_EQ(kanjiPool(11)[1], 221);
    EXPECT_EQ(kanjiPool(12)[1], 221);
    EXPECT_EQ(kanjiPool(12)[20], 240);

    // seen[card][m]: card got the m-th chosen kanji in some deal.
    std::array<std::array<bool, 10>, CardCount + 1> seen{};
    std::set<int> chosenEver;
    for (int trial = 0; trial < 400; ++trial) {
        const int level = trial % 13;
        const auto pool = kanjiPool(level);
        const auto kanji = chooseKanji(level, rng.fn());
        std::set<int> distinct(kanji.begin() + 1, kanji.end());
        ASSERT_EQ(distinct.size(), 9u);
        for (int k : distinct)
            ASSERT_TRUE(k >= pool[1] && k <= pool[20]) << k;
        if (level == 0)
            chosenEver.insert(distinct.begin(), distinct.end());

        CardTable t;
        deal(t, kanji, rng.fn());
        ASSERT_EQ(t.RemainingCount, 36);
        std::map<int, int> count;
        for (int c = 1; c <= CardCount; ++c) {
            EXPECT_EQ(t.CardsOnBoard[size_t(c)], c);
            ++count[t.CardKanji[size_t(c)]];
            for (int m = 1; m <= 9; ++m)
                if (t.CardKanji[size_t(c)] == kanji[size_t(m)])
                    seen[size_t(c)][size_t(m)] = true;
        }
        ASSERT_EQ(count.size(), 9u);
        for (const auto &[k, n] : count)
            EXPECT_EQ(n, 4) << "kanji " << k;
    }
    for (int c = 1; c <= CardCount; ++c)
        for (int m = 1; m <= 9; ++m)
            EXPECT_TRUE(seen[size_t(c)][size_t(m)]) << "card " << c << " never got kanji " << m;
    EXPECT_EQ(chosenEver.size(), 20u); // every kanji of the level comes up
}

TEST(MatchRules, DrawsSayHowTheyEndedAndNamesAreCutWhole)
{
    // Wins, losses and the level are played through on the screen; a draw
    // depends on who takes the last pair.
    MatchGame g;
    g.ManScore = g.ComScore = 9;
    g.endedByComputer = true;
    EXPECT_EQ(gameOutcome(g, "x", 0, 5).messages,
              (QStringList{QStringLiteral("ひきわけ"), QStringLiteral("ざんねん！ ふごうかくです")}));
    g.endedByComputer = false;
    EXPECT_EQ(gameOutcome(g, "x", 0, 5).messages, QStringList{QStringLiteral("ひきわけ")});
    EXPECT_FALSE(gameOutcome(g, "x", 0, 5).levelRises);

    // The turn text stays within 16 bytes without splitting a character.
    const QByteArray tenBytes = "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8"; // "あいうえお"
    EXPECT_EQ(playerTurnText(" " + tenBytes + "  "), tenBytes + QByteArray("\x82\xcc\x82\xce\x82\xf1"));
    EXPECT_EQ(playerTurnText("abcdefghi\x82\xa0"), QByteArray("abcdefghi\x82\xa0\x82\xcc\x82\xce"));
}
