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

    QLabel *Label1;
    QLabel *lbl_Name;
    QPushButton *btn_clear;
    QPushButton *btn_Touroku;
    QPushButton *key(int i) const { return keys_->key(i); } // 1..80
    int kanaCount() const { return count_; }

    void Btn_MojiClick(int key);
    void btn_clearClick();
    void btn_TourokuClick();
    void BackClick() override;

  private:
    KanaKeypad *keys_ = nullptr;
    int count_ = 0;
};

} // namespace fm
