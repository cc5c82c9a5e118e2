#pragma once
// The answer panels of the test screen: the answer line with its two delete
// buttons, and the keys a child builds an answer with — 80 kana keys for
// reading; for writing the radical groups, their parts, the stroke counts,
// the whole-range list and the 80 kanji candidates.
#include "handwriting/ink.h"
#include "study/testrules.h"
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <array>

namespace fm
{

struct Services;
class WritingSquare;

// Candidates beside the writing square.
constexpr int WritingCandidateCount = 5;

class AnswerPanels : public QObject
{
    Q_OBJECT
  public:
    // Builds the panels of one kind (kana for reading, kanji for writing) on the screen.
    // title is the screen's instruction line, cancel its "もどる" button.
    AnswerPanels(Services &services, QWidget *screen, StudyKind kind, QLabel *title, QPushButton *cancel);

    StudyKind kind() const { return kind_; }

    // Prepares the panels for the start of a test or a review (Btn_Junbi).
    void Btn_Junbi();
    // Hides the four answer panels.
    void hidePanels();
    // Back to the first panels when a question is shown.
    void resetForQuestion();
    // Shows or hides the answer line's two delete buttons.
    void showDeleteButtons(bool shown);
    // The answer line's label, in the screen's coordinates.
    QRect answerLineRect() const;
    // Lets go of the part pictures when the screen closes.
    void releasePictures();

    // The answer line.
    const QByteArray &answer() const { return line_.text(); }
    int AnswerCharCount() const { return line_.count(); }
    void setAnswer(const QByteArray &text);
    void clearAnswer();
    // As "ぜんぶけす": the line empties, and a kanji picked on the square is
    // no longer the answer.
    void eraseAnswer();

    // Which panel the child is on, and the radical group and part last chosen.
    Panel panelState() const { return nav_.PanelState; }
    int selectedGroup() const { return SelectedGroup; }
    int selectedPart() const { return SelectedPart; }

    // Whether the writing square is offered on these panels.
    bool writingOffered() const;
    // The kanji last chosen from the square's candidates on this question,
    // and whether the strokes written differ from its stroke order.
    const QByteArray &writtenGlyph() const { return writtenGlyph_; }
    bool strokeOrderDiffers() const { return strokeOrderDiffers_; }
    // Strokes on the square that no candidate was chosen for since they
    // were written: a drawing the child has not turned into an answer.
    bool drawingUnchosen() const;
    // Whether the child answers this test on the square: opening it keeps
    // it open for the next questions, "もどる" from it goes back to the lists.
    bool answersOnSquare() const { return answersOnSquare_; }
    // The candidate button marked as the answer (0 for none).
    int chosenCandidate() const { return chosen_; }

  private:
    // Controls, on the screen; tests and the help find them by their object
    // names, numbered ones as "<name><n>".
    QGroupBox *Grp_Kotae;
    QLabel *Lbl_kotae;
    QPushButton *Btn_DelPart;
    QPushButton *Btn_Delall;
    QGroupBox *Grp_Kanji;
    QGroupBox *Grp_Bushu = nullptr;
    QGroupBox *Grp_Buhin = nullptr;
    QGroupBox *Grp_Kakusuu = nullptr;
    std::array<QPushButton *, KanaKeyCount + 1> Btn_Moji{};         // reading
    std::array<QPushButton *, RadicalGroupCount + 1> Btn_Bushu{};   // writing
    std::array<QPushButton *, StrokeButtonCount + 1> Btn_Kakusuu{}; // writing
    QPushButton *Btn_Gakunen_all = nullptr;                         // writing
    std::array<QPushButton *, PartButtonCount + 1> Btn_Buhin{};     // writing
    std::array<QPushButton *, CandidateCount + 1> Btn_Kanji{};      // writing
    QImage PartsStrip; // BuhinX.bmp: 64-pixel cells, one per part glyph

    // The writing square's panel.
    QPushButton *Btn_Kaku = nullptr; // "かいてこたえる", beside the radical groups
    QGroupBox *Grp_Kaku = nullptr;
    WritingSquare *Img_Kaku = nullptr;
    QLabel *Lbl_KakuJoutai = nullptr; // what to do next, or why it cannot be used
    std::array<QPushButton *, WritingCandidateCount + 1> Btn_Kouho{};
    QLabel *Lbl_Kouho = nullptr;        // the candidates' heading
    QPushButton *Btn_Hitotsu = nullptr; // takes back the last stroke
    QPushButton *Btn_Zenbu = nullptr;   // clears the square to write again

    // Handlers of the panel buttons, by the button's number.
    void Btn_MojiClick(int i);
    void Btn_KanjiClick(int i);
    void Btn_DelPartClick();
    void Btn_DelallClick();
    void Btn_BushuClick(int g);
    void Btn_BuhinClick(int j);
    void Btn_KakusuuClick(int s);
    void Btn_Gakunen_allClick();
    // The screen's "もどる" (its cancel button): one panel back.
    void Btn_CancelClick();
    // The writing square (writing tests, when it is offered).
    void Btn_KakuClick();
    void Btn_KouhoClick(int i);
    void Img_KakuChanged();

    PanelNav nav_;
    int SelectedGroup = 0;
    int SelectedPart = 0;

    void nameControls();
    void buildReading(double scale);
    void buildWriting(double scale);
    void buildRadicalGroups(double scale);
    QPushButton *panelButton(QWidget *box, const QString &text, PanelButton kind, int i, double scale);
    void showAnswer();
    void showCandidates(const QVector<int16_t> &kanji);
    // The kanji list made from a part (1), a stroke count (2) or the whole range (3).
    void openList(KanjiListSource source, const QVector<int16_t> &kanji);
    QPixmap partPicture(int glyphIndex) const;
    void buildWritingSquare(double scale);
    void showWritingStatus();
    void forgetWriting();
    void openSquare();
    void markChosen(int i);
    void dropChosenIfErased();

    Services &services_;
    QWidget *screen_;
    StudyKind kind_;
    QLabel *title_;
    QPushButton *cancel_;
    AnswerLine line_;
    QVector<int> written_; // the candidates shown, kanji numbers
    QByteArray writtenGlyph_;
    bool strokeOrderDiffers_ = false;
    bool inkSincePick_ = false;
    bool answersOnSquare_ = false;
    int chosen_ = 0;
};

} // namespace fm
