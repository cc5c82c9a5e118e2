#pragma once
// The practice level picker: one button per level for reading and for
// writing; a click starts a practice test of that level and kind.
#include "data/levels.h"
#include "shell/screen.h"
#include <array>

class QGroupBox;
class QPushButton;

namespace fm
{

class TF_Renshuu : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_Renshuu(Services &services);

    void FormShow() override;
    void FormClose() override;

    // The twenty kanji of a level, one after the other.
    static QString levelKanji(const AppState &state, int level);

  private:
    // Controls; tests and the help find them by their object names, the
    // level buttons as "Btn_Level_Yomu<level>" and "Btn_Level_Kaku<level>".
    QGroupBox *GRP_Yomu;
    QGroupBox *GRP_Kaku;
    // [1..12], made when the screen is first shown.
    std::array<QPushButton *, 13> Btn_Level_Yomu{};
    std::array<QPushButton *, 13> Btn_Level_Kaku{};

    void Btn_Level_YomuClick(int level);
    void Btn_Level_KakuClick(int level);

    void makeButtons(QGroupBox *box, std::array<QPushButton *, 13> &buttons, StudyKind kind);
    void startTest(int level, StudyKind kind);

    bool built_ = false;
    bool busyPointer_ = false;
};

} // namespace fm
