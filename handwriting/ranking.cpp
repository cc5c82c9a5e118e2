#include "handwriting/ranking.h"
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/levels.h"
#include <QHash>
#include <algorithm>
#include <cstdlib>

namespace fm
{

namespace
{

// zinnia's scores put a clear match near +1 and the rest below 0; one stroke
// more or fewer than a kanji has costs about as much as the step from a good
// match to a fair one. A child often joins or splits a stroke, so the cost
// stops growing after a few strokes: a kanji only half written still has its
// look-alikes ranked by shape.
constexpr double kStrokeWeight = 0.12;
constexpr int kStrokeCostCap = 4;
// Kanji the child has reached go first only among near equals.
constexpr double kReachedBonus = 0.05;

struct Scored {
    int kanji = 0;
    double value = 0;
};

} // namespace

QVector<int> rankCandidates(const QVector<RecognizerGuess> &guesses, int strokesDrawn,
                            const Catalogue &catalogue, int reachedLevel, int max)
{
    QVector<int> out;
    if (max < 1 || guesses.isEmpty())
        return out;
    QHash<QString, int> taught;
    taught.reserve(KanjiCount);
    for (int k = 1; k <= MaxKanjiNumber; ++k) {
        const KanjiEntry &e = catalogue.KanjiTable[k];
        if (e.Strokes > 0 && cp932::isOneDoubleByteCharacter(e.Glyph))
            taught.insert(cp932::toUnicode(e.Glyph), k);
    }
    const int lastReached =
        reachedLevel >= 1 ? lastKanjiOf(std::min(reachedLevel, LevelCount)) : 0; // 0: no preference

    QVector<Scored> scored;
    QVector<bool> seen(MaxKanjiNumber + 1, false);
    for (int i = 0; i < guesses.size(); ++i) {
        const auto it = taught.constFind(guesses[i].glyph);
        if (it == taught.constEnd() || seen[*it])
            continue;
        const int k = *it;
        seen[k] = true;
        const int off = std::min(std::abs(strokesDrawn - catalogue.KanjiTable[k].Strokes), kStrokeCostCap);
        double value = guesses[i].score - kStrokeWeight * off;
        if (lastReached > 0 && k <= lastReached)
            value += kReachedBonus;
        scored.push_back({k, value});
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const Scored &a, const Scored &b) { return a.value > b.value; });
    for (int i = 0; i < scored.size() && i < max; ++i)
        out.push_back(scored[i].kanji);
    return out;
}

} // namespace fm
