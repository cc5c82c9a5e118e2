#include "handwriting/ranking.h"
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/levels.h"
#include "handwriting/strokeorder.h"
#include <QHash>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace fm
{

namespace
{

// Weights tuned on the 240 kanji drawn from their reference strokes, plain
// and sloppily (strokes moved, the drawing shrunk and off-centre); the
// figures are in docs/performance.md. zinnia's scores put a clear match near
// +1 and the rest below 0; a stroke more or fewer than a kanji has costs a
// tenth of that range.
constexpr double kStrokeWeight = 0.12;
// A drawing whose strokes lie on a kanji's reference strokes counts for that
// kanji: each tenth of the square its stroke ends lie off on average costs
// about as much as two and a half strokes too many.
constexpr double kShapeWeight = 3.0;
// A taught kanji the recogniser did not name among its guesses (its curves
// and hooks drawn straight, say) still stands by its shape, as if it had
// been named with a poor score.
constexpr double kUnguessedScore = -1.0;
// Kanji the child has reached go first only among near equals.
constexpr double kReachedBonus = 0.05;

struct Scored {
    int kanji = 0;
    double value = 0;
};

QVector<int> rank(const QVector<RecognizerGuess> &guesses, int strokesDrawn, const Catalogue &catalogue,
                  int reachedLevel, int max, const Ink *ink, const ReferenceStrokes *reference)
{
    QVector<int> out;
    if (max < 1)
        return out;
    // The recogniser's score for each taught kanji it named (its best, if named twice).
    QHash<QString, int> taught;
    taught.reserve(KanjiCount);
    for (int k = 1; k <= MaxKanjiNumber; ++k) {
        const KanjiEntry &e = catalogue.KanjiTable[k];
        if (e.Strokes > 0 && cp932::isOneDoubleByteCharacter(e.Glyph))
            taught.insert(cp932::toUnicode(e.Glyph), k);
    }
    QVector<double> score(MaxKanjiNumber + 1, std::numeric_limits<double>::quiet_NaN());
    QVector<int> order; // the kanji to rank, in the recogniser's order first
    for (const RecognizerGuess &g : guesses) {
        const auto it = taught.constFind(g.glyph);
        if (it != taught.constEnd() && std::isnan(score[*it])) {
            score[*it] = g.score;
            order.push_back(*it);
        }
    }
    if (ink && reference) {
        for (const int k : taught)
            if (std::isnan(score[k]) && !reference->of(k).isEmpty()) {
                score[k] = kUnguessedScore;
                order.push_back(k);
            }
    }
    const int lastReached = reachedLevel >= 1 ? lastKanjiOf(std::min(reachedLevel, LevelCount)) : 0;

    QVector<Scored> scored;
    scored.reserve(order.size());
    for (const int k : order) {
        const int off = std::abs(strokesDrawn - catalogue.KanjiTable[k].Strokes);
        double value = score[k] - kStrokeWeight * off;
        if (ink && reference && !reference->of(k).isEmpty())
            value -= kShapeWeight * std::max(0.0, strokeShapeDistance(*ink, reference->of(k)));
        if (lastReached > 0 && k <= lastReached)
            value += kReachedBonus;
        scored.push_back({k, value});
    }
    // Ties keep the recogniser's order.
    std::stable_sort(scored.begin(), scored.end(),
                     [](const Scored &a, const Scored &b) { return a.value > b.value; });
    for (int i = 0; i < scored.size() && i < max; ++i)
        out.push_back(scored[i].kanji);
    return out;
}

int strokesIn(const Ink &ink)
{
    return int(std::count_if(ink.begin(), ink.end(), [](const InkStroke &s) { return !s.isEmpty(); }));
}

} // namespace

QVector<int> rankCandidates(const QVector<RecognizerGuess> &guesses, int strokesDrawn,
                            const Catalogue &catalogue, int reachedLevel, int max)
{
    if (guesses.isEmpty())
        return {};
    return rank(guesses, strokesDrawn, catalogue, reachedLevel, max, nullptr, nullptr);
}

QVector<int> rankCandidates(const QVector<RecognizerGuess> &guesses, const Ink &ink,
                            const Catalogue &catalogue, const ReferenceStrokes &reference, int reachedLevel,
                            int max)
{
    const int drawn = strokesIn(ink);
    if (drawn == 0)
        return {};
    return rank(guesses, drawn, catalogue, reachedLevel, max, &ink, &reference);
}

} // namespace fm
