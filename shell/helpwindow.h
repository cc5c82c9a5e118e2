#pragma once
// The help viewer: a window showing the program's HTML help page for a
// context number (help/<context>.html in the program directory).
#include "shell/helpviewer.h"
#include <QPointer>
#include <QWidget>

class QTextBrowser;
class QPushButton;

namespace fm
{

struct AppState;

class HelpWindow : public QWidget
{
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget *parent = nullptr);
    // Shows the page of this context from helpDir, or says that it is missing.
    void showContext(const QString &helpDir, int context);
    QTextBrowser *browser() const { return browser_; }

  private:
    QTextBrowser *browser_;
    QPushButton *close_;
};

class HtmlHelpViewer final : public HelpViewer
{
  public:
    explicit HtmlHelpViewer(const AppState &state) : state_(state) {}
    ~HtmlHelpViewer() override;
    void showHelp(QWidget *parent, int context) override;
    HelpWindow *window() const { return window_; }

  private:
    const AppState &state_;
    QPointer<HelpWindow> window_;
};

// The help page's file name for a context.
QString helpPagePath(const QString &programDir, int context);

} // namespace fm
