#pragma once
// Registration: a child types its name on kana keys and joins the roster.
#include "shell/kit.h"
#include "shell/screen.h"
#include <QLabel>
#include <QPushButton>
#include <array>

namespace fm
{

class TF_Touroku : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_Touroku(Services &services);

    int kanaCount() const { return count_; }
    void BackClick() override;

  private:
    // Controls; tests and the help find the named ones by their object names.
    QLabel *Label1; // the instruction at the top
    QLabel *lbl_Name;
    QPushButton *btn_clear;
    QPushButton *btn_Touroku;
    // The kana keys 1..80 are "Btn_Moji<n>".

    void Btn_MojiClick(int key);
    void btn_clearClick();
    void btn_TourokuClick();

    KanaKeypad *keys_ = nullptr;
    int count_ = 0;
};

} // namespace fm
