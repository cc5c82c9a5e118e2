// The writing square while the recogniser is still opening: the child may
// write at once, and the candidates of what is already written appear the
// moment the recogniser becomes ready, without another stroke.
#include "shell/writing.h"
#include "test_shutsudai_fixture.h"

using namespace fm;
using namespace studytest;

TEST(WritingAnswer, CandidatesOfWhatWasWrittenAppearWhenTheRecogniserBecomesReady)
{
    TestWorld w(2, StudyKind::Writing, true);
    w.t.handwriting.stayOpening = true;
    TF_Shutsudai *s = w.open();
    w.start();
    const AnswerPanels &p = s->answerPanels();
    w.click(w.button("Btn_Kaku"));
    ASSERT_EQ(w.t.handwriting.status(), Handwriting::Status::Opening);
    EXPECT_EQ(w.ctl<QLabel>("Lbl_KakuJoutai")->text(),
              QStringLiteral("じゅんびを しているよ。かきはじめて いいよ。"));

    const int kanji = w.slot(1).Kanji;
    w.t.handwriting.answer = {kanji};
    WritingSquare *square = w.ctl<WritingSquare>("Img_Kaku");
    const double y = square->height() / 2.0;
    square->writeStroke({QPointF(20, y), QPointF(square->width() - 20, y)});
    EXPECT_EQ(square->strokeCount(), 1) << "the square takes strokes while it opens";
    EXPECT_TRUE(w.t.handwriting.asked.isEmpty()) << "nothing is asked of a recogniser not yet open";
    EXPECT_FALSE(w.button("Btn_Kouho", 1)->isVisible());

    w.t.handwriting.finishOpening();
    ASSERT_EQ(w.t.handwriting.asked.size(), 1) << "the stroke already written is recognised";
    EXPECT_EQ(w.t.handwriting.asked.last().size(), 1);
    EXPECT_TRUE(w.button("Btn_Kouho", 1)->isVisible());
    EXPECT_EQ(w.button("Btn_Kouho", 1)->text(), cp932::toUnicode(glyphOf(kanji)));
    EXPECT_EQ(w.ctl<QLabel>("Lbl_KakuJoutai")->text(), QStringLiteral("かいた かんじを えらぼう。"));
    w.click(w.button("Btn_Kouho", 1));
    EXPECT_EQ(p.answer(), glyphOf(kanji));
}

// An opening that fails instead says so in the square, and offers nothing.
TEST(WritingAnswer, AnOpeningThatFailsSaysSoInTheSquare)
{
    TestWorld f(2, StudyKind::Writing, true);
    f.t.handwriting.stayOpening = true;
    f.open();
    f.start();
    f.click(f.button("Btn_Kaku"));
    f.t.handwriting.finishOpening(false);
    EXPECT_TRUE(f.ctl<QLabel>("Lbl_KakuJoutai")
                    ->text()
                    .startsWith(QStringLiteral("いまは かいて こたえられないよ。")));
    EXPECT_FALSE(f.button("Btn_Kouho", 1)->isVisible());
}
