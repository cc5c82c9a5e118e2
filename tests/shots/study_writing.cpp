// Writing by hand with the build's data: a writing question with the kanji
// written on the square and its candidates, and the stroke-order window
// half drawn and finished.
#include "handwriting/reference.h"
#include "handwriting/strokeorderview.h"
#include "shell/writing.h"
#include "shots.h"
#include "study/levelup.h"
#include "study/test_shutsudai_fixture.h"

using namespace fm;
using namespace studytest;

TEST(WritingShots, TheSquareItsCandidatesAndTheStrokeOrder)
{
    TestWorld w(3, StudyKind::Writing, true);
    ASSERT_TRUE(w.useBuildFiles()) << "the build has not made the program's files";
    ASSERT_TRUE(w.useCentreLines());
    const ReferenceStrokes reference = ReferenceStrokes::load(QStringLiteral(FUDEMARU_BIN_DIR "/"));
    TF_Shutsudai *s = w.open();
    w.start();
    const int kanji = w.current().Kanji;
    for (int k = 1; k <= 240; ++k)
        w.t.handwriting.strokes[k] = reference.of(k);
    // Candidates as the recogniser would rank them: the kanji, then others
    // with as many strokes.
    w.t.handwriting.answer = {kanji};
    for (int k = 1; k <= 240 && w.t.handwriting.answer.size() < WritingCandidateCount; ++k)
        if (k != kanji && w.t.state.Cat.KanjiTable[k].Strokes == w.t.state.Cat.KanjiTable[kanji].Strokes)
            w.t.handwriting.answer << k;
    shots::save(s, QStringLiteral("test-writing-offered"));
    w.click(w.button("Btn_Kaku"));
    WritingSquare *sq = w.ctl<WritingSquare>("Img_Kaku");
    shots::save(s, QStringLiteral("test-writing-square-empty"));
    const double f = sq->width() / double(InkSide);
    for (const InkStroke &stroke : inkFromReference(reference.of(kanji))) {
        QVector<QPointF> points;
        for (const QPointF &p : stroke)
            points << p * f;
        sq->writeStroke(points);
    }
    shots::save(s, QStringLiteral("test-writing-square"));
    w.click(w.button("Btn_Kouho", 1));
    shots::save(s, QStringLiteral("test-writing-chosen"));
    // A second pick replaces the first; the next question opens on the square.
    if (w.button("Btn_Kouho", 2)->isVisible()) {
        w.click(w.button("Btn_Kouho", 2));
        shots::save(s, QStringLiteral("test-writing-chosen-again"));
    }
    w.click(w.button("Btn_Kouho", 1));
    w.t.dialogs.answers = {Answer::No};
    w.click(w.button("Btn_Next"));
    for (const InkStroke &stroke : inkFromReference(reference.of(w.current().Kanji))) {
        QVector<QPointF> points;
        for (const QPointF &p : stroke)
            points << p * f;
        sq->writeStroke(points);
    }
    shots::save(s, QStringLiteral("test-writing-next-question-on-the-square"));

    // The result window keeps the stroke-order advice.
    QuestionSlot &first = w.t.state.QuestionSlots[1];
    first.PlayerAnswer = first.CorrectAnswer;
    first.WrittenGlyph = first.CorrectAnswer;
    first.StrokeOrderDiffers = true;
    first.Correct = 1;
    w.t.state.TestScore = 10;
    {
        TF_Level_Up result(w.t.services, s);
        result.show();
        shots::save(&result, QStringLiteral("result-with-stroke-order-advice"));
    }

    TF_Kakijun window(w.t.services, kanji, s);
    window.show();
    auto *strokeOrder = fm::test::child<StrokeOrderView>(&window, "Img_Kakijun");
    for (int i = 0; i < 2 * StrokeOrderView::TicksPerStroke + 5; ++i)
        fm::test::tick(strokeOrder, "Tim_Draw");
    shots::save(&window, QStringLiteral("kakijun-drawing"));
    while (!strokeOrder->finished())
        fm::test::tick(strokeOrder, "Tim_Draw");
    shots::save(&window, QStringLiteral("kakijun"));
}
