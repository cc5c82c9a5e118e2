// Recognition quality on the real model: each of the 240 kanji drawn from its
// shipped reference strokes, wobbled a little, must come out among the
// candidates, and mostly first.
#include "data/levels.h"
#include "handwriting/ranking.h"
#include "hwtest.h"
#include <cstdio>

using namespace fm;

TEST(Quality, EveryKanjiDrawnFromItsStrokesIsRecognised)
{
    const QString modelPath = findHandwritingModel();
    if (modelPath.isEmpty())
        GTEST_SKIP() << "tegaki-zinnia-japanese is not installed: no model to measure";
    const ReferenceStrokes *strokes = test::shippedStrokes();
    ASSERT_NE(strokes, nullptr) << "Kakijun1.dat was not built";
    QString error;
    const std::unique_ptr<Recognizer> recognizer = openZinniaModel(modelPath, &error);
    ASSERT_NE(recognizer, nullptr) << error.toStdString();
    const Catalogue &cat = test::shippedCatalogue();

    int first = 0, inFive = 0, firstByRecogniser = 0, inFiveByRecogniser = 0;
    QStringList missed;
    for (int k = 1; k <= KanjiCount; ++k) {
        const ReferenceStrokeList &ref = strokes->of(k);
        // The shipped strokes are the catalogue's kanji, stroke for stroke.
        ASSERT_EQ(ref.size(), cat.KanjiTable[k].Strokes) << "kanji " << k;
        const Ink ink = test::jittered(inkFromReference(ref), 3.0, 1000u + unsigned(k));
        const QVector<RecognizerGuess> guesses = recognizer->classify(ink, RecognizerGuessCount);
        const QVector<int> found = rankCandidates(guesses, ink, cat, *strokes, 0);
        // For the record: the recogniser and the stroke count alone.
        const QVector<int> byRecogniser = rankCandidates(guesses, int(ink.size()), cat, 0);
        firstByRecogniser += !byRecogniser.isEmpty() && byRecogniser.first() == k;
        inFiveByRecogniser += byRecogniser.contains(k);
        first += !found.isEmpty() && found.first() == k;
        inFive += found.contains(k);
        if (!found.contains(k))
            missed << cp932::toUnicode(cat.KanjiTable[k].Glyph);
    }
    std::printf(
        "handwriting quality: first for %d of %d (%.1f %%), among five for %d (%.1f %%); not found: %s\n",
        first, KanjiCount, 100.0 * first / KanjiCount, inFive, 100.0 * inFive / KanjiCount,
        qPrintable(missed.join(' ')));
    std::printf("by the recogniser and the stroke count alone: first for %d, among five for %d\n",
                firstByRecogniser, inFiveByRecogniser);
    EXPECT_GE(inFive, 0.95 * KanjiCount);
    EXPECT_GE(first, 0.85 * KanjiCount);
}
