// The test screen with the build's data and pictures: a reading question
// being typed, a writing question with its parts panel and its list of
// kanji, and the review of a test with two questions missed, after a wrong
// and after a right check, and its last ○ before the result.
#include "shots.h"
#include "study/test_shutsudai_fixture.h"

using namespace fm;
using namespace studytest;

TEST(TestScreenShots, ReadingWritingPartsAndReview)
{
    for (StudyKind kind : {StudyKind::Reading, StudyKind::Writing}) {
        TestWorld w(3, kind, true);
        ASSERT_TRUE(w.useBuildFiles()) << "the build has not made the program's files";
        TF_Shutsudai *s = w.open();
        w.start();
        if (kind == StudyKind::Reading) {
            ASSERT_NO_FATAL_FAILURE(w.typeKana(cp932::charAt(w.current().CorrectAnswer, 0)));
            shots::save(s, QStringLiteral("test-reading"));
            continue;
        }
        shots::save(s, QStringLiteral("test-writing"));
        const KanjiEntry &e = w.t.state.Cat.KanjiTable[w.current().Kanji];
        const int group = e.Part1Group >= 1 && e.Part1Group <= 8 ? e.Part1Group : 1;
        w.click(w.button("Btn_Bushu", group));
        shots::save(s, QStringLiteral("test-parts"));
        if (e.Part1Group == group)
            w.click(w.button("Btn_Buhin", e.Part1Position));
        else
            w.click(w.button("Btn_Gakunen_all"));
        ASSERT_TRUE(w.clickCandidate(w.current().CorrectAnswer));
        shots::save(s, QStringLiteral("test-list"));

        // The review of a test with questions 3 and 5 missed.
        w.reviewWithMissed(s, {3, 5});
        shots::save(s, QStringLiteral("test-review"));

        // A wrong check, then a right one: the marks over the answer line.
        w.click(w.button("Btn_awase"));
        shots::save(s, QStringLiteral("test-review-wrong"));
        w.click(w.button("Btn_Kakusuu", w.t.state.Cat.KanjiTable[w.current().Kanji].Strokes));
        ASSERT_TRUE(w.clickCandidate(w.current().CorrectAnswer));
        w.click(w.button("Btn_awase"));
        shots::save(s, QStringLiteral("test-review-right"));

        // The last right check: its ○ stays a moment before the result opens.
        w.click(w.button("Btn_Kakusuu", w.t.state.Cat.KanjiTable[w.current().Kanji].Strokes));
        ASSERT_TRUE(w.clickCandidate(w.current().CorrectAnswer));
        w.click(w.button("Btn_awase"));
        ASSERT_TRUE(w.ctl<QTimer>("Tim_Result")->isActive());
        shots::save(s, QStringLiteral("test-review-last"));
        fm::test::ModalWatcher closesTheResult;
        fm::test::tick(s, "Tim_Result");
    }
}
