// The test screen on the offscreen platform: a whole test answered on the
// panels, going back and forth, the clock and its time-out, the hand-over to
// grading and the review of the missed questions.
#include "shell/catalogue.h"
#include "study/levelup.h"
#include "test_shutsudai_fixture.h"
#include <QLabel>

using namespace fm;
using namespace studytest;
using Kind = fm::test::FakeDialogs::Kind;

namespace
{

// Whether a music player did this ("open Mondai.mid", "stop"); players are
// numbered in the order the fakes made them.
bool musicDid(const TestWorld &w, const QString &op)
{
    for (const QString &line : w.t.sound.log)
        if (line.startsWith(QStringLiteral("music")) && line.section(' ', 1) == op)
            return true;
    return false;
}

// Answers every question of the test right on the kana keys, pressing "つぎ"
// after each; the tenth confirmation is answered from the dialog script.
void answerAllReading(
    TestWorld &w, std::function<bool(int)> right = [](int) { return true; })
{
    for (int n = 1; n <= 10; ++n) {
        ASSERT_EQ(w.test->currentQuestion(), n);
        w.typeKana(right(n) ? w.current().CorrectAnswer : cp932::charAt(w.current().CorrectAnswer, 0));
        w.click(w.button("Btn_Next"));
    }
}

} // namespace

TEST(TestScreen, ChallengeReadingAnsweredOnTheKanaKeysEndsOnGrading)
{
    TestWorld w(2, StudyKind::Reading, true);
    w.t.state.Progress[25][1].CorrectCount = 3; // asked last of all
    TF_Shutsudai *s = w.open();
    ASSERT_NE(s, nullptr);

    // Waiting for the start: no question, no panel, no clock.
    EXPECT_EQ(w.button("Btn_Next")->text(), QStringLiteral("はじめ"));
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Kanji")->isVisible());
    EXPECT_FALSE(w.button("Btn_Prev")->isVisible());
    EXPECT_FALSE(w.ctl<QTimer>("Tim_Clock")->isActive());
    EXPECT_EQ(s->helpContext(), screenRow(ScreenId::Shutsudai).helpContext);
    for (int n = 1; n <= 10; ++n) {
        EXPECT_GE(w.slot(n).Kanji, 21);
        EXPECT_LE(w.slot(n).Kanji, 40);
        EXPECT_NE(w.slot(n).Kanji, 25);
    }

    w.start();
    EXPECT_EQ(w.button("Btn_Next")->text(), QStringLiteral("つぎ"));
    EXPECT_EQ(fm::test::child<QLabel>(s, "Lbl_Title")->text(), QStringLiteral("あかいじのかなをえらぼう！"));
    EXPECT_EQ(s->helpContext(), help::TestReading);
    EXPECT_TRUE(w.ctl<QTimer>("Tim_Clock")->isActive());
    EXPECT_EQ(w.ctl<QGroupBox>("Grp_Mondai")->title(), QStringLiteral("だい1もん"));
    EXPECT_TRUE(musicDid(w, QStringLiteral("open Mondai.mid")));
    EXPECT_FALSE(w.button("Btn_Debug")->isVisible());

    // Question 1: the kanji in red where the kana word stands.
    const QuestionSlot &q1 = w.slot(1);
    EXPECT_EQ(q1.TargetSegment, 2);
    EXPECT_EQ(q1.ShownSegments[2], glyphOf(q1.Kanji));
    EXPECT_EQ(q1.CorrectAnswer, targetWord(q1.Kanji, q1.QuestionChoice));
    EXPECT_EQ(w.ctl<QLabel>("Lbl_Segment", 2)->palette().color(QPalette::WindowText), colour::Red);
    EXPECT_EQ(w.ctl<QLabel>("Lbl_Segment", 1)->palette().color(QPalette::WindowText), colour::White);
    EXPECT_EQ(w.ctl<QLabel>("Lbl_Segment", 2)->x(),
              w.ctl<QLabel>("Lbl_Segment", 1)->x() + w.ctl<QLabel>("Lbl_Segment", 1)->width());

    w.t.dialogs.answers = {Answer::No, Answer::Yes};
    answerAllReading(w);
    // "No" keeps question 10 with the clock running; "つぎ" again asks again.
    EXPECT_EQ(w.t.dialogs.count(Kind::Question), 1);
    EXPECT_EQ(s->currentQuestion(), 10);
    EXPECT_TRUE(w.ctl<QTimer>("Tim_Clock")->isActive());
    EXPECT_EQ(w.gradingScreens(), 0);
    w.click(w.button("Btn_Next"));
    EXPECT_EQ(w.t.dialogs.texts().back(), QStringLiteral("１０もんおわりました。さいてんしてよいですか？"));

    ASSERT_NE(w.grading(), nullptr);
    EXPECT_EQ(w.t.nav.current(), w.grading());
    EXPECT_FALSE(s->isVisible());
    EXPECT_FALSE(w.ctl<QTimer>("Tim_Clock")->isActive());
    EXPECT_TRUE(musicDid(w, QStringLiteral("stop")));
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(w.slot(n).PlayerAnswer, w.slot(n).CorrectAnswer) << n;

    // Grading marks all ten right: recorded, result, a fresh mode screen.
    ModalWatcher watcher;
    for (int i = 0; i < 11; ++i)
        w.tickGrading();
    fm::test::TestShell::processDeletes();
    EXPECT_EQ(w.t.state.TestScore, 10);
    ASSERT_EQ(w.log().size(), 1);
    EXPECT_EQ(w.log()[0].Counted, 1);
    EXPECT_EQ(w.t.nav.find<TF_Shutsudai>(), nullptr);
}

TEST(TestScreen, ChallengeWritingFoundByPartStrokesAndListEndsOnGrading)
{
    TestWorld w(3, StudyKind::Writing, true);
    TF_Shutsudai *s = w.open();
    w.start();
    EXPECT_EQ(fm::test::child<QLabel>(s, "Lbl_Title")->text(),
              QStringLiteral("あかいじのかんじをえらぼう！"));
    EXPECT_EQ(s->helpContext(), help::TestWriting);
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Bushu")->isVisible());
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Kakusuu")->isVisible());
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Kanji")->isVisible());
    EXPECT_EQ(w.button("Btn_Gakunen_all")->text(), QStringLiteral("ぜんぶのじ"));

    for (int n = 1; n <= 10; ++n) {
        const QuestionSlot &q = w.current();
        // Writing: the kana stays in red and the kanji is expected.
        EXPECT_EQ(q.ShownSegments[q.TargetSegment], targetWord(q.Kanji, q.QuestionChoice));
        EXPECT_EQ(q.CorrectAnswer, glyphOf(q.Kanji));
        EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Bushu")->isVisible()) << n;
        switch (n % 3) {
        case 0: // radical group, then part
            w.click(w.button("Btn_Bushu", groupOf(q.Kanji)));
            EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Buhin")->isVisible());
            EXPECT_TRUE(w.button("Btn_Cancel")->isVisible());
            EXPECT_EQ(w.button("Btn_Cancel")->text(), QStringLiteral("もどる"));
            w.click(w.button("Btn_Buhin", positionOf(q.Kanji)));
            break;
        case 1: // stroke count
            w.click(w.button("Btn_Kakusuu", strokesOf(q.Kanji)));
            break;
        case 2: // the whole range
            w.click(w.button("Btn_Gakunen_all"));
            break;
        }
        EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Kanji")->isVisible());
        ASSERT_TRUE(w.clickCandidate(q.CorrectAnswer)) << n;
        EXPECT_EQ(s->answerPanels().answer(), q.CorrectAnswer);
        if (n == 10)
            w.t.dialogs.answers = {Answer::Yes};
        w.click(w.button("Btn_Next"));
    }
    ASSERT_NE(w.grading(), nullptr);
    EXPECT_EQ(w.gradingScreens(), 1);
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(w.slot(n).PlayerAnswer, glyphOf(w.slot(n).Kanji)) << n;
    EXPECT_EQ(w.t.state.ListSource, KanjiListSource::Strokes); // the last list came from a stroke count
}

TEST(TestScreen, PreviousAndNextKeepTheStoredAnswers)
{
    TestWorld w(1, StudyKind::Reading, false);
    TF_Shutsudai *s = w.open();
    w.start();
    const QByteArray a1 = w.current().CorrectAnswer;
    w.typeKana(a1);
    w.click(w.button("Btn_Next"));
    w.typeKana(sj("あいう"));
    w.click(w.button("Btn_Next"));
    EXPECT_TRUE(w.button("Btn_Prev")->isVisible());
    const QString sentence3 = w.sentence();

    // Typed on 3 and left by previous: kept for when the child comes back.
    w.typeKana(sj("やま"));
    w.click(w.button("Btn_Prev"));
    EXPECT_EQ(s->currentQuestion(), 2);
    EXPECT_EQ(s->answerPanels().answer(), sj("あいう"));
    EXPECT_EQ(w.ctl<QGroupBox>("Grp_Mondai")->title(), QStringLiteral("だい2もん"));
    // Three kana stored: one more fits, a fifth does not.
    w.typeKana(sj("え"));
    w.click(w.button("Btn_Moji", 80));
    EXPECT_EQ(s->answerPanels().answer(), sj("あいうえ"));
    w.click(w.button("Btn_DelPart"));
    EXPECT_EQ(s->answerPanels().answer(), sj("あいう"));

    w.click(w.button("Btn_Prev"));
    EXPECT_EQ(s->currentQuestion(), 1);
    EXPECT_FALSE(w.button("Btn_Prev")->isVisible());
    EXPECT_EQ(s->answerPanels().answer(), a1);

    w.click(w.button("Btn_Next")); // stores question 1 again, as it stands
    EXPECT_EQ(s->answerPanels().answer(), sj("あいう"));
    w.click(w.button("Btn_Delall"));
    EXPECT_EQ(s->answerPanels().AnswerCharCount(), 0);
    w.click(w.button("Btn_Next")); // question 2 now stored empty
    EXPECT_EQ(s->currentQuestion(), 3);
    EXPECT_EQ(s->answerPanels().answer(), sj("やま"));
    EXPECT_EQ(w.sentence(), sentence3); // the same sentence again
    EXPECT_TRUE(w.slot(2).PlayerAnswer.isEmpty());
    EXPECT_EQ(w.slot(1).PlayerAnswer, a1);
}

TEST(TestScreen, TimeOutOnQuestionFourGradesTheRestEmpty)
{
    TestWorld w(2, StudyKind::Reading, true);
    w.t.state.Settings.ReadTimeLimit = 1;
    TF_Shutsudai *s = w.open();
    w.start();
    w.t.clock.advanceSeconds(1);
    w.tickClock();
    EXPECT_EQ(w.ctl<QLabel>("Lbl_Nokori_Time")->text(), QStringLiteral("のこり59びょう"));
    for (int n = 1; n <= 3; ++n) {
        w.typeKana(w.current().CorrectAnswer);
        w.t.clock.advanceSeconds(1); // a second for each answer
        w.tickClock();
        w.click(w.button("Btn_Next"));
    }
    w.typeKana(w.current().CorrectAnswer); // on screen: handed in as it stands
    for (int i = 5; i <= 59; ++i) {
        w.t.clock.advanceSeconds(1);
        w.tickClock();
    }
    EXPECT_EQ(w.ctl<QLabel>("Lbl_Nokori_Time")->text(), QStringLiteral("のこり1びょう"));
    EXPECT_EQ(w.gradingScreens(), 0);
    w.t.clock.advanceSeconds(1);
    w.tickClock();

    EXPECT_EQ(w.t.dialogs.texts().back(), QStringLiteral("じかんがすぎました。さいてんします。"));
    EXPECT_TRUE(w.ctl<QLabel>("Lbl_Nokori_Time")->text().isEmpty());
    EXPECT_FALSE(w.ctl<QTimer>("Tim_Clock")->isActive());
    EXPECT_EQ(w.gradingScreens(), 1);
    EXPECT_EQ(w.t.nav.current(), w.grading());
    EXPECT_EQ(s->currentQuestion(), 4);
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(w.slot(n).PlayerAnswer, w.slot(n).CorrectAnswer) << n;
    for (int n = 5; n <= 10; ++n) {
        const QuestionSlot &q = w.slot(n);
        EXPECT_TRUE(q.PlayerAnswer.isEmpty()) << n;
        EXPECT_EQ(q.CorrectAnswer, targetWord(q.Kanji, q.QuestionChoice)) << n;
        EXPECT_EQ(q.ShownSegments[q.TargetSegment], glyphOf(q.Kanji)) << n;
    }
    // No later tick comes: the clock has stopped for good, and time going
    // on changes nothing.
    EXPECT_FALSE(w.ctl<QTimer>("Tim_Clock")->isActive());
    w.t.clock.advanceSeconds(60);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.gradingScreens(), 1);
    EXPECT_EQ(w.t.dialogs.count(Kind::Information), 1);
}

TEST(TestScreen, TimeOutWithoutMondai1LeavesTheUnseenQuestionsWrong)
{
    TestWorld w(2, StudyKind::Reading, true);
    w.open();
    w.start();
    w.typeKana(w.current().CorrectAnswer);
    w.click(w.button("Btn_Next"));
    ASSERT_TRUE(QFile::remove(w.t.file(QStringLiteral("Mondai1.dat"))));
    w.t.clock.advanceSeconds(10 * 60);
    w.tickClock();
    EXPECT_FALSE(w.t.nav.quitRequested());
    EXPECT_EQ(w.t.dialogs.count(Kind::Fatal), 0);
    ASSERT_EQ(w.gradingScreens(), 1);
    for (int n = 3; n <= 10; ++n) {
        EXPECT_EQ(w.slot(n).TargetSegment, 0);
        EXPECT_TRUE(w.slot(n).ShownSegments[1].isEmpty());
        // An empty answer never matches what the question expects.
        EXPECT_FALSE(w.slot(n).CorrectAnswer.isEmpty()) << n;
    }
    for (int i = 0; i < 10; ++i)
        w.tickGrading();
    EXPECT_EQ(w.t.state.TestScore, 1);
}

TEST(TestScreen, MissingMondai1WhenAQuestionIsShownEndsTheProgram)
{
    TestWorld w(2, StudyKind::Reading, true);
    w.open();
    ASSERT_TRUE(QFile::remove(w.t.file(QStringLiteral("Mondai1.dat"))));
    w.start();
    EXPECT_TRUE(w.t.nav.quitRequested());
    EXPECT_EQ(w.t.dialogs.texts().back(), QStringLiteral("Mondai1.datでエラーがおこりました。 "));
    EXPECT_FALSE(w.ctl<QTimer>("Tim_Clock")->isActive());
}

namespace
{

// Dialogs that let the clock run out while a question is open.
class TimeOutDuringQuestion final : public Dialogs
{
  public:
    std::function<void()> whileAsking;
    QStringList said;
    void information(QWidget *, const QString &text) override { said << text; }
    Answer question(QWidget *, const QString &text) override
    {
        said << text;
        if (whileAsking)
            whileAsking();
        return Answer::Yes;
    }
    void message(QWidget *, const QString &text) override { said << text; }
    void fatalFileError(QWidget *, const QString &text) override { said << text; }
};

} // namespace

TEST(TestScreen, TimeOutBehindAnOpenQuestionHandsTheTestToGradingOnce)
{
    for (bool viaBack : {false, true}) {
        TestWorld w(2, StudyKind::Reading, true);
        TimeOutDuringQuestion dialogs;
        Services sv{w.t.state,   dialogs,   w.t.sound, w.t.help,    w.t.clock,    w.t.random,
                    w.t.display, w.t.shell, w.t.nav,   w.t.screens, w.t.pictures, w.t.handwriting};
        w.t.nav.attach(sv);
        TF_Shutsudai *s = w.open();
        w.start();
        if (!viaBack)
            for (int n = 1; n < 10; ++n)
                w.click(w.button("Btn_Next"));
        dialogs.whileAsking = [&] {
            w.t.clock.advanceSeconds(11 * 60);
            w.tickClock();
        };
        if (viaBack)
            w.click(fm::test::headerButton(s, 4)); // "がくしゅうをやめて…" answered yes, too late
        else
            w.click(w.button("Btn_Next")); // "１０もんおわりました…" answered yes, too late
        fm::test::TestShell::processDeletes();
        EXPECT_EQ(w.gradingScreens(), 1) << viaBack;
        EXPECT_EQ(w.t.nav.current(), w.grading()) << viaBack;
        ASSERT_EQ(w.t.nav.find<TF_Shutsudai>(), s) << viaBack; // still alive for the review
        EXPECT_TRUE(dialogs.said.contains(QStringLiteral("じかんがすぎました。さいてんします。")));
        EXPECT_EQ(s->phase(), TF_Shutsudai::Phase::Grading);
    }
}

TEST(TestScreen, BackAsksAndLeavesWithoutRecording)
{
    TestWorld w(2, StudyKind::Reading, true);
    TF_Shutsudai *s = w.open();
    w.start();
    w.t.dialogs.answers = {Answer::No};
    w.click(fm::test::headerButton(s, 4));
    EXPECT_EQ(w.t.dialogs.texts().back(), QStringLiteral("がくしゅうをやめてもよいですか？"));
    EXPECT_EQ(w.t.nav.current(), s);
    EXPECT_TRUE(w.ctl<QTimer>("Tim_Clock")->isActive());

    w.t.dialogs.answers = {Answer::Yes};
    QPointer<TF_Shutsudai> gone = s;
    w.click(fm::test::headerButton(s, 4));
    fm::test::TestShell::processDeletes();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(w.t.nav.current(), w.mode);
    EXPECT_TRUE(musicDid(w, QStringLiteral("stop")));
    EXPECT_TRUE(w.log().isEmpty());
}

TEST(TestScreen, MusicLoopsWhileTestingAndEndsWithTheFirstHiding)
{
    TestWorld w(2, StudyKind::Reading, true);
    w.open();
    w.start();
    fm::test::FakeMediaPlayer *music = w.t.sound.playerFor(QStringLiteral("Mondai.mid"));
    ASSERT_NE(music, nullptr);
    music->finish();
    EXPECT_TRUE(music->playing); // started again from the beginning
    EXPECT_EQ(music->playedFrom, 0);
    w.t.dialogs.answers = {Answer::Yes};
    for (int n = 1; n <= 10; ++n)
        w.click(w.button("Btn_Next"));
    EXPECT_FALSE(music->playing);
    EXPECT_FALSE(music->isOpen());

    // No music at all without a MIDI device.
    TestWorld quiet(2, StudyKind::Writing, true);
    quiet.t.shell.MidiDeviceCount = 0;
    quiet.open();
    quiet.start();
    EXPECT_EQ(quiet.t.sound.playerFor(QStringLiteral("Mondai.mid")), nullptr);
}

TEST(TestScreen, DebugFillInAnswersNineQuestionsAndSitsAboveTheTitle)
{
    TestWorld w(2, StudyKind::Reading, true);
    w.t.state.Settings.DebugFlag = true;
    TF_Shutsudai *s = w.open();
    EXPECT_FALSE(w.button("Btn_Debug")->isVisible());
    w.start();
    ASSERT_TRUE(w.button("Btn_Debug")->isVisible());
    // Where the button and the title overlap, the button takes the click.
    EXPECT_EQ(s->childAt(20, 10), w.button("Btn_Debug"));
    w.click(w.button("Btn_Debug"));
    EXPECT_EQ(s->currentQuestion(), 10);
    EXPECT_FALSE(w.button("Btn_Debug")->isVisible());
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(w.slot(n).PlayerAnswer, w.slot(n).CorrectAnswer) << n;
    EXPECT_TRUE(w.slot(10).PlayerAnswer.isEmpty());

    TestWorld off(2, StudyKind::Reading, true);
    off.open();
    off.start();
    EXPECT_FALSE(off.button("Btn_Debug")->isVisible());
}

TEST(TestScreen, HintButtonTellsTheHintWindowWhereTheChildIs)
{
    TestWorld w(2, StudyKind::Writing, false);
    std::vector<HintCtx> seen;
    std::vector<int> questions;
    w.t.screens.showHintWindow = [&](Services &sv, QWidget *) {
        seen.push_back(sv.state.HintContext);
        questions.push_back(sv.state.HintQuestion);
    };
    TF_Shutsudai *s = w.open();
    w.click(fm::test::headerButton(s, 1));
    w.start();
    w.click(fm::test::headerButton(s, 1));
    w.click(w.button("Btn_Bushu", 1));
    w.click(fm::test::headerButton(s, 1)); // part panel, no part list made yet
    w.click(w.button("Btn_Buhin", 1));
    w.click(fm::test::headerButton(s, 1)); // a part's list
    w.click(w.button("Btn_Cancel"));
    w.click(fm::test::headerButton(s, 1)); // back on the part panel
    w.click(w.button("Btn_Cancel"));
    w.click(fm::test::headerButton(s, 1)); // first panels
    const std::vector<HintCtx> expected = {{12, HintSituation::Screen, StudyKind::Writing},
                                           {12, HintSituation::Question, StudyKind::Writing},
                                           {12, HintSituation::Question, StudyKind::Writing},
                                           {12, HintSituation::WritingPartList, StudyKind::Writing},
                                           {12, HintSituation::WritingParts, StudyKind::Writing},
                                           {12, HintSituation::WritingChoice, StudyKind::Writing}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(questions, (std::vector<int>{0, 1, 1, 1, 1, 1}));
    EXPECT_EQ(w.t.state.HintContext,
              (HintCtx{12, HintSituation::Screen, StudyKind::Reading})); // set back after the window
}

// ---- the review ----

namespace
{

// A test of level 2 reading taken to grading with the questions in `missed`
// answered wrong, then marked: the review starts when the score allows it.
// Every result window is read as the child sees it, then closed.
class TestReviewScreen : public ::testing::Test
{
  protected:
    void review(QList<int> missed)
    {
        w.open();
        w.start();
        w.t.dialogs.answers = {Answer::Yes};
        answerAllReading(w, [&](int n) { return !missed.contains(n); });
        ASSERT_NE(w.grading(), nullptr);
        for (int i = 0; i < 11; ++i)
            if (w.grading())
                w.tickGrading();
        fm::test::TestShell::processDeletes();
        s = w.test;
    }
    // The review's question n answered right and checked.
    void answerRight(int n)
    {
        w.typeKana(w.slot(n).CorrectAnswer);
        w.click(w.button("Btn_awase"));
    }

    TestWorld w{2, StudyKind::Reading, true};
    QStringList results;                         // each result window's message
    std::function<void(TF_Level_Up *)> onResult; // what the child then does there
    ModalWatcher watcher{[this](QWidget *d) {
        if (auto *r = dynamic_cast<TF_Level_Up *>(d)) {
            results << fm::test::child<QLabel>(r, "Lbl_Goukaku_Msg1")->text().remove(QLatin1Char('\n'));
            if (onResult)
                onResult(r);
        }
    }};
    TF_Shutsudai *s = nullptr;
};

} // namespace

TEST_F(TestReviewScreen, StartsOnTheFirstMissedQuestionAndRecordsNothingYet)
{
    review({2, 7});
    ASSERT_EQ(w.t.state.TestScore, 8);
    EXPECT_TRUE(w.log().isEmpty()); // 7..9: recorded only at the end of the review
    ASSERT_EQ(w.t.nav.current(), s);
    EXPECT_EQ(s->phase(), TF_Shutsudai::Phase::Review);
    EXPECT_EQ(s->currentQuestion(), 2);
    EXPECT_EQ(fm::test::child<QLabel>(s, "Lbl_Title")->text(),
              QStringLiteral("まちがえたもんだいのふくしゅうです"));
    EXPECT_EQ(s->helpContext(), help::Review);
    EXPECT_TRUE(w.button("Btn_awase")->isVisible());
    EXPECT_FALSE(w.button("Btn_Next")->isVisible());
    EXPECT_FALSE(w.button("Btn_Prev")->isVisible());
    EXPECT_FALSE(w.button("Btn_DelPart")->isVisible()); // until the first check
    EXPECT_FALSE(w.button("Btn_Delall")->isVisible());
    EXPECT_TRUE(w.ctl<QLabel>("Lbl_Nokori_Time")->text().isEmpty());
    EXPECT_EQ(w.ctl<QGroupBox>("Grp_Mondai")->title(), QStringLiteral("だい2もん"));
    EXPECT_EQ(w.sentence(), cp932::toUnicode(w.slot(2).ShownSegments[1] + w.slot(2).ShownSegments[2] +
                                             w.slot(2).ShownSegments[3]));
}

// Wrong twice: the line clears, the question stays, the wrong sound plays.
TEST_F(TestReviewScreen, AWrongAnswerClearsTheLineAndTheQuestionStays)
{
    review({2, 7});
    for (int attempt = 0; attempt < 2; ++attempt) {
        w.typeKana(sj("ん"));
        w.t.sound.log.clear();
        w.click(w.button("Btn_awase"));
        EXPECT_EQ(s->currentQuestion(), 2);
        EXPECT_TRUE(s->answerPanels().answer().isEmpty());
        EXPECT_TRUE(w.t.sound.log.contains(QStringLiteral("wave2 play")))
            << w.t.sound.log.join(',').toStdString();
        EXPECT_TRUE(w.button("Btn_DelPart")->isVisible());
    }
}

TEST_F(TestReviewScreen, ARightAnswerGoesOnToTheNextMissedQuestion)
{
    review({2, 7});
    w.typeKana(w.slot(2).CorrectAnswer);
    w.t.sound.log.clear();
    w.click(w.button("Btn_awase"));
    EXPECT_TRUE(w.t.sound.log.contains(QStringLiteral("wave1 play")));
    EXPECT_EQ(s->currentQuestion(), 7);
    EXPECT_TRUE(s->answerPanels().answer().isEmpty());
    EXPECT_TRUE(w.log().isEmpty());
}

// The last missed question right: recorded now, as passed; the last ○ shows
// for its moment before the result covers it, and a press meanwhile changes
// nothing. Then a fresh mode screen, the old one gone.
TEST_F(TestReviewScreen, TheLastRightAnswerRecordsThePassAndShowsTheResultAfterItsMark)
{
    review({2, 7});
    answerRight(2);
    answerRight(7);
    ASSERT_EQ(w.log().size(), 1);
    EXPECT_EQ(w.log()[0].Counted, 1);
    EXPECT_EQ(w.ctl<JudgeMark>("Img_Mark")->mark(), QStringLiteral("○"));
    EXPECT_TRUE(results.isEmpty());
    EXPECT_EQ(w.t.nav.current(), s);
    EXPECT_TRUE(w.ctl<QTimer>("Tim_Result")->isActive());
    EXPECT_EQ(w.ctl<QTimer>("Tim_Result")->interval(), JudgeMark::ShowMs);
    w.t.clock.advanceSeconds(0.5);
    w.click(w.button("Btn_awase"));
    EXPECT_EQ(w.log().size(), 1);
    fm::test::tick(s, "Tim_Result");
    fm::test::TestShell::processDeletes();
    EXPECT_EQ(results, QStringList{QStringLiteral("ごうかくおめでとう！ふくしゅうもがんばったね。")});
    EXPECT_FALSE(w.t.state.ReviewMode);
    EXPECT_EQ(w.t.nav.find<TF_Shutsudai>(), nullptr);
    auto *now = dynamic_cast<TestModeScreen *>(w.t.nav.current());
    ASSERT_NE(now, nullptr);
    int modes = 0;
    for (Screen *x : w.t.nav.screens())
        modes += x->id() == ScreenId::Mode;
    EXPECT_EQ(modes, 1);
}

TEST_F(TestReviewScreen, PlaysNoMusic)
{
    review({2, 7});
    w.t.sound.log.clear();
    answerRight(2);
    answerRight(7);
    fm::test::tick(s, "Tim_Result");
    EXPECT_FALSE(musicDid(w, QStringLiteral("play")));
    EXPECT_FALSE(musicDid(w, QStringLiteral("open Mondai.mid")));
}

TEST_F(TestReviewScreen, BelowThePassMarkTheReviewRecordsNothingMore)
{
    review({1, 2, 3, 4, 10});
    ASSERT_EQ(w.t.state.TestScore, 5);
    ASSERT_EQ(w.log().size(), 1); // recorded by grading, not passed
    EXPECT_EQ(w.log()[0].Counted, 0);
    ASSERT_EQ(results.size(), 1);
    for (int n : {1, 2, 3, 4, 10}) {
        ASSERT_EQ(s->currentQuestion(), n);
        answerRight(n);
    }
    fm::test::tick(s, "Tim_Result");
    fm::test::TestShell::processDeletes();
    EXPECT_EQ(w.log().size(), 1);
    EXPECT_EQ(results.size(), 2); // the result once more
    EXPECT_NE(dynamic_cast<TestModeScreen *>(w.t.nav.current()), nullptr);
}

TEST_F(TestReviewScreen, BackDuringTheReviewRecordsNothing)
{
    review({10});
    ASSERT_EQ(w.t.state.TestScore, 9);
    ASSERT_EQ(s->currentQuestion(), 10); // only question 10 missed
    w.t.dialogs.answers = {Answer::Yes};
    w.click(fm::test::headerButton(s, 4));
    fm::test::TestShell::processDeletes();
    EXPECT_TRUE(w.log().isEmpty());
    EXPECT_FALSE(w.t.state.ReviewMode);
    EXPECT_EQ(w.t.nav.current(), w.mode);
    EXPECT_EQ(w.t.nav.find<TF_Shutsudai>(), nullptr);
}

// ---- double clicks and the marks ----

namespace
{

// Two clicks as a child's double click delivers them: 150 ms apart.
void doubleClick(TestWorld &w, QWidget *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    w.t.clock.advanceSeconds(0.15);
    QTest::mouseClick(button, Qt::LeftButton);
}

// How many pixels of the screen inside rect are near this colour.
int pixelsLike(QWidget *screen, const QRect &rect, const QColor &colour)
{
    const QImage shot = screen->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
                 std::abs(c.blue() - colour.blue()) < 40;
        }
    return n;
}

} // namespace

TEST(TestScreen, ADoubleClickMovesOnOnlyOnceWhileTheKeysTakeEveryPress)
{
    TestWorld w(2, StudyKind::Reading, true);
    TF_Shutsudai *s = w.open();

    doubleClick(w, w.button("Btn_Next")); // はじめ
    EXPECT_EQ(s->currentQuestion(), 1);
    EXPECT_EQ(w.ctl<QGroupBox>("Grp_Mondai")->title(), QStringLiteral("だい1もん"));

    // The same kana twice at once: both are taken.
    const QByteArray first = cp932::charAt(w.current().CorrectAnswer, 0);
    int key = 0;
    for (int i = 1; i <= KanaKeyCount && !key; ++i)
        if (kanaKeyShown(i) && kanaKey(i) == first)
            key = i;
    ASSERT_NE(key, 0);
    QTest::mouseClick(w.button("Btn_Moji", key), Qt::LeftButton);
    QTest::mouseClick(w.button("Btn_Moji", key), Qt::LeftButton);
    EXPECT_EQ(s->answerPanels().answer(), first + first);

    w.t.clock.advanceSeconds(3);
    doubleClick(w, w.button("Btn_Next")); // つぎ
    EXPECT_EQ(s->currentQuestion(), 2);
    EXPECT_EQ(w.ctl<QGroupBox>("Grp_Mondai")->title(), QStringLiteral("だい2もん"));
    EXPECT_EQ(w.slot(1).PlayerAnswer, first + first);
    EXPECT_EQ(w.slot(3).TargetSegment, 0); // never shown

    // Once the moment has passed the button takes a press again.
    w.t.clock.advanceSeconds(0.5);
    QTest::mouseClick(w.button("Btn_Next"), Qt::LeftButton);
    EXPECT_EQ(s->currentQuestion(), 3);
    w.t.clock.advanceSeconds(0.5);
    doubleClick(w, w.button("Btn_Prev")); // まえのもんだい: one question back
    EXPECT_EQ(s->currentQuestion(), 2);
    EXPECT_EQ(w.gradingScreens(), 0);
}

TEST_F(TestReviewScreen, TheAnswerCheckShowsAMarkForASecondAndADoubleClickChecksOnce)
{
    review({2, 7});
    ASSERT_EQ(s->currentQuestion(), 2);
    JudgeMark *mark = w.ctl<JudgeMark>("Img_Mark");
    EXPECT_TRUE(mark->mark().isEmpty());
    EXPECT_FALSE(mark->isVisible());
    // Over the answer line.
    const QRect line(w.ctl<QLabel>("Lbl_kotae")->mapTo(s, QPoint(0, 0)), w.ctl<QLabel>("Lbl_kotae")->size());
    EXPECT_TRUE(mark->geometry().contains(line.center()));

    const QColor red = colour::Red, blue(20, 100, 255);
    w.typeKana(sj("ん"));
    w.click(w.button("Btn_awase"));
    EXPECT_EQ(mark->mark(), QStringLiteral("×"));
    EXPECT_GT(pixelsLike(s, mark->geometry(), blue), 200);
    EXPECT_EQ(pixelsLike(s, mark->geometry(), red), 0);
    EXPECT_TRUE(fm::test::child<QTimer>(mark, "Tim_Mark")->isActive());
    EXPECT_EQ(fm::test::child<QTimer>(mark, "Tim_Mark")->interval(), JudgeMark::ShowMs);
    // It takes no clicks: what lies beneath it does.
    EXPECT_NE(s->childAt(mark->geometry().center()), mark);
    fm::test::tick(mark, "Tim_Mark"); // a second later
    EXPECT_TRUE(mark->mark().isEmpty());
    EXPECT_EQ(pixelsLike(s, mark->geometry(), blue), 0);

    // Right, with a double click on "こたえあわせ": one check, question 7
    // waits with an empty line and no wrong mark for an answer never given.
    w.typeKana(w.slot(2).CorrectAnswer);
    w.t.sound.log.clear();
    w.t.clock.advanceSeconds(2);
    doubleClick(w, w.button("Btn_awase"));
    EXPECT_EQ(s->currentQuestion(), 7);
    EXPECT_EQ(mark->mark(), QStringLiteral("○"));
    EXPECT_GT(pixelsLike(s, mark->geometry(), red), 200);
    EXPECT_EQ(w.t.sound.log.count(QStringLiteral("wave2 play")), 0);
    fm::test::tick(mark, "Tim_Mark");
    EXPECT_FALSE(mark->isVisible());
    EXPECT_EQ(pixelsLike(s, mark->geometry(), red), 0);
}

TEST_F(TestReviewScreen, TheSecondPressOnTheResultsBackButtonDoesNotTypeInTheReview)
{
    // Below the pass mark the result comes first, then the review; "もどる"
    // is double-clicked.
    onResult = [&](TF_Level_Up *r) {
        w.t.clock.advanceSeconds(1.1); // the child reads it first
        QTest::mouseClick(fm::test::child<QPushButton>(r, "BitBtn1"), Qt::LeftButton);
    };
    review({1, 2, 3, 4, 5});
    ASSERT_EQ(s->phase(), TF_Shutsudai::Phase::Review);
    ASSERT_EQ(watcher.seen, 1);
    w.t.clock.advanceSeconds(0.15);
    w.typeKana(sj("あ")); // where the second press landed
    EXPECT_TRUE(s->answerPanels().answer().isEmpty());
    w.t.clock.advanceSeconds(0.5);
    w.typeKana(sj("あ"));
    EXPECT_EQ(s->answerPanels().answer(), sj("あ"));
}
