#pragma once
// The study history: every registered player in a table, and one player's
// tests ten at a time, newest last. Both screens only read.
#include "records/recordrules.h"
#include "records/seisekigrid.h"
#include "shell/screen.h"
#include <QPushButton>

namespace fm
{

class TF_Seiseki1 : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_Seiseki1(Services &services);

    void BackClick() override;

  private:
    // Controls; tests and the help find the named ones by their object names.
    records::SeisekiGrid *Grd_Seiseki;

    // A player's row: that player becomes current and its history opens.
    void Grd_SeisekiClick(int row);
};

class TF_Seiseki2 : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_Seiseki2(Services &services);

    // Records shown so far (before the next page to read).
    int position() const { return position_; }

  private:
    // Controls; tests and the help find the named ones by their object names.
    records::SeisekiGrid *Grd_Seiseki;
    QPushButton *Btn_Prev;
    QPushButton *Btn_Next;
    QPushButton *Btn_Graph;
    QPushButton *Btn_First; // the oldest tests
    QPushButton *Btn_Last;  // the newest tests
    QLabel *Lbl_Empty;      // what to do when there is no test yet

    // Reads and shows one page of the player's log from the page position.
    void Read_Kiroku(int player);
    void showPage(const LogContents &log);
    void Btn_NextClick();
    void Btn_PrevClick();
    void Btn_FirstClick();
    void Btn_LastClick();
    // The same log as a picture for the parent.
    void Btn_GraphClick();

    int position_ = 0;
};

} // namespace fm
