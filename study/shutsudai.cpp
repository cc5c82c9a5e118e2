#include "study/shutsudai.h"
#include "data/cp932.h"
#include "data/progress.h"
#include "data/questionbank.h"
#include "handwriting/kanjipage.h"
#include "handwriting/strokeorderview.h"
#include "media/mediafiles.h"
#include "shell/clock.h"
#include "shell/dialogs.h"
#include "shell/endflow.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include "shell/random.h"
#include "shell/writing.h"
#include "study/grading.h"
#include "study/levelup.h"
#include "study/saiten.h"
#include <QFile>

namespace fm
{

TF_Shutsudai::TF_Shutsudai(Services &sv)
    : ScreenFrame(sv, ScreenId::Shutsudai, FrameLayout{27}),
      MP_Shu_1(sv, QLatin1String(media::kTestMusic), this), kind_(sv.state.CurrentKind)
{
    // FormCreate
    setFont(pixelFont(16, true, Gothic));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour::White);
    setPalette(p);
    services.random.randomize(services.clock);
    const QCursor hand = services.shell.HandPointer;

    Lbl_Nokori_Time = makeLabel(this, QString(), 408, 0, pixelFont(19, true, Gothic), colour::Red, 220, 24);

    Btn_Cancel = makePushButton(this, QStringLiteral("まえのがめん"), QRect(488, 32, 145, 33), hand,
                                QStringLiteral("まえのがめんにもどる"));
    Btn_Prev = makePushButton(this, QStringLiteral("まえのもんだい"), QRect(488, 64, 145, 33), hand,
                              QStringLiteral("まえのもんだいにもどる"));
    Btn_Next = makePushButton(this, QStringLiteral("はじめ"), QRect(488, 96, 145, 33), hand);
    Btn_awase = makePushButton(this, QStringLiteral("こたえあわせ"), QRect(488, 96, 145, 33), hand,
                               QStringLiteral("こたえあわせをする"));
    Btn_awase->hide();

    Grp_Mondai = makeGroupBox(this, QStringLiteral("もんだい"), QRect(16, 72, 465, 49));
    const QFont segmentFont = pointFont(16, true, Gothic);
    for (int i = 1; i <= 3; ++i) {
        Lbl_Segment[i] = makeLabel(Grp_Mondai, QString(), 10, 20, segmentFont, colour::White);
        Lbl_Segment[i]->setProperty("tag", i);
    }

    panels = new AnswerPanels(sv, this, kind_, Lbl_Title, Btn_Cancel);

    // Right or wrong in the review, over the answer line.
    const QRect line = panels->answerLineRect();
    Img_Mark = new JudgeMark(this, QRect(0, 0, MarkSize, MarkSize));
    Img_Mark->move(line.center() - QPoint(MarkSize / 2, MarkSize / 2));

    // Above the title line, so that it takes the clicks where the two overlap.
    Btn_Debug = makePushButton(this, QStringLiteral("Debug"), QRect(8, -8, 97, 33), hand);
    Btn_Debug->hide();
    Btn_Debug->raise();

    Tim_Clock = new QTimer(this);
    Tim_Clock->setInterval(ClockIntervalMs);
    connect(Tim_Clock, &QTimer::timeout, this, &TF_Shutsudai::Tim_ClockTimer);
    Tim_Result = new QTimer(this);
    Tim_Result->setSingleShot(true);
    Tim_Result->setInterval(JudgeMark::ShowMs);
    connect(Tim_Result, &QTimer::timeout, this, &TF_Shutsudai::Tim_ResultTimer);
    // A double click on a button that moves to another question acts once.
    onGuardedClick(Btn_Next, services.clock, [this] { btn_NextClick(); });
    onGuardedClick(Btn_Prev, services.clock, [this] { Btn_PrevClick(); });
    onGuardedClick(Btn_awase, services.clock, [this] { btn_awaseClick(); });
    connect(Btn_Debug, &QPushButton::clicked, this, &TF_Shutsudai::Btn_DebugClick);
    // In the review of a writing test: the missed kanji's stroke order.
    Btn_Kakijun = makePushButton(this, QStringLiteral("かきじゅん"), QRect(488, 64, 145, 33), hand,
                                 QStringLiteral("このかんじの かきじゅんを みる"));
    Btn_Kakijun->hide();
    onGuardedClick(Btn_Kakijun, services.clock, [this] { Btn_KakijunClick(); });

    Lbl_Nokori_Time->setObjectName(QStringLiteral("Lbl_Nokori_Time"));
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Prev->setObjectName(QStringLiteral("Btn_Prev"));
    Btn_Next->setObjectName(QStringLiteral("Btn_Next"));
    Btn_awase->setObjectName(QStringLiteral("Btn_awase"));
    Btn_Debug->setObjectName(QStringLiteral("Btn_Debug"));
    Btn_Kakijun->setObjectName(QStringLiteral("Btn_Kakijun"));
    Grp_Mondai->setObjectName(QStringLiteral("Grp_Mondai"));
    Img_Mark->setObjectName(QStringLiteral("Img_Mark"));
    for (int i = 1; i <= 3; ++i)
        Lbl_Segment[i]->setObjectName(QStringLiteral("Lbl_Segment%1").arg(i));
    Tim_Clock->setObjectName(QStringLiteral("Tim_Clock"));
    Tim_Result->setObjectName(QStringLiteral("Tim_Result"));
}

TF_Shutsudai::~TF_Shutsudai() = default;

void TF_Shutsudai::FormShow()
{
    if (state.ReviewMode) {
        if (phase_ != Phase::Review && phase_ != Phase::Finished)
            startReview();
        return;
    }
    // Shown again for any other reason, a test under way goes on.
    if (phase_ == Phase::Waiting && CurrentQuestion == 0)
        prepareTest();
}

void TF_Shutsudai::FormHide()
{
    // The first hiding ends the music for good: grading and the review are silent.
    MP_Shu_1.stop();
}

void TF_Shutsudai::FormClose()
{
    Tim_Clock->stop();
    Tim_Result->stop();
    MP_Shu_1.stop();
    panels->releasePictures();
}

// ---- a new test ----

void TF_Shutsudai::prepareTest()
{
    panels->clearAnswer();
    CurrentQuestion = 0;
    panels->hidePanels();
    setHelpContext(screenRow(ScreenId::Shutsudai).helpContext);
    Lbl_Title->setText(QString());
    services.random.randomize(services.clock);
    prepareTestSlots(state, services.random);
    Btn_Next->setText(QStringLiteral("はじめ"));
    Btn_Next->show();
    Btn_awase->hide();
    Btn_Prev->hide();
    panels->showDeleteButtons(false);
    Btn_Cancel->hide();
    Lbl_Nokori_Time->clear();
    phase_ = Phase::Waiting;
}

void TF_Shutsudai::startTest()
{
    Btn_Next->setText(QStringLiteral("つぎ"));
    panels->Btn_Junbi();
    Btn_Debug->setVisible(state.Settings.DebugFlag);
    panels->showDeleteButtons(true);

    StartTime = services.clock.now();
    const int limit =
        kind_ == StudyKind::Reading ? state.Settings.ReadTimeLimit : state.Settings.WriteTimeLimit;
    EndTime = clockEnd(StartTime, limit);
    setHelpContext(kind_ == StudyKind::Reading ? help::TestReading : help::TestWriting);
    Tim_Clock->start();
    MP_Shu_1.start();
    phase_ = Phase::Answering;

    CurrentQuestion = 1;
    if (!readSentence(CurrentQuestion))
        return;
    commonTail();
}

void TF_Shutsudai::btn_NextClick()
{
    if (phase_ == Phase::Waiting && CurrentQuestion == 0)
        startTest();
    else if (phase_ == Phase::Answering)
        nextQuestion();
}

bool TF_Shutsudai::staysForUnchosenDrawing()
{
    if (askedUnchosen_ || !panels->drawingUnchosen())
        return false;
    askedUnchosen_ = true;
    const Answer a = services.dialogs.question(
        this, QStringLiteral("かいた かんじを まだ えらんで いないよ。このまま つぎへ すすむ？"));
    // The clock may have run out behind the question.
    return a != Answer::Yes || phase_ != Phase::Answering;
}

void TF_Shutsudai::storeWriting(QuestionSlot &slot)
{
    if (!panels->writtenGlyph().isEmpty()) {
        slot.WrittenGlyph = panels->writtenGlyph();
        slot.StrokeOrderDiffers = panels->strokeOrderDiffers();
    }
    slot.DrawingUnchosen = panels->drawingUnchosen() && panels->answer().isEmpty();
}

void TF_Shutsudai::nextQuestion()
{
    if (staysForUnchosenDrawing())
        return;
    QuestionSlot &slot = state.QuestionSlots[CurrentQuestion];
    slot.PlayerAnswer = storedAnswer(panels->answer());
    storeWriting(slot);
    if (CurrentQuestion >= QuestionsPerTest) {
        const Answer a =
            services.dialogs.question(this, QStringLiteral("１０もんおわりました。さいてんしてよいですか？"));
        // The clock keeps running behind the question: the time may have run
        // out and handed the test to grading already.
        if (phase_ != Phase::Answering || a != Answer::Yes)
            return;
        commonTail();
        handToGrading();
        return;
    }
    ++CurrentQuestion;
    if (!readSentence(CurrentQuestion))
        return;
    commonTail();
}

void TF_Shutsudai::commonTail()
{
    askedUnchosen_ = false;
    panels->resetForQuestion();
    Btn_Prev->setVisible(CurrentQuestion > 1);
    // "もどる" stays only where the panels reopened the writing square.
    Btn_Cancel->setVisible(panels->panelState() != Panel::Choice);
}

bool TF_Shutsudai::readShown(const QuestionSlot &slot, ShownQuestion &shown)
{
    if (services.guard(this, [&] {
            const QuestionRecord r =
                readQuestionRecord(state.Bank, state.ProgramDir, slot.Kanji, slot.QuestionChoice);
            shown = showQuestion(r, state.Cat, slot.Kanji, kind_);
        }))
        return true;
    // The program is ending on a file error: nothing more happens on this screen.
    phase_ = Phase::Finished;
    Tim_Clock->stop();
    return false;
}

bool TF_Shutsudai::readSentence(int n)
{
    QuestionSlot &slot = state.QuestionSlots[n];
    panels->setAnswer(slot.PlayerAnswer);
    clearSegments();
    ShownQuestion shown;
    if (!readShown(slot, shown))
        return false;
    storeShown(slot, shown);
    showSegments(shown.segments, shown.target);
    Grp_Mondai->setTitle(QStringLiteral("だい%1もん").arg(n));
    return true;
}

void TF_Shutsudai::clearSegments()
{
    for (int i = 1; i <= 3; ++i)
        Lbl_Segment[i]->clear();
}

void TF_Shutsudai::showSegments(const std::array<QByteArray, 4> &segments, int target)
{
    for (int i = 1; i <= 3; ++i) {
        QLabel *label = Lbl_Segment[i];
        label->setText(cp932::toUnicode(segments[i]));
        setTextColour(label, i == target ? colour::Red : colour::White);
        label->adjustSize();
        if (segments[i].isEmpty())
            label->resize(0, label->height());
    }
    const auto x = sentenceLayout(Lbl_Segment[1]->width(), Lbl_Segment[2]->width());
    for (int i = 1; i <= 3; ++i)
        Lbl_Segment[i]->move(x[i - 1], 20);
}

void TF_Shutsudai::Btn_PrevClick()
{
    if (phase_ != Phase::Answering || CurrentQuestion <= 1)
        return;
    // What was typed on the question being left stays for when the child comes back.
    QuestionSlot &left = state.QuestionSlots[CurrentQuestion];
    left.PlayerAnswer = storedAnswer(panels->answer());
    if (!panels->writtenGlyph().isEmpty()) {
        left.WrittenGlyph = panels->writtenGlyph();
        left.StrokeOrderDiffers = panels->strokeOrderDiffers();
    }
    --CurrentQuestion;
    if (CurrentQuestion == 1)
        Btn_Prev->hide();
    const QuestionSlot &slot = state.QuestionSlots[CurrentQuestion];
    showSegments(slot.ShownSegments, slot.TargetSegment);
    panels->setAnswer(slot.PlayerAnswer);
    Grp_Mondai->setTitle(QStringLiteral("だい%1もん").arg(CurrentQuestion));
    askedUnchosen_ = false;
    panels->resetForQuestion();
    // Back on the first panels "もどる" has nothing left to go back to.
    Btn_Cancel->setVisible(panels->panelState() != Panel::Choice);
}

// ---- the clock and the hand-over ----

void TF_Shutsudai::Tim_ClockTimer()
{
    if (phase_ != Phase::Answering) {
        Tim_Clock->stop();
        return;
    }
    const qint64 left = remainingSeconds(EndTime, services.clock.now());
    Lbl_Nokori_Time->setText(clockText(left));
    if (left > 0)
        return;
    timeOut();
}

void TF_Shutsudai::timeOut()
{
    phase_ = Phase::Grading;
    Tim_Clock->stop();
    Lbl_Nokori_Time->clear();
    services.dialogs.information(this, QStringLiteral("じかんがすぎました。さいてんします。"));
    // Pencils down: what stands on the answer line of the question on
    // screen is handed in, as a paper is collected as it is. A drawing the
    // child never chose a kanji for is no answer: which of the candidates
    // was meant only the child can say.
    if (CurrentQuestion >= 1) {
        QuestionSlot &onScreen = state.QuestionSlots[CurrentQuestion];
        onScreen.PlayerAnswer = storedAnswer(panels->answer());
        storeWriting(onScreen);
    }
    // The questions not reached get their sentences for the grading table.
    for (int q = CurrentQuestion + 1; q <= QuestionsPerTest; ++q) {
        QuestionSlot &slot = state.QuestionSlots[q];
        if (!QFile::exists(services.file(sentenceFileName()))) {
            markUnseen(slot, state.Cat);
            continue;
        }
        ShownQuestion shown;
        if (!services.guard(this, [&] {
                const QuestionRecord r =
                    readQuestionRecord(state.Bank, state.ProgramDir, slot.Kanji, slot.QuestionChoice);
                shown = showQuestion(r, state.Cat, slot.Kanji, kind_);
            })) {
            phase_ = Phase::Finished;
            return;
        }
        storeShown(slot, shown);
    }
    services.nav.open<TF_Saiten>(this);
}

void TF_Shutsudai::handToGrading()
{
    if (phase_ != Phase::Answering)
        return;
    phase_ = Phase::Grading;
    Tim_Clock->stop();
    MP_Shu_1.stop();
    services.nav.open<TF_Saiten>(this);
}

void TF_Shutsudai::Btn_DebugClick()
{
    if (phase_ != Phase::Answering)
        return;
    for (int i = 1; i <= QuestionsPerTest - 1 && phase_ == Phase::Answering; ++i) {
        CurrentQuestion = i;
        panels->setAnswer(state.QuestionSlots[i].CorrectAnswer);
        nextQuestion();
    }
    Btn_Debug->hide();
}

// ---- header ----

void TF_Shutsudai::Img_Button1Click(int index)
{
    if (index != int(header::Button::Hint)) {
        ScreenFrame::Img_Button1Click(index);
        return;
    }
    state.HintQuestion = int16_t(CurrentQuestion);
    state.HintContext.kind = state.CurrentKind;
    if (CurrentQuestion != 0)
        state.HintContext.situation =
            hintSituation(state.CurrentKind, state.ListSource, panels->panelState());
    showHint();
}

Screen *TF_Shutsudai::modeScreen() const
{
    if (cameFrom() && cameFrom()->id() == ScreenId::Mode)
        return cameFrom();
    return services.nav.find(ScreenId::Mode, this);
}

void TF_Shutsudai::BackClick()
{
    if (phase_ == Phase::Grading || phase_ == Phase::Finished)
        return;
    const Answer a = services.dialogs.question(this, QStringLiteral("がくしゅうをやめてもよいですか？"));
    // The time may have run out while the question was open.
    if (a != Answer::Yes || phase_ == Phase::Grading || phase_ == Phase::Finished)
        return;
    Tim_Clock->stop();
    if (!state.ReviewMode)
        MP_Shu_1.stop();
    state.ReviewMode = false;
    phase_ = Phase::Finished;
    Screen *target = modeScreen();
    if (!target)
        target = cameFrom();
    if (!target)
        target = services.nav.mainMenu();
    services.nav.closeAndShow(target);
}

// ---- the review ----

void TF_Shutsudai::startReview()
{
    phase_ = Phase::Review;
    Tim_Clock->stop();
    panels->clearAnswer();
    CurrentQuestion = 0;
    panels->hidePanels();
    panels->Btn_Junbi();
    clearSegments();
    Btn_Debug->hide();
    Btn_Next->hide();
    Btn_awase->show();
    btn_awaseClick(); // to the first missed question
    if (phase_ != Phase::Review)
        return;
    Lbl_Title->setText(QStringLiteral("まちがえたもんだいのふくしゅうです"));
    Lbl_Title->resize(Lbl_Title->sizeHint().width(), Lbl_Title->height());
    setHelpContext(help::Review);
    // The delete buttons come with the first answer check.
    Btn_Prev->hide();
    panels->showDeleteButtons(false);
    Btn_Cancel->setVisible(panels->panelState() != Panel::Choice);
    Lbl_Nokori_Time->clear();
}

void TF_Shutsudai::btn_awaseClick()
{
    if (phase_ != Phase::Review)
        return;
    Btn_Prev->hide();
    panels->showDeleteButtons(true);
    Btn_Cancel->setVisible(panels->panelState() != Panel::Choice);
    if (CurrentQuestion > 0 && panels->answer().isEmpty() && panels->drawingUnchosen() && !askedUnchosen_) {
        // Written but not chosen: a reminder, not a ×.
        askedUnchosen_ = true;
        services.dialogs.information(
            this, QStringLiteral("かいた かんじを えらんでから 「こたえあわせ」を おしてね。"));
        return;
    }
    if (CurrentQuestion > 0) {
        const QuestionSlot &slot = state.QuestionSlots[CurrentQuestion];
        if (!answerIsRight(panels->answer().trimmed(), slot.CorrectAnswer)) {
            services.shell.MaruBatsu.playWrong();
            Img_Mark->showWrong();
            panels->eraseAnswer();
            return; // the same question again
        }
        services.shell.MaruBatsu.playRight();
        Img_Mark->showRight();
    }
    const int next = reviewAdvance(state.QuestionSlots, CurrentQuestion);
    if (next == 0) {
        finishReview();
        return;
    }
    CurrentQuestion = next;
    askedUnchosen_ = false;
    const QuestionSlot &slot = state.QuestionSlots[CurrentQuestion];
    panels->clearAnswer();
    clearSegments();
    // The same sentence as in the test, read again; the slot stays as graded.
    ShownQuestion shown;
    if (!readShown(slot, shown))
        return;
    showSegments(shown.segments, shown.target);
    Grp_Mondai->setTitle(QStringLiteral("だい%1もん").arg(CurrentQuestion));
    panels->resetForQuestion();
    Btn_Kakijun->setVisible(kind_ == StudyKind::Writing && strokeOrderAvailable(services, slot.Kanji));
}

void TF_Shutsudai::Btn_KakijunClick()
{
    if (phase_ != Phase::Review || CurrentQuestion < 1)
        return;
    // The missed kanji's own page: its stroke order played, and writing it
    // stroke by stroke. Its もどる comes back to this question of the review.
    openKanjiPage(services, state.QuestionSlots[CurrentQuestion].Kanji);
}

void TF_Shutsudai::finishReview()
{
    phase_ = Phase::Finished;
    Btn_Kakijun->hide();
    // A passed test counts only now; one below the pass mark was recorded
    // as not passed right after grading.
    if (state.TestScore >= AppState::PassMark) {
        const double now = services.clock.now();
        if (!services.guard(this, [&] { recordTest(state, true, now); }))
            return;
    }
    // The last ○ shows for its moment before the result window covers it.
    Tim_Result->start();
}

void TF_Shutsudai::Tim_ResultTimer()
{
    Tim_Result->stop();
    if (phase_ != Phase::Finished || !state.ReviewMode)
        return;
    Img_Mark->clear();
    finishToFreshMode(services, this, nullptr, [this] {
        state.ReviewMode = false;
        TF_Level_Up result(services, this);
        result.exec();
    });
}

} // namespace fm
