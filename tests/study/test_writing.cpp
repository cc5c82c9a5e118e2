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

namespace
{

// A horizontal stroke across the square at height y (widget coordinates).
QVector<QPointF> across(const WritingSquare *square, double y)
{
    return {QPointF(20, y), QPointF(square->width() / 2.0, y), QPointF(square->width() - 20, y)};
}

QStringList shownCandidates(const AnswerPanels *p)
{
    QStringList out;
    for (int i = 1; i <= WritingCandidateCount; ++i)
        if (p->Btn_Kouho[i]->isVisible())
            out << p->Btn_Kouho[i]->text();
    return out;
}

} // namespace

TEST(WritingAnswer, AChildWritesTheKanjiPicksItAndIsToldGentlyAboutStrokeOrder)
{
    TestWorld w(2, StudyKind::Writing, true);
    TF_Shutsudai *s = w.open();
    w.start();
    AnswerPanels *p = s->panels;
    ASSERT_NE(p->Btn_Kaku, nullptr);
    EXPECT_TRUE(p->Btn_Kaku->isVisible());

    w.click(p->Btn_Kaku);
    EXPECT_TRUE(p->Grp_Kaku->isVisible());
    EXPECT_FALSE(p->Grp_Bushu->isVisible());
    EXPECT_TRUE(s->Btn_Cancel->isVisible());
    EXPECT_EQ(w.t.handwriting.opens, 1);

    // The right kanji has three strokes; the child writes two and picks it.
    const int kanji = w.slot(1).Kanji;
    const int other = kanji == 1 ? 2 : 1;
    w.t.handwriting.strokes[kanji] = {
        {{30, 60}, {220, 60}}, {{30, 128}, {220, 128}}, {{30, 200}, {220, 200}}};
    w.t.handwriting.answer = {other, kanji};
    p->Img_Kaku->writeStroke(across(p->Img_Kaku, 40));
    p->Img_Kaku->writeStroke(across(p->Img_Kaku, 200));
    EXPECT_EQ(p->Img_Kaku->strokeCount(), 2);
    EXPECT_EQ(shownCandidates(p),
              (QStringList{cp932::toUnicode(glyphOf(other)), cp932::toUnicode(glyphOf(kanji))}));
    // Points are in the square's 0..255 coordinates, whatever its size on screen.
    for (const InkStroke &stroke : w.t.handwriting.asked.last())
        for (const QPointF &pt : stroke) {
            EXPECT_GE(pt.x(), 0);
            EXPECT_LT(pt.x(), InkSide);
        }

    w.click(p->Btn_Kouho[2]);
    EXPECT_EQ(p->answer(), glyphOf(kanji));

    // The rest answered right by the list; then grading.
    w.t.dialogs.answers = {Answer::Yes};
    for (int q = 1; q <= 10 && !w.grading(); ++q) {
        if (q > 1)
            p->setAnswer(w.slot(q).CorrectAnswer);
        w.click(s->Btn_Next);
    }
    TF_Saiten *g = w.grading();
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(w.slot(1).StrokeOrderDiffers);
    g->Tim_SaitenTimer();
    EXPECT_EQ(g->Grd_Saiten->item(1, 4)->text(), QStringLiteral("○")); // it still counts
    EXPECT_TRUE(g->Lbl_Kakijun->isVisible());
    ASSERT_TRUE(g->Btn_Kakijun[1]->isVisible());
    EXPECT_EQ(g->Btn_Kakijun[1]->text(), cp932::toUnicode(glyphOf(kanji)));

    // The kanji's page opens over grading, which waits for the child to come back.
    w.click(g->Btn_Kakijun[1]);
    auto *page = dynamic_cast<TF_KanjiPage *>(w.t.nav.current());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->kanji(), kanji);
    EXPECT_FALSE(g->Tim_Saiten->isActive());
    w.click(page->Btn_Modoru);
    EXPECT_EQ(w.t.nav.current(), g);
    EXPECT_TRUE(g->Tim_Saiten->isActive());

    for (int i = 0; i < 9; ++i)
        g->Tim_SaitenTimer();
    EXPECT_EQ(w.t.state.TestScore, 10);
    for (int q = 2; q <= 10; ++q)
        EXPECT_FALSE(g->Btn_Kakijun[q]->isVisible()) << q; // not written: no advice

    // Grading moves on by itself; the advice waits on the result window
    // until the child presses "もどる".
    int adviceShown = 0;
    QString adviceGlyph;
    bool fitsWindow = false;
    ModalWatcher result([&](QWidget *win) {
        auto *r = qobject_cast<TF_Level_Up *>(win);
        if (!r)
            return;
        for (int q = 1; q <= 10; ++q)
            adviceShown += !r->Btn_Kakijun[q]->isHidden();
        adviceGlyph = r->Btn_Kakijun[1]->text();
        fitsWindow = r->rect().contains(r->BitBtn1->geometry()) &&
                     !r->BitBtn1->geometry().intersects(r->Btn_Kakijun[1]->geometry());
    });
    g->Tim_SaitenTimer();
    EXPECT_EQ(result.seen, 1);
    EXPECT_EQ(adviceShown, 1);
    EXPECT_EQ(adviceGlyph, cp932::toUnicode(glyphOf(kanji)));
    EXPECT_TRUE(fitsWindow);
}

// The faults a child met on the square, as one journey: two picks made a
// two-kanji answer, "erase and write again" added a kanji, the square closed
// on every question, and a drawing never chosen was lost without a word.
TEST(WritingAnswer, OnePickIsTheAnswerAndTheSquareStaysTheChildsWay)
{
    TestWorld w(2, StudyKind::Writing, true);
    TF_Shutsudai *s = w.open();
    w.start();
    AnswerPanels *p = s->panels;
    w.click(p->Btn_Kaku);
    const int kanji = w.slot(1).Kanji;
    const int other = kanji == 1 ? 2 : 1;
    w.t.handwriting.answer = {other, kanji};
    p->Img_Kaku->writeStroke(across(p->Img_Kaku, 128));
    EXPECT_TRUE(p->Lbl_KakuJoutai->text().contains(QStringLiteral("えらぼう")));

    // Two picks: the second replaces the first and is the one marked.
    w.click(p->Btn_Kouho[1]);
    w.click(p->Btn_Kouho[2]);
    EXPECT_EQ(p->answer(), glyphOf(kanji));
    EXPECT_EQ(p->chosenCandidate(), 2);
    EXPECT_TRUE(p->Btn_Kouho[2]->isChecked());
    EXPECT_FALSE(p->Btn_Kouho[1]->isChecked());
    EXPECT_TRUE(p->Lbl_KakuJoutai->text().contains(cp932::toUnicode(glyphOf(kanji))));
    EXPECT_FALSE(p->Lbl_KakuJoutai->text().contains(QStringLiteral("えらぼう")));

    // The square's erase buttons are not the answer line's.
    EXPECT_NE(p->Btn_Zenbu->text(), p->Btn_Delall->text());
    EXPECT_NE(p->Btn_Hitotsu->text(), p->Btn_DelPart->text());

    // Write again and pick: one kanji, the new one.
    w.click(p->Btn_Zenbu);
    EXPECT_EQ(p->answer(), glyphOf(kanji)); // the drawing went, the answer stays
    w.t.handwriting.answer = {other};
    p->Img_Kaku->writeStroke(across(p->Img_Kaku, 100));
    w.click(p->Btn_Kouho[1]);
    EXPECT_EQ(p->answer(), glyphOf(other));

    // The next question opens on the square again, "もどる" beside it.
    w.click(s->Btn_Next);
    ASSERT_EQ(s->CurrentQuestion, 2);
    EXPECT_EQ(w.slot(1).PlayerAnswer, glyphOf(other));
    EXPECT_TRUE(p->Grp_Kaku->isVisible());
    EXPECT_TRUE(s->Btn_Cancel->isVisible());
    EXPECT_EQ(p->Img_Kaku->strokeCount(), 0);
    EXPECT_EQ(p->chosenCandidate(), 0);

    // Written, never chosen: つぎ asks once; "no" stays, the next つぎ goes on.
    p->Img_Kaku->writeStroke(across(p->Img_Kaku, 128));
    const int asked = w.t.dialogs.count(Kind::Question);
    w.t.dialogs.answers = {Answer::No};
    w.click(s->Btn_Next);
    EXPECT_EQ(s->CurrentQuestion, 2);
    EXPECT_EQ(w.t.dialogs.count(Kind::Question), asked + 1);
    w.click(s->Btn_Next);
    EXPECT_EQ(s->CurrentQuestion, 3);
    EXPECT_EQ(w.t.dialogs.count(Kind::Question), asked + 1);
    EXPECT_TRUE(w.slot(2).PlayerAnswer.isEmpty());
    EXPECT_TRUE(w.slot(2).DrawingUnchosen);

    // A chosen answer erased from the answer line leaves the drawing unchosen again.
    w.t.handwriting.answer = {w.slot(3).Kanji};
    p->Img_Kaku->writeStroke(across(p->Img_Kaku, 128));
    w.click(p->Btn_Kouho[1]);
    EXPECT_FALSE(p->drawingUnchosen());
    w.click(p->Btn_Delall);
    EXPECT_EQ(p->chosenCandidate(), 0);
    EXPECT_TRUE(p->drawingUnchosen());

    // "もどる" from the square: the lists, from now on.
    w.click(s->Btn_Cancel);
    EXPECT_FALSE(p->Grp_Kaku->isVisible());
    w.t.dialogs.answers = {Answer::Yes};
    w.click(s->Btn_Next);
    ASSERT_EQ(s->CurrentQuestion, 4);
    EXPECT_TRUE(p->Grp_Bushu->isVisible());
    EXPECT_FALSE(p->Grp_Kaku->isVisible());
    EXPECT_FALSE(s->Btn_Cancel->isVisible());
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
        TF_Shutsudai *s = w.open();
        w.start();
        AnswerPanels *p = s->panels;
        w.click(p->Btn_Kaku);
        const int kanji = w.slot(1).Kanji;
        w.t.handwriting.answer = {kanji};
        p->Img_Kaku->writeStroke(across(p->Img_Kaku, 128));
        if (c.pick)
            w.click(p->Btn_Kouho[1]);
        w.t.clock.advanceSeconds(11 * 60);
        s->Tim_ClockTimer();
        TF_Saiten *g = w.grading();
        ASSERT_NE(g, nullptr) << c.what;
        EXPECT_EQ(w.slot(1).PlayerAnswer.isEmpty(), !c.pick) << c.what;
        g->Tim_SaitenTimer();
        EXPECT_EQ(g->Grd_Saiten->item(1, 4)->text(), c.right ? QStringLiteral("○") : QStringLiteral("×"))
            << c.what;
        const QString expected = c.cell.isEmpty() ? cp932::toUnicode(glyphOf(kanji)) : c.cell;
        EXPECT_EQ(g->Grd_Saiten->item(1, 2)->text(), expected) << c.what;
    }
}

TEST(WritingAnswer, TheSquareKeepsEveryAnswerAlreadyGivenWhateverHappensMidStroke)
{
    TestWorld w(2, StudyKind::Writing, true);
    TF_Shutsudai *s = w.open();
    w.start();
    AnswerPanels *p = s->panels;
    w.click(p->Btn_Kaku);
    WritingSquare *sq = p->Img_Kaku;
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
    QTest::mousePress(p->Grp_Kaku, Qt::LeftButton, {}, left);
    QTest::mouseMove(p->Grp_Kaku, left + QPoint(120, 2));
    QTest::mouseMove(p->Grp_Kaku, left + QPoint(240, 4));
    QTest::mouseRelease(p->Grp_Kaku, Qt::LeftButton, {}, left + QPoint(240, 4));
    ASSERT_EQ(sq->strokeCount(), afterDots + 2);
    EXPECT_EQ(sq->ink().last().first().x(), 0);
    EXPECT_GT(sq->ink().last().last().x(), 200);
    EXPECT_FALSE(sq->drawing());
    // Farther off, beside the square, a press is not a stroke.
    QTest::mousePress(p->Grp_Kaku, Qt::LeftButton, {}, sq->geometry().topRight() + QPoint(60, 60));
    QTest::mouseRelease(p->Grp_Kaku, Qt::LeftButton, {}, sq->geometry().topRight() + QPoint(60, 60));
    EXPECT_EQ(sq->strokeCount(), afterDots + 2);
    w.click(p->Btn_Hitotsu);
    EXPECT_EQ(sq->strokeCount(), afterDots + 1);

    // Take back one, then all: the candidates follow.
    w.click(p->Btn_Hitotsu);
    EXPECT_EQ(sq->strokeCount(), afterDots);
    w.click(p->Btn_Zenbu);
    EXPECT_EQ(sq->strokeCount(), 0);
    EXPECT_TRUE(shownCandidates(p).isEmpty());

    // Answer, then start another stroke and press つぎ before letting go.
    sq->writeStroke(across(sq, 128));
    w.click(p->Btn_Kouho[1]);
    QTest::mousePress(sq, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_TRUE(sq->drawing());
    w.click(s->Btn_Next);
    EXPECT_EQ(w.slot(1).PlayerAnswer, glyphOf(kanji));
    EXPECT_EQ(s->CurrentQuestion, 2);
    EXPECT_FALSE(sq->drawing());
    EXPECT_EQ(sq->strokeCount(), 0);       // a new question starts on clean paper
    EXPECT_TRUE(p->Grp_Kaku->isVisible()); // the child's way of answering is kept

    // The clock runs out while the child is writing: grading still comes,
    // with the first answer.
    QTest::mousePress(sq, Qt::LeftButton, {}, QPoint(60, 60));
    w.t.clock.advanceSeconds(11 * 60);
    s->Tim_ClockTimer();
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
        TF_Shutsudai *s = w.open();
        w.start();
        EXPECT_EQ(s->panels->Btn_Kaku != nullptr && s->panels->Btn_Kaku->isVisible(), c.offered) << c.what;
    }

    // A model that turns out damaged when opened: the square says so and
    // "もどる" leads back to the other ways.
    TestWorld w(2, StudyKind::Writing, true);
    w.t.handwriting.openReady = false;
    TF_Shutsudai *s = w.open();
    w.start();
    w.click(s->panels->Btn_Kaku);
    EXPECT_TRUE(s->panels->Lbl_KakuJoutai->text().contains(QStringLiteral("ほかの")));
    w.click(s->Btn_Cancel);
    EXPECT_TRUE(s->panels->Grp_Bushu->isVisible());
    EXPECT_FALSE(s->panels->Grp_Kaku->isVisible());
}

TEST(WritingAnswer, TheReviewAndThePracticeHintShowTheStrokeOrder)
{
    {
        TestWorld w(2, StudyKind::Writing, false);
        TF_Shutsudai *s = w.open();
        w.start();
        const int missed = w.slot(3).Kanji;
        w.t.handwriting.strokes[missed] = {{{30, 60}, {220, 60}}};
        w.reviewWithMissed(s, {3});
        ASSERT_EQ(s->CurrentQuestion, 3);
        ASSERT_TRUE(s->Btn_Kakijun->isVisible());
        // It opens the missed kanji's page; もどる comes back to the same question.
        w.click(s->Btn_Kakijun);
        auto *page = dynamic_cast<TF_KanjiPage *>(w.t.nav.current());
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->kanji(), missed);
        w.click(page->Btn_Modoru);
        EXPECT_EQ(w.t.nav.current(), s);
        EXPECT_EQ(s->CurrentQuestion, 3);

        // Written on the square but not chosen: "こたえあわせ" reminds once
        // instead of marking the child wrong; a second press checks.
        w.click(s->panels->Btn_Kaku);
        s->panels->Img_Kaku->writeStroke(across(s->panels->Img_Kaku, 128));
        const int told = w.t.dialogs.count(Kind::Information);
        w.t.clock.advanceSeconds(1);
        w.click(s->Btn_awase);
        EXPECT_EQ(w.t.dialogs.count(Kind::Information), told + 1);
        EXPECT_TRUE(s->Img_Mark->mark().isEmpty());
        w.t.clock.advanceSeconds(1);
        w.click(s->Btn_awase);
        EXPECT_EQ(w.t.dialogs.count(Kind::Information), told + 1);
        EXPECT_EQ(s->Img_Mark->mark(), QStringLiteral("×"));
        EXPECT_EQ(s->CurrentQuestion, 3);
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
                offered = hint->Btn_Kakijun->isVisible();
        });
        hs->Img_Button1Click(1);
        EXPECT_EQ(hints.seen, 1);
        EXPECT_EQ(offered, !challenge);
    }
}
