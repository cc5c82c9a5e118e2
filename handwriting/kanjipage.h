#pragma once
// A kanji's own page: the kanji large on practice paper, its reading box,
// stroke count, parts and level, the stroke-order animation, and guided
// writing in three rounds (なぞる over the pale kanji, うすく with only the
// strokes' starting dots, かく on blank paper), each stroke judged as the
// pen lifts.
#include "handwriting/centrelines.h"
#include "handwriting/strokejudge.h"
#include "shell/kit.h"
#include "shell/paper.h"
#include "shell/screen.h"
#include <QLabel>
#include <QPushButton>
#include <memory>

class QTimer;

namespace fm
{

struct AppState;
class StrokeOrderView;

// The practice paper of the page, which the child writes on. A stroke
// being written when the page goes is dropped.
class GuidedSquare : public PaperWidget
{
    Q_OBJECT
  public:
    // Pixels of the widget outside the paper on each side, where a press
    // starts a stroke on the paper's edge.
    static constexpr int PaperMargin = 14;
    enum class Look {
        Kanji,     // the kanji itself, to look at
        Pale,      // なぞる: every stroke pale grey
        StartDots, // うすく: a dot where each stroke starts
        Blank,     // かく
    };
    explicit GuidedSquare(QWidget *parent);

    void show(const QString &glyph, const StrokePaths &paths, Look look, const GuidedStrokes *guide);
    Look look() const { return look_; }
    // The stroke shown red with its number after a miss (-1: none).
    void setFlash(int stroke);
    int flash() const { return flash_; }

  protected:
    // The kanji shown to look at is not written on.
    bool writable() const override { return look_ != Look::Kanji; }
    void paintEvent(QPaintEvent *event) override;

  private:
    QString glyph_;
    StrokePaths paths_;
    Look look_ = Look::Kanji;
    const GuidedStrokes *guide_ = nullptr;
    int flash_ = -1;
};

class TF_KanjiPage : public ScreenFrame
{
    Q_OBJECT
  public:
    enum Round { Look = 0, Nazoru = 1, Usuku = 2, Kaku = 3 };
    static constexpr int FlashMs = 1200;

    // The page of kanji n; with a tour (the kanji of a level), つぎ and まえ
    // move between its pages.
    TF_KanjiPage(Services &services, int kanjiNumber, QVector<int> tour = {});

    void BackClick() override;
    void FormHide() override;
    void FormClose() override;

    int kanji() const { return kanji_; }
    int round() const { return round_; }
    const GuidedStrokes *guide() const { return guide_.get(); }
    // The child's strokes of this round as the recogniser sees them.
    const Ink &ink() const { return ink_; }

  private:
    // Controls; tests and the help find them by their object names, the
    // arrays' as "Img_Buhin<0..1>" and "Btn_Round<1..3>".
    QLabel *Lbl_Yomi;    // the reading box
    QLabel *Lbl_Kakusuu; // stroke count
    QLabel *Lbl_Level;
    QLabel *Lbl_Buhin; // the parts, as the writing panels name them
    QLabel *Img_Buhin[2];
    QLabel *Lbl_Message; // what to do now, and every judgement in words
    GuidedSquare *Img_Paper;
    StrokeOrderView *Img_Kakijun;
    QPushButton *Btn_Again;    // もういちど
    QPushButton *Btn_Round[4]; // [1..3]: なぞる, うすく, かく
    QPushButton *Btn_Modoru;
    QPushButton *Btn_Mae;
    QPushButton *Btn_Tsugi;
    JudgeMark *Mark;
    QTimer *Tim_Flash; // the missed stroke shown red for FlashMs

    void Btn_RoundClick(int round);
    void Img_PaperStroke(const InkStroke &stroke);
    void Tim_FlashTimer();
    void Btn_TsugiClick();
    void Btn_MaeClick();

    void showKanji(int kanjiNumber);
    void finishRound();
    void judgeWholeKanji();
    void say(const QString &text, const QColor &colour);

    int kanji_ = 0;
    QVector<int> tour_;
    QString glyph_;
    StrokePaths paths_;
    std::unique_ptr<GuidedStrokes> guide_;
    Ink ink_;
    int round_ = Look;
    bool waitingForRecogniser_ = false;
};

// Opens kanji n's page from the current screen; nothing when n is no kanji.
void openKanjiPage(Services &services, int kanjiNumber, QVector<int> tour = {});

// Whether the child has met no kanji of the level yet, in either kind.
bool levelIsNew(const AppState &state, int level);
// Before the first test at a new level: the offer to look through the
// level's twenty pages first, once per child and level while the program
// runs. True when the child said yes and the first page is open.
bool offerNewKanji(Services &services, QWidget *parent);

} // namespace fm
