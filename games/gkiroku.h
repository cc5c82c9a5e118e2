#pragma once
// The score board window a finished game opens: the board with the new score
// in its place and marked, whether it made the top ten, and the board written
// back to its file before the window shows.
#include "games/scoreboard.h"
#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace fm
{
class Screen;
struct Services;

// The end of game 1 or 2, the same for both: a rising game level is counted
// and written at once (a child who wins and then closes the program in any
// other way than the menu's end button keeps it), the verdicts are shown,
// then the score board over a fresh mode screen that shows the new stars.
// False when the program ended on the way.
bool finishGame(Services &services, Screen *screen, GameId game, int16_t score, bool levelRises,
                const QStringList &verdicts);

class TF_Game_Kiroku : public QDialog
{
    Q_OBJECT
  public:
    // Builds the board of game 1 (matching) or 2 (whack-a-mole) with the new
    // score, and writes the file at once. A board file that cannot be read or
    // written ends the program.
    TF_Game_Kiroku(Services &services, GameId game, int16_t score, QWidget *parent);

    // Shown modally by the game; returns at once when the program is ending.
    int exec() override;
    bool failed() const { return failed_; }
    std::optional<GameId> game() const { return game_; }
    const games::PlacedBoard &board() const { return board_; }

  protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    // Controls; tests and the help find the named ones by their object names.
    QLabel *Lbl_Goukaku_Msg1; // the verdict on the new score
    QLabel *Label1;
    QTreeWidget *Lst_Kiroku;
    QPushButton *BitBtn1; // "もどる"

    void BitBtn1Click();
    void FormCreate(GameId game, int16_t score);

    Services &services;
    std::optional<GameId> game_;
    games::PlacedBoard board_;
    bool failed_ = false;
};

} // namespace fm
