#pragma once
// Message boxes and questions. Screens never call QMessageBox directly, so a
// test can answer every question from a script and read back what was said.
#include <QString>

class QWidget;

namespace fm
{

enum class Answer { Yes, No, Cancel };

class Dialogs
{
  public:
    virtual ~Dialogs() = default;
    // An information box titled "情報" with one OK button.
    virtual void information(QWidget *parent, const QString &text) = 0;
    // A question with Yes, No and Cancel; only Yes proceeds.
    virtual Answer question(QWidget *parent, const QString &text) = 0;
    // A plain message box with an OK button.
    virtual void message(QWidget *parent, const QString &text) = 0;
    // The last word before the program ends on a bad data file.
    virtual void fatalFileError(QWidget *parent, const QString &text) = 0;
};

// The real boxes, with Japanese button captions.
class MessageBoxDialogs final : public Dialogs
{
  public:
    void information(QWidget *parent, const QString &text) override;
    Answer question(QWidget *parent, const QString &text) override;
    void message(QWidget *parent, const QString &text) override;
    void fatalFileError(QWidget *parent, const QString &text) override;
};

} // namespace fm
