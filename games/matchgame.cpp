#include "games/matchgame.h"
#include "data/cp932.h"
#include <algorithm>

namespace fm::games
{

std::array<int16_t, PoolSize + 1> kanjiPool(int game1Level)
{
    // A level below 0 (a damaged roster) plays the first twenty.
    const int level = std::clamp(game1Level, 0, TopPoolLevel);
    std::array<int16_t, PoolSize + 1> pool{};
    for (int i = 1; i <= PoolSize; ++i)
        pool[size_t(i)] = int16_t(level * PoolSize + i);
    return pool;
}

std::array<int16_t, DealtKanjiCount + 1> chooseKanji(int game1Level, const RandomFn &random)
{
    std::array<int16_t, PoolSize + 1> pool = kanjiPool(game1Level);
    std::array<int16_t, DealtKanjiCount + 1> chosen{};
    int left = PoolSize;
    for (int m = 1; m <= DealtKanjiCount; ++m) {
        const int r = random(left);
        chosen[size_t(m)] = pool[size_t(r + 1)];
        std::copy(pool.begin() + r + 2, pool.begin() + left + 1, pool.begin() + r + 1);
        --left;
    }
    return chosen;
}

void deal(CardTable &cards, const std::array<int16_t, DealtKanjiCount + 1> &kanji, const RandomFn &random)
{
    // The list of cards not yet dealt, in card order.
    CardTable undealt;
    for (int i = 1; i <= CardCount; ++i)
        undealt.CardsOnBoard[size_t(i)] = int16_t(i);
    undealt.RemainingCount = CardCount;
    cards.CardKanji.fill(0);
    for (int m = 1; m <= DealtKanjiCount; ++m)
        for (int copy = 0; copy < 4; ++copy) {
            const int16_t card = undealt.CardsOnBoard[size_t(1 + random(undealt.RemainingCount))];
            cards.CardKanji[size_t(card)] = kanji[size_t(m)];
            undealt.take(card);
        }
    for (int i = 1; i <= CardCount; ++i)
        cards.CardsOnBoard[size_t(i)] = int16_t(i);
    cards.RemainingCount = CardCount;
}

int scoreBarWidth(int pairs)
{
    return pairs * (ScoreBarWidth / PairCount);
}

QByteArray playerTurnText(const QByteArray &name)
{
    return cp932::cut(name.trimmed() + cp932::fromUnicode(QStringLiteral("のばん")), 16);
}

void MatchGame::start(int game1Level, Strength chosen, const RandomFn &random)
{
    opponent.clear();
    deal(cards, chooseKanji(game1Level, random), random);
    ManScore = 0;
    ComScore = 0;
    strength = chosen;
    ManTurn = random(2) == 0;
    PickCount = 0;
    ManPicks = {NoCard, NoCard};
    ComPicks = {NoCard, NoCard};
    started = true;
    over = false;
    endedByComputer = false;
}

PlayerPick MatchGame::playerPick(int card, const RandomFn &random)
{
    if (!started || over || !ManTurn || !cards.onBoard(card) || (PickCount == 1 && card == ManPicks.first))
        return PlayerPick::Ignored;
    ++PickCount;
    if (PickCount == 1) {
        ManPicks.first = int16_t(card);
        return PlayerPick::First;
    }
    ManPicks.second = int16_t(card);
    opponent.RememberAfterPlayer(cards, strength, ManPicks, random);
    PlayerPick result = PlayerPick::Miss;
    if (cards.CardKanji[size_t(ManPicks.first)] == cards.CardKanji[size_t(ManPicks.second)]) {
        ++ManScore;
        cards.take(ManPicks.first);
        cards.take(ManPicks.second);
        // Taken cards are not turned back.
        ManPicks = {NoCard, NoCard};
        result = PlayerPick::Pair;
        if (cards.RemainingCount == 0) {
            over = true;
            return PlayerPick::GameOver;
        }
    }
    PickCount = 0;
    ManTurn = false;
    return result;
}

ComputerStep MatchGame::computerTick(const RandomFn &random)
{
    if (!started || over || ManTurn)
        return {};
    ComputerStep s;
    s.step = ++PickCount;
    switch (s.step) {
    case 1:
        ComPicks = opponent.ChooseComputerCards(cards, strength, random);
        break;
    case 2:
        if (cards.CardKanji[size_t(ComPicks.first)] == cards.CardKanji[size_t(ComPicks.second)]) {
            ++ComScore;
            cards.take(ComPicks.first);
            cards.take(ComPicks.second);
            s.pair = true;
            if (cards.RemainingCount == 0) {
                over = true;
                endedByComputer = true;
                s.over = true;
            }
        }
        break;
    default:
        PickCount = 0;
        ManTurn = true;
        break;
    }
    return s;
}

bool game1LevelRises(Strength strength, int game1Level, int currentLevel)
{
    return strength != Strength::Weak && game1Level < currentLevel - 1;
}

GameOutcome gameOutcome(const MatchGame &game, const QByteArray &playerName, int game1Level, int currentLevel)
{
    GameOutcome out;
    if (game.ComScore > game.ManScore) {
        out.messages << QStringLiteral("コンピュータのかち");
    } else if (game.ComScore == game.ManScore) {
        out.messages << QStringLiteral("ひきわけ");
    } else {
        out.messages << cp932::toUnicode(
            cp932::cut(playerName.trimmed() + cp932::fromUnicode(QStringLiteral("のかち")), 16));
        out.levelRises = game1LevelRises(game.strength, game1Level, currentLevel);
    }
    // Losing or drawing on the computer's own last pair stings twice.
    if (game.endedByComputer && game.ComScore >= game.ManScore)
        out.messages << QStringLiteral("ざんねん！ ふごうかくです");
    return out;
}

} // namespace fm::games
