#pragma once
// The grading screen: marks the ten answers one row at a time with a sound,
// counts the points, then records the test, shows the result and hands the
// missed questions back to the test screen, as the score decides.
#include "data/studylog.h"
#include "shell/screen.h"
#include "study/grading.h"
#include <QPointer>
#include <array>

class QPushButton;

class QTableWidget;
class QTimer;

namespace fm
{

class TF_Saiten : public ScreenFrame
{
    Q_OBJECT
  public:
    // testScreen: the test just taken; it stays hidden while this one marks.
    TF_Saiten(Services &services, Screen *testScreen);

    void FormShow() override;
    void FormClose() override;

    // The rows marked so far, 0..10.
    int gradingRow() const { return GradingRow; }

  private:
    // Controls; tests and the help find them by their object names,
    // Btn_Kakijun's as "Btn_Kakijun<question>".
    QLabel *Lbl_Tokuten;
    // "かきじゅんを たしかめよう": right answers written in another stroke order.
    QLabel *Lbl_Kakijun;
    std::array<QPushButton *, QuestionsPerTest + 1> Btn_Kakijun{};
    QTableWidget *Grd_Saiten;
    QTimer *Tim_Saiten;

    // Every 1500 ms: the next row, or after the tenth the finish.
    void Tim_SaitenTimer();
    // The finish by score: record, result window, review or a fresh mode screen.
    void Btn_CancelClick();
    void Btn_KakijunClick(int question);

    int GradingRow = 0;

    // The marking table; returns where its rows end.
    int buildGrid();
    void buildStrokeOrderNotes(int noteTop);
    void fillRow(const GradedRow &row);
    void noteStrokeOrder(int question);
    bool showResult();
    void startReview();

    QPointer<Screen> testScreen_;
    bool finished_ = false;
    bool resumeMarking_ = false; // marking stopped while a kanji's page is open
};

} // namespace fm
