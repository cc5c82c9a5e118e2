#pragma once
// The kanji matching game: 36 cards, nine kanji of the child's game level on
// four cards each, played in turns against the computer. Every turned card
// shows its kanji and an example sentence; a finished game may raise the game
// level and goes on the score board.
#include "games/matchgame.h"
#include "games/sentence.h"
#include "shell/look.h"
#include "shell/music.h"
#include "shell/screen.h"
#include <array>
#include <memory>

class QPushButton;
class QRadioButton;
class QTimer;

namespace fm
{

// Where the cards lie in Grp_E for a layout size, in the 640 × 480 layout's pixels.
struct CardLayout {
    int side;                // a card's width and height
    int pictureSide;         // the card picture, stretched to the card
    QPoint origin;           // card 1's top left
    QSize box;               // Grp_E
    int kanjiPixels;         // KanjiLabels' font
    QRect card(int i) const; // card i (1..36), numbered down the columns
};
CardLayout cardLayout(LayoutSize size);

class TF_Game1 : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_Game1(Services &services);
    ~TF_Game1() override;

    const games::MatchGame &game() const { return game_; }
    const games::SentenceLine *sentence() const { return sentence_.get(); }
    const CardLayout &layout() const { return layout_; }
    // The strength item (0..2) the child has chosen.
    int strengthItem() const;
    bool musicPlaying() const { return music_.playing(); }

    void FormShow() override;
    void FormClose() override;
    void BackClick() override { Btn_CancelClick(); }

  private:
    // Controls; tests and the help find the named ones by their object names.
    QLabel *Label1; // the title
    QGroupBox *Grp_Tsuyosa;
    std::array<QRadioButton *, 3>
        Rad_Tsuyosa{}; // "Rad_Tsuyosa<item>", items 0..2: "つよい", "ふつう", "よわい"
    QGroupBox *GroupBox1;
    QLabel *Label3;
    QLabel *Lbl_Man_ten;
    QWidget *Shap_Man;
    QWidget *Shap_Man_Toku;
    QLabel *Label4;
    QLabel *Lbl_Com_ten;
    QWidget *Shap_Com;
    QWidget *Shap_Com_Toku;
    QGroupBox *Grp_E;
    QPushButton *Btn_Start;
    QLabel *Lbl_Junban;
    QTimer *Timer1;                                         // the computer's steps
    std::array<ClickLabel *, games::CardCount + 1> Cards{}; // [1..36] "Btn_E<n>", made at the start
    std::array<QLabel *, 3> KanjiLabels{};                  // [1..2] "KanjiLabel<n>"

    void Btn_StartClick();
    void Btn_EClick(int card);
    void Timer1Timer();
    void Btn_CancelClick();

    // The chosen strength stands out; a locked group looks locked.
    void colourStrengths();
    QLabel *groupLabel(QWidget *parent, const QString &text, int x, int y, const QFont &font);
    QWidget *bar(QWidget *parent, int x, int y, int width, const QColor &colour);
    QPixmap cardBack();
    void makeCards();
    bool turnFaceUp(int card, int pick); // false when the program is ending
    void showCardBack(int card);
    void setPlayersTurn(bool players);
    void showScores();
    void endOfGame();
    RandomFn random();

    games::MatchGame game_;
    CardLayout layout_;
    std::unique_ptr<games::SentenceLine> sentence_;
    ScreenMusic music_;
    bool leaving_ = false;
};

} // namespace fm
