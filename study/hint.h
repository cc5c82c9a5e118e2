#pragma once
// The hint window behind every hint button: the pages of Hint.dat written
// for the screen and situation the child is in, and in a practice test an
// answer hint made from the question's expected answer.
#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace fm
{
struct Services;
struct AppState;

class TF_Hint : public QDialog
{
    Q_OBJECT
  public:
    TF_Hint(Services &services, QWidget *parent);

    // Prepares the window (FormShow) and shows it modally; returns at once
    // when Hint.dat could not be read (the program is ending then).
    int exec() override;

    // Loads the hint index the first time, opens on the context's first page
    // and offers the answer hint where it applies. False when Hint.dat failed.
    bool FormShow();
    // The page shown, a record number of Hint.dat.
    int currentHint() const { return CurrentHint; }

  private:
    // Controls; tests and the help find them by their object names.
    QLabel *Image1; // the picture: it opens the help
    QPlainTextEdit *Mem_Hint_Level1;
    QPlainTextEdit *Mem_Hint_Level2;
    QPushButton *Btn_Kotae_Hint;
    QPushButton *Btn_Kakijun; // the question's stroke order, with the answer hint
    QPushButton *Btn_Prev;
    QPushButton *Btn_Next;
    QPushButton *BitBtn1;

    void Btn_NextPrevClick(int tag); // tag 1 next page, 0 previous page
    void Btn_Kotae_HintClick();
    void Image1Click();
    void BitBtn1Click();
    void Btn_KakijunClick();

    int CurrentHint = 1;

    void showPage(int page);
    bool readPage(int page);
    int hintKanji() const;

    Services &services;
    AppState &state;
    bool failed_ = false;
};

} // namespace fm
