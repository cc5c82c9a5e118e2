#pragma once
// The result window shown after a recorded test: how it went, level news and
// the progress of the level being studied. It only reads the state.
#include "data/studylog.h"
#include "study/grading.h"
#include <QDialog>
#include <QPixmap>
#include <array>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace fm
{
struct Services;

// The program's own little picture (a smiling brush) for the hint window and
// for a test that was not passed.
QPixmap fudemaruPicture(QSize size);

class TF_Level_Up : public QDialog
{
    Q_OBJECT
  public:
    // Fills everything at once; a picture file that cannot be read ends the program.
    TF_Level_Up(Services &services, QWidget *parent);

    // Shown modally by the caller; returns at once when the program is ending.
    int exec() override;
    bool failed() const { return failed_; }
    // The picture file shown, empty for the built-in picture.
    const QString &pictureFile() const { return content_.picture; }

  private:
    // Controls; tests and the help find them by their object names,
    // Btn_Kakijun's as "Btn_Kakijun<question>".
    QLabel *Image1;
    QLabel *Lbl_Goukaku_Msg1;
    QLabel *Lbl_Level_Msg1;
    QGroupBox *Grp_Title1;
    QLabel *Lbl_Level1;
    QLabel *Lbl_Level2;
    QProgressBar *PBar_Level_Cnt;
    QPushButton *BitBtn1;
    // Right answers written in another stroke order, each a button to its
    // stroke-order picture: the grading screen's advice, kept where the
    // child can still press it.
    QLabel *Lbl_Kakijun;
    std::array<QPushButton *, QuestionsPerTest + 1> Btn_Kakijun{};

    void BitBtn1Click();
    void Btn_KakijunClick(int question);

    void FormCreate();
    void showStrokeOrderAdvice();

    Services &services;
    ResultContent content_;
    bool failed_ = false;
};

} // namespace fm
