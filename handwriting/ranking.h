#pragma once
// From the recogniser's guesses to the candidates a child sees: only the
// kanji the program teaches, ranked by the recogniser's score combined with
// how close the stroke count drawn is to each kanji's own, kanji of levels the
// child has reached first among near equals.
#include "handwriting/recognizer.h"
#include "handwriting/reference.h"

namespace fm
{

struct Catalogue;

constexpr int HandwritingCandidateMax = 5;
// How many guesses to ask the recogniser for before keeping the taught kanji.
constexpr int RecognizerGuessCount = 300;

// Kanji numbers (as in Kanji1.dat), best first, at most `max`.
// reachedLevel is the child's level (1..12); 0 prefers no level.
QVector<int> rankCandidates(const QVector<RecognizerGuess> &guesses, int strokesDrawn,
                            const Catalogue &catalogue, int reachedLevel, int max = HandwritingCandidateMax);

// The same, with the ink itself also laid over each taught kanji's reference
// strokes (strokeShapeDistance): a kanji whose strokes the drawing follows
// rises, even one the recogniser did not guess. What the writing square uses.
QVector<int> rankCandidates(const QVector<RecognizerGuess> &guesses, const Ink &ink,
                            const Catalogue &catalogue, const ReferenceStrokes &reference, int reachedLevel,
                            int max = HandwritingCandidateMax);

// How much of the square the ink's longer side spans once placed by its own
// extent for recognition (placedByExtent): about what the model was trained on.
constexpr double RecognitionFill = 0.8;

// What the writing square shows: the ink placed by its own extent (where
// and how large it was written does not matter), recognised, ranked with
// the shape comparison.
QVector<int> candidatesFor(const Recognizer &recognizer, const Ink &ink, const Catalogue &catalogue,
                           const ReferenceStrokes &reference, int reachedLevel,
                           int max = HandwritingCandidateMax);

} // namespace fm
