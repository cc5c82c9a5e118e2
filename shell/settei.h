#pragma once
// TF_Settei: the parents' settings dialog: the two time limits, the writing
// square, and erasing the games' score boards.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace fm
{

struct Services;

// Up and down arrows that step a spin box (they stand on the field's left).
class UpDown : public QWidget
{
    Q_OBJECT
  public:
    UpDown(QWidget *parent, QSpinBox *associate);

  private:
    // Tests find the arrows by their object names.
    QPushButton *Btn_Up;
    QPushButton *Btn_Down;
};

class TF_Settei : public QDialog
{
    Q_OBJECT
  public:
    TF_Settei(Services &services, QWidget *parent = nullptr);

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    // Controls; tests and the help find the named ones by their object names.
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    QSpinBox *Edt_Yomu_Time, *Edt_Kaku_Time; // 1 .. 59; nothing else can be typed
    UpDown *UD_Yomu_Time, *UD_Kaku_Time;
    QPushButton *Btn_G1_Clear, *Btn_G2_Clear, *Btn_OK, *Btn_Cancel;
    QCheckBox *Chk_Tegaki; // writing tests offer the writing square

    void Btn_OKClick();
    void Btn_CancelClick();
    void Btn_G1_ClearClick();
    void Btn_G2_ClearClick();

    void FormShow();
    void erase(const QString &question, const QString &file, QPushButton *button);
    Services &services;
};

} // namespace fm
