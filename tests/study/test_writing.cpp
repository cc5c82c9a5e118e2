// Answering a writing question by writing the kanji: the square, its
// candidates, the stroke-order advice after grading, and the stroke-order
// picture from the review and the hint.
#include "data/hintfile.h"
#include "handwriting/kanjipage.h"
#include "handwriting/reference.h"
#include "handwriting/strokeorderview.h"
#include "shell/catalogue.h"
#include "shell/writing.h"
#include "study/hint.h"
#include "study/levelup.h"
#include "test_shutsudai_fixture.h"
#include <QTableWidget>

using namespace fm;
using namespace studytest;
using Kind = fm::test::FakeDialogs::Kind;
using fm::test::child;

namespace
{

// A horizontal stroke across the square at height y (widget coordinates).
QVector<QPointF> across(const WritingSquare *square, double y)
{
    return {QPointF(20, y), QPointF(square->width() / 2.0, y), QPointF(square->width() - 20, y)};
}

WritingSquare *square(const TestWorld &w)
{
    return w.ctl<WritingSquare>("Img_Kaku");
}

// A horizontal stroke written across the square at height y.
void writeAcross(const TestWorld &w, double y)
{
    square(w)->writeStroke(across(square(w), y));
}

QStringList shownCandidates(const TestWorld &w)
{
    QStringList out;
    for (int i = 1; i <= WritingCandidateCount; ++i)
        if (w.button("Btn_Kouho", i)->isVisible())
            out << w.button("Btn_Kouho", i)->text();
    return out;
}

// The first question of a level-2 writing challenge, started.
class WritingOnTheSquare : public ::testing::Test
{
  protected:
    WritingOnTheSquare() { w.start(); }

    // The square opened and one stroke written; the recogniser offers `offered`.
    void writeOne(const QVector<int> &offered)
    {
        w.click(w.button("Btn_Kaku"));
        w.t.handwriting.answer = offered;
        writeAcross(w, 128);
    }

    // The right kanji has three strokes; two written, it is offered second.
    void writeTwoOfThree()
    {
        w.click(w.button("Btn_Kaku"));
        w.t.handwriting.strokes[kanji] = {
            {{30, 60}, {220, 60}}, {{30, 128}, {220, 128}}, {{30, 200}, {220, 200}}};
        w.t.handwriting.answer = {other, kanji};
        writeAcross(w, 40);
        writeAcross(w, 200);
    }

    // Those two strokes picked as the kanji, the rest answered right by the
    // list (back from the square once), and the test handed to grading.
    void toGrading()
    {
        writeTwoOfThree();
        w.click(w.button("Btn_Kouho", 2));
        w.t.dialogs.answers = {Answer::Yes};
        for (int q = 1; q <= 10 && !w.grading(); ++q) {
            if (q > 1) {
                if (w.ctl<QGroupBox>("Grp_Kaku")->isVisible())
                    w.click(w.button("Btn_Cancel"));
                w.click(w.button("Btn_Kakusuu", strokesOf(w.slot(q).Kanji)));
                ASSERT_TRUE(w.clickCandidate(w.slot(q).CorrectAnswer)) << q;
            }
            w.click(w.button("Btn_Next"));
        }
        g = w.grading();
        ASSERT_NE(g, nullptr);
    }

    TestWorld w{2, StudyKind::Writing, true};
    TF_Shutsudai *s = w.open();
    const AnswerPanels &p = s->answerPanels();
    const int kanji = w.slot(1).Kanji, other = kanji == 1 ? 2 : 1;
    TF_Saiten *g = nullptr; // after toGrading()
};

} // namespace

TEST_F(WritingOnTheSquare, KakuOpensTheSquareInPlaceOfTheLists)
{
    ASSERT_NE(w.button("Btn_Kaku"), nullptr);
    EXPECT_TRUE(w.button("Btn_Kaku")->isVisible());
    w.click(w.button("Btn_Kaku"));
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Kaku")->isVisible());
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Bushu")->isVisible());
    EXPECT_TRUE(w.button("Btn_Cancel")->isVisible());
    EXPECT_EQ(w.t.handwriting.opens, 1);
}

TEST_F(WritingOnTheSquare, WrittenStrokesBringCandidatesAndThePickIsTheAnswer)
{
    writeTwoOfThree();
    EXPECT_EQ(square(w)->strokeCount(), 2);
    EXPECT_EQ(shownCandidates(w),
              (QStringList{cp932::toUnicode(glyphOf(other)), cp932::toUnicode(glyphOf(kanji))}));
    // Points are in the square's 0..255 coordinates, whatever its size on screen.
    for (const InkStroke &stroke : w.t.handwriting.asked.last())
        for (const QPointF &pt : stroke) {
            EXPECT_GE(pt.x(), 0);
            EXPECT_LT(pt.x(), InkSide);
        }
    w.click(w.button("Btn_Kouho", 2));
    EXPECT_EQ(p.answer(), glyphOf(kanji));
}

// Written in another stroke order, the kanji still counts, and grading
// tells the child gently beside its row, and beside no other.
TEST_F(WritingOnTheSquare, AKanjiWrittenInAnotherOrderCountsAndOnlyItGetsAdvice)
{
    ASSERT_NO_FATAL_FAILURE(toGrading());
    EXPECT_TRUE(w.slot(1).StrokeOrderDiffers);
    w.tickGrading();
    EXPECT_EQ(child<QTableWidget>(g, "Grd_Saiten")->item(1, 4)->text(),
              QStringLiteral("○")); // it still counts
    EXPECT_TRUE(child<QLabel>(g, "Lbl_Kakijun")->isVisible());
    ASSERT_TRUE(child<QPushButton>(g, "Btn_Kakijun", 1)->isVisible());
    EXPECT_EQ(child<QPushButton>(g, "Btn_Kakijun", 1)->text(), cp932::toUnicode(glyphOf(kanji)));
    for (int i = 0; i < 9; ++i)
        w.tickGrading();
    EXPECT_EQ(w.t.state.TestScore, 10);
    for (int q = 2; q <= 10; ++q)
        EXPECT_FALSE(child<QPushButton>(g, "Btn_Kakijun", q)->isVisible()) << q; // not written: no advice
}

// The kanji's page opens over grading, which waits for the child to come back.
TEST_F(WritingOnTheSquare, TheAdviceOpensTheKanjisPageAndMarkingWaitsForTheChild)
{
    ASSERT_NO_FATAL_FAILURE(toGrading());
    ASSERT_TRUE(w.useCentreLines());
    w.tickGrading();
    w.click(child<QPushButton>(g, "Btn_Kakijun", 1));
    auto *page = dynamic_cast<TF_KanjiPage *>(w.t.nav.current());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->kanji(), kanji);
    EXPECT_FALSE(child<QTimer>(g, "Tim_Saiten")->isActive());
    w.click(child<QPushButton>(page, "Btn_Modoru"));
    EXPECT_EQ(w.t.nav.current(), g);
    EXPECT_TRUE(child<QTimer>(g, "Tim_Saiten")->isActive());
}

// Grading moves on by itself; the advice waits on the result window
// until the child presses "もどる".
TEST_F(WritingOnTheSquare, TheResultWindowKeepsTheAdvice)
{
    ASSERT_NO_FATAL_FAILURE(toGrading());
    for (int i = 0; i < 10; ++i)
        w.tickGrading();
    int adviceShown = 0;
    QString adviceGlyph;
    bool fitsWindow = false;
    ModalWatcher result([&](QWidget *win) {
        auto *r = qobject_cast<TF_Level_Up *>(win);
        if (!r)
            return;
        for (int q = 1; q <= 10; ++q)
            adviceShown += !child<QPushButton>(r, "Btn_Kakijun", q)->isHidden();
        adviceGlyph = child<QPushButton>(r, "Btn_Kakijun", 1)->text();
        fitsWindow = r->rect().contains(child<QPushButton>(r, "BitBtn1")->geometry()) &&
                     !child<QPushButton>(r, "BitBtn1")
                          ->geometry()
                          .intersects(child<QPushButton>(r, "Btn_Kakijun", 1)->geometry());
    });
    w.tickGrading();
    EXPECT_EQ(result.seen, 1);
    EXPECT_EQ(adviceShown, 1);
    EXPECT_EQ(adviceGlyph, cp932::toUnicode(glyphOf(kanji)));
    EXPECT_TRUE(fitsWindow);
}

// The faults a child met on the square, one test each: two picks made a
// two-kanji answer, "erase and write again" added a kanji, the square closed
// on every question, and a drawing never chosen was lost without a word.
TEST_F(WritingOnTheSquare, OfTwoPicksTheSecondIsTheOneAnswer)
{
    writeOne({other, kanji});
    EXPECT_TRUE(w.ctl<QLabel>("Lbl_KakuJoutai")->text().contains(QStringLiteral("えらぼう")));
    w.click(w.button("Btn_Kouho", 1));
    w.click(w.button("Btn_Kouho", 2));
    EXPECT_EQ(p.answer(), glyphOf(kanji));
    EXPECT_EQ(p.chosenCandidate(), 2);
    EXPECT_TRUE(w.button("Btn_Kouho", 2)->isChecked());
    EXPECT_FALSE(w.button("Btn_Kouho", 1)->isChecked());
    EXPECT_TRUE(w.ctl<QLabel>("Lbl_KakuJoutai")->text().contains(cp932::toUnicode(glyphOf(kanji))));
    EXPECT_FALSE(w.ctl<QLabel>("Lbl_KakuJoutai")->text().contains(QStringLiteral("えらぼう")));
}

// The square's erase buttons are not the answer line's. Write again and
// pick: one kanji, the new one.
TEST_F(WritingOnTheSquare, ErasingTheDrawingKeepsTheAnswerUntilTheNextPick)
{
    writeOne({other, kanji});
    EXPECT_NE(w.button("Btn_Zenbu")->text(), w.button("Btn_Delall")->text());
    EXPECT_NE(w.button("Btn_Hitotsu")->text(), w.button("Btn_DelPart")->text());
    w.click(w.button("Btn_Kouho", 2));
    w.click(w.button("Btn_Zenbu"));
    EXPECT_EQ(p.answer(), glyphOf(kanji)); // the drawing went, the answer stays
    w.t.handwriting.answer = {other};
    writeAcross(w, 100);
    w.click(w.button("Btn_Kouho", 1));
    EXPECT_EQ(p.answer(), glyphOf(other));
}

// The next question opens on the square again, "もどる" beside it.
TEST_F(WritingOnTheSquare, TheNextQuestionOpensOnACleanSquare)
{
    writeOne({other});
    w.click(w.button("Btn_Kouho", 1));
    w.click(w.button("Btn_Next"));
    ASSERT_EQ(s->currentQuestion(), 2);
    EXPECT_EQ(w.slot(1).PlayerAnswer, glyphOf(other));
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Kaku")->isVisible());
    EXPECT_TRUE(w.button("Btn_Cancel")->isVisible());
    EXPECT_EQ(square(w)->strokeCount(), 0);
    EXPECT_EQ(p.chosenCandidate(), 0);
}

// Written, never chosen: つぎ asks once; "no" stays, the next つぎ goes on.
TEST_F(WritingOnTheSquare, ADrawingNeverChosenIsAskedAboutOnce)
{
    w.click(w.button("Btn_Kaku"));
    w.click(w.button("Btn_Next")); // question 1 left unanswered
    w.t.handwriting.answer = {other};
    writeAcross(w, 128);
    const int asked = w.t.dialogs.count(Kind::Question);
    w.t.dialogs.answers = {Answer::No};
    w.click(w.button("Btn_Next"));
    EXPECT_EQ(s->currentQuestion(), 2);
    EXPECT_EQ(w.t.dialogs.count(Kind::Question), asked + 1);
    w.click(w.button("Btn_Next"));
    EXPECT_EQ(s->currentQuestion(), 3);
    EXPECT_EQ(w.t.dialogs.count(Kind::Question), asked + 1);
    EXPECT_TRUE(w.slot(2).PlayerAnswer.isEmpty());
    EXPECT_TRUE(w.slot(2).DrawingUnchosen);
}

// A chosen answer erased from the answer line leaves the drawing unchosen again.
TEST_F(WritingOnTheSquare, AChosenAnswerErasedFromTheLineLeavesTheDrawingUnchosen)
{
    writeOne({kanji});
    w.click(w.button("Btn_Kouho", 1));
    EXPECT_FALSE(p.drawingUnchosen());
    w.click(w.button("Btn_Delall"));
    EXPECT_EQ(p.chosenCandidate(), 0);
    EXPECT_TRUE(p.drawingUnchosen());
}

// "もどる" from the square: the lists, from now on.
TEST_F(WritingOnTheSquare, BackFromTheSquareKeepsToTheListsFromThenOn)
{
    w.click(w.button("Btn_Kaku"));
    w.click(w.button("Btn_Next")); // questions 1 and 2 left unanswered, on the square
    w.click(w.button("Btn_Next"));
    w.click(w.button("Btn_Cancel"));
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Kaku")->isVisible());
    w.click(w.button("Btn_Next"));
    ASSERT_EQ(s->currentQuestion(), 4);
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Bushu")->isVisible());
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Kaku")->isVisible());
    EXPECT_FALSE(w.button("Btn_Cancel")->isVisible());
}

TEST(WritingAnswer, WhenTheClockRunsOutTheChosenKanjiCountsAndAnUnchosenDrawingSaysWhy)
{
    struct Case {
        const char *what;
        bool pick;
        bool right;
        QString cell; // the grading table's answer cell
    };
    const Case cases[] = {
        {"chosen, つぎ not pressed yet", true, true, QString()},
        {"written, never chosen", false, false, QStringLiteral("えらんでない")},
    };
    for (const Case &c : cases) {
        TestWorld w(2, StudyKind::Writing, true);
        w.open();
        w.start();
        w.click(w.button("Btn_Kaku"));
        const int kanji = w.slot(1).Kanji;
        w.t.handwriting.answer = {kanji};
        writeAcross(w, 128);
        if (c.pick)
            w.click(w.button("Btn_Kouho", 1));
        w.t.clock.advanceSeconds(11 * 60);
        w.tickClock();
        TF_Saiten *g = w.grading();
        ASSERT_NE(g, nullptr) << c.what;
        EXPECT_EQ(w.slot(1).PlayerAnswer.isEmpty(), !c.pick) << c.what;
        fm::test::tick(g, "Tim_Saiten");
        EXPECT_EQ(child<QTableWidget>(g, "Grd_Saiten")->item(1, 4)->text(),
                  c.right ? QStringLiteral("○") : QStringLiteral("×"))
            << c.what;
        const QString expected = c.cell.isEmpty() ? cp932::toUnicode(glyphOf(kanji)) : c.cell;
        EXPECT_EQ(child<QTableWidget>(g, "Grd_Saiten")->item(1, 2)->text(), expected) << c.what;
    }
}

TEST(WritingAnswer, TheSquareKeepsEveryAnswerAlreadyGivenWhateverHappensMidStroke)
{
    TestWorld w(2, StudyKind::Writing, true);
    TF_Shutsudai *s = w.open();
    w.start();
    w.click(w.button("Btn_Kaku"));
    WritingSquare *sq = square(w);
    QGroupBox *box = w.ctl<QGroupBox>("Grp_Kaku");
    const int kanji = w.slot(1).Kanji;
    w.t.handwriting.answer = {kanji};

    // A double click is two dots; a stroke running off the square stays on its edge.
    QTest::mouseClick(sq, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseDClick(sq, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(sq, Qt::LeftButton, {}, QPoint(100, 100));
    const int afterDots = sq->strokeCount();
    EXPECT_EQ(afterDots, 2);
    sq->writeStroke({QPointF(120, 120), QPointF(5000, -300)});
    EXPECT_EQ(sq->strokeCount(), afterDots + 1);
    const QPointF edge = sq->ink().last().last();
    EXPECT_EQ(edge, QPointF(InkSide - 1, 0));
    // A press well outside the paper starts nothing.
    sq->writeStroke({QPointF(-60, -60), QPointF(50, 50)});
    EXPECT_EQ(sq->strokeCount(), afterDots + 1);
    // 三 begun a few pixels left of the square, as a child's hand misses its
    // edge: the press lands beside the square and still starts the stroke,
    // on the edge, and the stroke goes on across.
    const QPoint left = sq->geometry().topLeft() + QPoint(-8, 60);
    QTest::mousePress(box, Qt::LeftButton, {}, left);
    QTest::mouseMove(box, left + QPoint(120, 2));
    QTest::mouseMove(box, left + QPoint(240, 4));
    QTest::mouseRelease(box, Qt::LeftButton, {}, left + QPoint(240, 4));
    ASSERT_EQ(sq->strokeCount(), afterDots + 2);
    EXPECT_EQ(sq->ink().last().first().x(), 0);
    EXPECT_GT(sq->ink().last().last().x(), 200);
    EXPECT_FALSE(sq->drawing());
    // Farther off, beside the square, a press is not a stroke.
    QTest::mousePress(box, Qt::LeftButton, {}, sq->geometry().topRight() + QPoint(60, 60));
    QTest::mouseRelease(box, Qt::LeftButton, {}, sq->geometry().topRight() + QPoint(60, 60));
    EXPECT_EQ(sq->strokeCount(), afterDots + 2);
    w.click(w.button("Btn_Hitotsu"));
    EXPECT_EQ(sq->strokeCount(), afterDots + 1);

    // Take back one, then all: the candidates follow.
    w.click(w.button("Btn_Hitotsu"));
    EXPECT_EQ(sq->strokeCount(), afterDots);
    w.click(w.button("Btn_Zenbu"));
    EXPECT_EQ(sq->strokeCount(), 0);
    EXPECT_TRUE(shownCandidates(w).isEmpty());

    // Answer, then start another stroke and press つぎ before letting go.
    sq->writeStroke(across(sq, 128));
    w.click(w.button("Btn_Kouho", 1));
    QTest::mousePress(sq, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_TRUE(sq->drawing());
    w.click(w.button("Btn_Next"));
    EXPECT_EQ(w.slot(1).PlayerAnswer, glyphOf(kanji));
    EXPECT_EQ(s->currentQuestion(), 2);
    EXPECT_FALSE(sq->drawing());
    EXPECT_EQ(sq->strokeCount(), 0); // a new question starts on clean paper
    EXPECT_TRUE(box->isVisible());   // the child's way of answering is kept

    // The clock runs out while the child is writing: grading still comes,
    // with the first answer.
    QTest::mousePress(sq, Qt::LeftButton, {}, QPoint(60, 60));
    w.t.clock.advanceSeconds(11 * 60);
    w.tickClock();
    ASSERT_NE(w.grading(), nullptr);
    EXPECT_EQ(w.slot(1).PlayerAnswer, glyphOf(kanji));
}

TEST(WritingAnswer, TheSquareIsOfferedOnlyWhereItCanWork)
{
    struct Case {
        const char *what;
        StudyKind kind;
        bool setting;
        Handwriting::Status status;
        bool offered;
    };
    const Case cases[] = {
        {"writing, on, model closed", StudyKind::Writing, true, Handwriting::Status::Closed, true},
        {"reading tests never", StudyKind::Reading, true, Handwriting::Status::Closed, false},
        {"a parent turned it off", StudyKind::Writing, false, Handwriting::Status::Closed, false},
        {"model or strokes missing", StudyKind::Writing, true, Handwriting::Status::Unavailable, false},
        {"model damaged", StudyKind::Writing, true, Handwriting::Status::Failed, false},
    };
    for (const Case &c : cases) {
        TestWorld w(2, c.kind, true);
        w.t.state.Settings.HandwritingEnabled = c.setting;
        w.t.handwriting.current = c.status;
        w.open();
        w.start();
        EXPECT_EQ(w.has("Btn_Kaku") && w.button("Btn_Kaku")->isVisible(), c.offered) << c.what;
    }

    // A model that turns out damaged when opened: the square says so and
    // "もどる" leads back to the other ways.
    TestWorld w(2, StudyKind::Writing, true);
    w.t.handwriting.openReady = false;
    w.open();
    w.start();
    w.click(w.button("Btn_Kaku"));
    EXPECT_TRUE(w.ctl<QLabel>("Lbl_KakuJoutai")->text().contains(QStringLiteral("ほかの")));
    w.click(w.button("Btn_Cancel"));
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Bushu")->isVisible());
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Kaku")->isVisible());
}

TEST(WritingAnswer, TheReviewAndThePracticeHintShowTheStrokeOrder)
{
    {
        TestWorld w(2, StudyKind::Writing, false);
        ASSERT_TRUE(w.useCentreLines());
        TF_Shutsudai *s = w.open();
        w.start();
        const int missed = w.slot(3).Kanji;
        w.t.handwriting.strokes[missed] = {{{30, 60}, {220, 60}}};
        w.reviewWithMissed(s, {3});
        ASSERT_EQ(s->currentQuestion(), 3);
        ASSERT_TRUE(w.button("Btn_Kakijun")->isVisible());
        // It opens the missed kanji's page; もどる comes back to the same question.
        w.click(w.button("Btn_Kakijun"));
        auto *page = dynamic_cast<TF_KanjiPage *>(w.t.nav.current());
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->kanji(), missed);
        w.click(child<QPushButton>(page, "Btn_Modoru"));
        EXPECT_EQ(w.t.nav.current(), s);
        EXPECT_EQ(s->currentQuestion(), 3);

        // Written on the square but not chosen: "こたえあわせ" reminds once
        // instead of marking the child wrong; a second press checks.
        w.click(w.button("Btn_Kaku"));
        writeAcross(w, 128);
        const int told = w.t.dialogs.count(Kind::Information);
        w.t.clock.advanceSeconds(1);
        w.click(w.button("Btn_awase"));
        EXPECT_EQ(w.t.dialogs.count(Kind::Information), told + 1);
        EXPECT_TRUE(w.ctl<JudgeMark>("Img_Mark")->mark().isEmpty());
        w.t.clock.advanceSeconds(1);
        w.click(w.button("Btn_awase"));
        EXPECT_EQ(w.t.dialogs.count(Kind::Information), told + 1);
        EXPECT_EQ(w.ctl<JudgeMark>("Img_Mark")->mark(), QStringLiteral("×"));
        EXPECT_EQ(s->currentQuestion(), 3);
    }

    // The hint window of a practice writing question offers it with the
    // answer hint; a challenge test offers neither.
    for (bool challenge : {false, true}) {
        TestWorld h(2, StudyKind::Writing, challenge);
        HintRecord page;
        page.Screen = screenRow(ScreenId::Shutsudai).number;
        page.Situation = 2;
        page.Kind = 2;
        page.Number = 1;
        writeFile(h.t.file(QStringLiteral("Hint.dat")), encodeHintRecord(page));
        TF_Shutsudai *hs = h.open();
        h.start();
        h.t.handwriting.strokes[h.slot(1).Kanji] = {{{30, 60}, {220, 60}}};
        bool offered = false;
        ModalWatcher hints([&](QWidget *win) {
            if (auto *hint = qobject_cast<TF_Hint *>(win))
                offered = child<QPushButton>(hint, "Btn_Kakijun")->isVisible();
        });
        h.click(fm::test::headerButton(hs, 1));
        EXPECT_EQ(hints.seen, 1);
        EXPECT_EQ(offered, !challenge);
    }
}
