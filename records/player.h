#pragma once
// Player selection: the roster as a list of names to click.
#include "shell/look.h"
#include "shell/screen.h"
#include <QLabel>
#include <array>

namespace fm
{

class TF_Player : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_Player(Services &services);

    void BackClick() override;

  protected:
    void mouseMoveEvent(QMouseEvent *event) override;

  private:
    // Controls; tests and the help find them by their object names.
    // Per player 1..10 (nullptr beyond PlayerCount): "Lbl_PlayerName<n>",
    // "Lbl_PlayerLevel<n>", "Lbl_PlayerKind<n>".
    std::array<ClickLabel *, 11> Lbl_PlayerName{};
    std::array<QLabel *, 11> Lbl_PlayerLevel{};
    std::array<QLabel *, 11> Lbl_PlayerKind{};
    // Column titles [1..3][column 1..2]: name, level, kind;
    // "Lbl_ColumnTitle<title>_<column>", the second column's only from the sixth player.
    std::array<std::array<QLabel *, 3>, 4> Lbl_ColumnTitle{};

    void Lbl_PlayerMouseMove(int player);
    void FormMouseMove();
    void Lbl_PlayerClick(int player);

    void buildTitles(int column, int xOffset);
    void buildPlayer(int player);
};

} // namespace fm
