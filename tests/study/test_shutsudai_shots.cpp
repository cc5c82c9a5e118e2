// What the test screen draws, checked by pixel (the screenshot tool in
// tests/shots saves the same screens as pictures), and whole tests on the
// program files the build made.
#include "test_shutsudai_fixture.h"
#include <QPixmap>

using namespace fm;
using namespace studytest;

namespace
{

QImage grab(QWidget *w)
{
    return w->grab().toImage();
}

// Pixels of exactly this colour inside r.
int countColour(const QImage &image, const QRect &r, const QColor &c)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.pixelColor(x, y) == c;
    return n;
}

} // namespace

TEST(TestScreenShots, ReadingWritingPartsAndReview)
{
    for (StudyKind kind : {StudyKind::Reading, StudyKind::Writing}) {
        TestWorld w(3, kind, true);
        w.useBuildFiles(); // small generated files when the build has not made them
        TF_Shutsudai *s = w.open();
        w.start();
        if (kind == StudyKind::Reading) {
            w.typeKana(cp932::charAt(w.current().CorrectAnswer, 0));
            const QImage shot = grab(s);
            ASSERT_EQ(shot.size(), QSize(640, 480));
            // The red kanji stands in the question box; the rest is navy ground.
            EXPECT_GT(countColour(shot, w.ctl<QGroupBox>("Grp_Mondai")->geometry(), colour::Red), 20);
            EXPECT_EQ(shot.pixelColor(636, 476), colour::Navy);
            continue;
        }
        const QImage first = grab(s);
        EXPECT_GT(countColour(first, w.ctl<QGroupBox>("Grp_Mondai")->geometry(), colour::Red), 20);
        const int k = w.current().Kanji;
        const KanjiEntry &e = w.t.state.Cat.KanjiTable[k];
        const int group = e.Part1Group >= 1 && e.Part1Group <= 8 ? e.Part1Group : 1;
        w.click(w.button("Btn_Bushu", group));
        const QImage parts = grab(s);
        // The part pictures cover their buttons with something other than navy.
        const QRect firstPart =
            w.button("Btn_Buhin", 1)->geometry().translated(w.ctl<QGroupBox>("Grp_Buhin")->pos());
        EXPECT_LT(countColour(parts, firstPart, colour::Navy), firstPart.width() * firstPart.height() / 4);
        if (e.Part1Group == group)
            w.click(w.button("Btn_Buhin", e.Part1Position));
        else
            w.click(w.button("Btn_Gakunen_all"));
        EXPECT_TRUE(w.clickCandidate(w.current().CorrectAnswer));

        // The review screen of a test with questions 3 and 5 missed.
        w.reviewWithMissed(s, {3, 5});
        EXPECT_EQ(s->currentQuestion(), 3);

        // A wrong check, then a right one: the marks over the answer line.
        w.click(w.button("Btn_awase"));
        EXPECT_GT(countColour(grab(s), w.ctl<JudgeMark>("Img_Mark")->geometry(), QColor(20, 100, 255)), 100);
        w.click(w.button("Btn_Kakusuu", w.t.state.Cat.KanjiTable[w.current().Kanji].Strokes));
        ASSERT_TRUE(w.clickCandidate(w.current().CorrectAnswer));
        w.click(w.button("Btn_awase"));
        EXPECT_EQ(s->currentQuestion(), 5);
        EXPECT_GT(countColour(grab(s), w.ctl<JudgeMark>("Img_Mark")->geometry(), colour::Red), 100);
    }
}

// Whole tests on the shipped data: every question of every level can be
// answered on the panels, by kana keys for reading and by a list of kanji
// for writing.
TEST(TestScreenWithBuildFiles, EveryLevelCanBeAnsweredOnThePanels)
{
    for (int level = 1; level <= 12; ++level) {
        for (StudyKind kind : {StudyKind::Reading, StudyKind::Writing}) {
            TestWorld w(level, kind, false);
            if (!w.useBuildFiles())
                GTEST_SKIP() << "the build has not made the program's data files";
            TF_Shutsudai *s = w.open();
            w.start();
            for (int n = 1; n <= 10; ++n) {
                const QuestionSlot &q = w.current();
                ASSERT_FALSE(q.CorrectAnswer.isEmpty()) << level << '/' << n;
                if (kind == StudyKind::Reading) {
                    ASSERT_LE(cp932::charCount(q.CorrectAnswer), ReadingAnswerLimit) << level;
                    w.typeKana(q.CorrectAnswer);
                } else {
                    w.click(w.button("Btn_Kakusuu", w.t.state.Cat.KanjiTable[q.Kanji].Strokes));
                    ASSERT_TRUE(w.clickCandidate(q.CorrectAnswer)) << level << '/' << q.Kanji;
                }
                ASSERT_EQ(s->answerPanels().answer(), q.CorrectAnswer) << level << '/' << n;
                if (n == 10)
                    w.t.dialogs.answers = {Answer::Yes};
                w.click(w.button("Btn_Next"));
            }
            ASSERT_NE(w.grading(), nullptr);
            for (int i = 0; i < 10; ++i)
                w.tickGrading();
            EXPECT_EQ(w.t.state.TestScore, 10) << level << '/' << fileValue(kind);
        }
    }
}
