#pragma once
// The kanji whack-a-mole screen: moles carrying kanji rise out of a 5 x 5
// field, and the child hits only those of the kanji whose word stands in
// the sentence at the top. The rules are in molegame.h, the drawing in
// molefield.h; this screen owns the controls, the timer and the sounds.
#include "games/molefield.h"
#include "games/molegame.h"
#include "games/sentence.h"
#include "shell/kit.h"
#include "shell/music.h"
#include "shell/screen.h"
#include <QIcon>
#include <QImage>
#include <QTimer>
#include <array>
#include <memory>

class QGroupBox;
class QPushButton;
class QSlider;

namespace fm
{

// The playing field `Img1`: shows a copy of the field picture and reports
// presses in layout pixels.
class MoleFieldView : public PictureView
{
    Q_OBJECT
  public:
    using PictureView::PictureView;

  signals:
    void pressed(int x, int y);

  protected:
    void mousePressEvent(QMouseEvent *event) override;
};

class TF_Game2 : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_Game2(Services &services);
    ~TF_Game2() override;

    void FormClose() override;
    void BackClick() override { Cancel(); }

    // Leaves the screen for the mode screen; a game still running records nothing.
    void Cancel();
    bool running() const { return running_; }

    const mole::MoleGame &game() const { return game_; }
    mole::MoleField &field() { return *field_; }
    const games::SentenceLine &sentence() const { return SentenceLabels; }

  private:
    void Btn_StartClick();
    void Timer1Timer();
    void Img1MouseDown(int x, int y);

    // Controls; tests and the help find the named ones by their object names.
    QLabel *Label1; // the frame's title label
    QLabel *Label2;
    MoleFieldView *Img1;
    // A brief × on the hole of a press that hit no target.
    JudgeMark *Mark_Miss;
    QGroupBox *GroupBox2;
    QLabel *Label5;
    QLabel *Label6;
    QSlider *TBar_Speed;
    QGroupBox *GroupBox1;
    QLabel *Label3;
    QLabel *Shap_Shutsudai;
    QLabel *Shap_Shutsudai_sumi;
    QLabel *Lbl_Shutsudai_Seikai;
    QLabel *Label4;
    QLabel *Shap_Seikai;
    QLabel *Shap_Seikai_Sumi;
    QLabel *Lbl_Seikai;
    QPushButton *Btn_Start;
    games::SentenceLine SentenceLabels; // labels 1..3 in the header's row
    QTimer *Timer1;                     // a step of the moles
    ScreenMusic MP_MO_1;
    std::unique_ptr<MediaPlayer> MP_Atari;
    std::unique_ptr<MediaPlayer> MP_Hazure;

    void buildSpeedBox(const QFont &groupFont);
    void buildScoreBox(const QFont &groupFont);
    void buildStartButton();
    void loadPictures();
    void prepareSounds();
    void makeField();
    bool ShowKanjiSentence(int kanji);
    void showCounters();
    void playEffect(MediaPlayer *play, MediaPlayer *silence);
    void endOfGame();
    void stopEverything();
    void setBarWidth(QLabel *bar, int count);

    void setSentenceVisible(bool visible);

    QIcon startIcon_;
    QIcon endIcon_;
    QImage holePicture_;
    QImage hitPicture_;
    mole::MoleGame game_;
    std::unique_ptr<mole::MoleField> field_;
    bool running_ = false;
    bool leaving_ = false;
    bool waveErrorShown_ = false;
};

} // namespace fm
