#pragma once
// The test screen: ten questions of one level and kind, answered on the
// answer panels against a clock, then handed to grading; shown again after
// grading, the same screen runs the review of the missed questions.
#include "shell/kit.h"
#include "shell/screen.h"
#include "study/panels.h"
#include "study/testrules.h"
#include <QPushButton>
#include <QTimer>
#include <array>

namespace fm
{

class TF_Shutsudai : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_Shutsudai(Services &services);
    ~TF_Shutsudai() override;

    // Where the screen is in its life; the clock, the buttons and the back
    // question all look at it so that a test reaches grading only once.
    enum class Phase { Waiting, Answering, Grading, Review, Finished };
    Phase phase() const { return phase_; }

    void FormShow() override;
    void FormHide() override;
    void FormClose() override;
    void BackClick() override;

    // The question on screen, 1..10 (0 before the start).
    int currentQuestion() const { return CurrentQuestion; }
    // What the answer panels hold and show, read only.
    const AnswerPanels &answerPanels() const { return *panels; }

  private:
    // Controls; tests and the help find them by their object names,
    // Lbl_Segment's as "Lbl_Segment<n>".
    QLabel *Lbl_Nokori_Time;
    QPushButton *Btn_Cancel;
    QPushButton *Btn_Prev;
    QPushButton *Btn_Next;
    QPushButton *Btn_awase;
    QPushButton *Btn_Debug;
    QPushButton *Btn_Kakijun; // the review's stroke-order picture (writing)
    QGroupBox *Grp_Mondai;
    JudgeMark *Img_Mark;                   // ○ / × of the review's answer check
    std::array<QLabel *, 4> Lbl_Segment{}; // [1..3], tags 1..3
    QTimer *Tim_Clock;                     // the clock of the test, every second
    QTimer *Tim_Result;                    // the last ○ of the review, before the result
    AnswerPanels *panels;
    ScreenMusic MP_Shu_1;

    void btn_NextClick();
    void Btn_PrevClick();
    void Tim_ClockTimer();
    // The end of the review's last ○: the result window opens.
    void Tim_ResultTimer();
    void Btn_DebugClick();
    void btn_awaseClick();
    void Btn_KakijunClick();
    void Img_Button1Click(int index) override;

    // Screen state.
    int CurrentQuestion = 0;
    double StartTime = 0;
    double EndTime = 0;

    static constexpr int MarkSize = 84;
    void prepareTest();
    void startTest();
    void nextQuestion();
    void commonTail();
    bool readSentence(int n);
    // The sentence of a slot as shown; false when a file error ends the program.
    bool readShown(const QuestionSlot &slot, ShownQuestion &shown);
    void showSegments(const std::array<QByteArray, 4> &segments, int target);
    void clearSegments();
    void stopClockAndMusic();
    void handToGrading();
    void timeOut();
    void startReview();
    void finishReview();
    // What the square holds goes with the answer into the slot.
    void storeWriting(QuestionSlot &slot);
    // True when the child wants to stay on a question whose drawing was
    // never chosen; asked once per question.
    bool staysForUnchosenDrawing();
    Screen *modeScreen() const;

    Phase phase_ = Phase::Waiting;
    bool askedUnchosen_ = false;
    StudyKind kind_;
};

} // namespace fm
