#include "handwriting/ranking.h"
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/levels.h"
#include "handwriting/placement.h"
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
// A taught kanji the recogniser did not name among its guesses still stands
// by its shape, as if it had been named with a poor score: -1, or just below
// the poorest it named when that is lower (a fixed score would rank it above
// the many it did name with less).
constexpr double kUnguessedScore = -1.0;
constexpr double kBelowPoorest = 0.05;
// How many of the kanji the shape fits best are read again in their own
// stroke order, and what each stroke out of place or turned costs then.
constexpr int kRereadCount = 3;
constexpr double kSlipCost = 0.1;
// Kanji the child has reached go first only among near equals.
constexpr double kReachedBonus = 0.05;

struct Scored {
    int kanji = 0;
    double value = 0;
};

// Each taught kanji's shape distance from the ink (NaN where it has no
// reference strokes), worked out once per drawing.
QVector<double> shapeDistances(const Ink &ink, const Catalogue &catalogue, const ReferenceStrokes &reference)
{
    QVector<double> out(MaxKanjiNumber + 1, std::numeric_limits<double>::quiet_NaN());
    for (int k = 1; k <= MaxKanjiNumber; ++k)
        if (catalogue.KanjiTable[k].Strokes > 0 && !reference.of(k).isEmpty())
            out[k] = std::max(0.0, strokeShapeDistance(ink, reference.of(k)));
    return out;
}

QVector<int> rank(const QVector<RecognizerGuess> &guesses, int strokesDrawn, const Catalogue &catalogue,
                  int reachedLevel, int max, const QVector<double> *shape)
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
    if (shape) {
        double unguessed = kUnguessedScore;
        for (const int k : order)
            unguessed = std::min(unguessed, score[k] - kBelowPoorest);
        for (const int k : taught)
            if (std::isnan(score[k]) && !std::isnan((*shape)[k])) {
                score[k] = unguessed;
                order.push_back(k);
            }
    }
    const int lastReached = reachedLevel >= 1 ? lastKanjiOf(std::min(reachedLevel, LevelCount)) : 0;

    QVector<Scored> scored;
    scored.reserve(order.size());
    for (const int k : order) {
        const int off = std::abs(strokesDrawn - catalogue.KanjiTable[k].Strokes);
        double value = score[k] - kStrokeWeight * off;
        if (shape && !std::isnan((*shape)[k]))
            value -= kShapeWeight * (*shape)[k];
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
    return rank(guesses, strokesDrawn, catalogue, reachedLevel, max, nullptr);
}

QVector<int> rankCandidates(const QVector<RecognizerGuess> &guesses, const Ink &ink,
                            const Catalogue &catalogue, const ReferenceStrokes &reference, int reachedLevel,
                            int max)
{
    const int drawn = strokesIn(ink);
    if (drawn == 0)
        return {};
    const QVector<double> shape = shapeDistances(ink, catalogue, reference);
    return rank(guesses, drawn, catalogue, reachedLevel, max, &shape);
}

QVector<int> candidatesFor(const Recognizer &recognizer, const Ink &ink, const Catalogue &catalogue,
                           const ReferenceStrokes &reference, int reachedLevel, int max)
{
    const int drawn = strokesIn(ink);
    if (drawn == 0)
        return {};
    const Ink placed = placedByExtent(ink, RecognitionFill);
    QVector<RecognizerGuess> guesses = recognizer.classify(placed, RecognizerGuessCount);
    const QVector<double> shape = shapeDistances(placed, catalogue, reference);
    // The recogniser reads the strokes in the order and direction drawn. For
    // the few kanji the drawing's shape fits best, the strokes are also read
    // in that kanji's own order and direction, and the better score counts,
    // less a little for each slip: a stroke order slip is advice for after
    // the answer, not a reason to miss the kanji.
    for (const int k : rank({}, drawn, catalogue, reachedLevel, kRereadCount, &shape)) {
        int slips = 0;
        const std::optional<Ink> reordered = inkInReferenceOrder(placed, reference.of(k), &slips);
        if (!reordered)
            continue;
        const QString glyph = cp932::toUnicode(catalogue.KanjiTable[k].Glyph);
        const QVector<RecognizerGuess> again = recognizer.classify(*reordered, RecognizerGuessCount);
        const auto named = std::find_if(again.begin(), again.end(),
                                        [&](const RecognizerGuess &g) { return g.glyph == glyph; });
        if (named == again.end())
            continue;
        const auto before = std::find_if(guesses.begin(), guesses.end(),
                                         [&](const RecognizerGuess &g) { return g.glyph == glyph; });
        if (before == guesses.end())
            guesses.push_back({glyph, named->score - kSlipCost * slips});
        else
            before->score = std::max(before->score, named->score - kSlipCost * slips);
    }
    return rank(guesses, drawn, catalogue, reachedLevel, max, &shape);
}

} // namespace fm
