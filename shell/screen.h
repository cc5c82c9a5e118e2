#pragma once
// Screens: pages of the one full-screen host window, laid out in the 640 × 480 layout's
// 640 x 480 pixel coordinates on a navy ground. Exactly one is visible; going
// forward hides the current screen, going back frees it (see Navigator).
#include "shell/catalogue.h"
#include "shell/look.h"
#include "shell/services.h"
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>

namespace fm
{

// The header buttons' tags: the first three on every screen, the fourth a
// framed screen's "もどる" (the main menu has buttons of its own from there).
namespace header
{
enum class Button : int { Hint = 1, Help = 2, Minimise = 3, Back = 4 };
constexpr int ButtonCount = int(Button::Back);
} // namespace header

// The 640 × 480 layout's screen size; every screen page has it.
constexpr int DesignWidth = 640;
constexpr int DesignHeight = 480;

// A 48 x 48 picture button: the header buttons of every screen and the main
// menu's eight. Its tag says which one it is; clicked() on release inside.
class HeaderButton : public ClickLabel
{
    Q_OBJECT
  public:
    HeaderButton(QWidget *parent, int tag, const QPixmap &icon, const QString &hint, const QCursor &pointer);
};

// An icon of ImgLst_Header drawn over a background colour (its white parts see-through).
QPixmap iconOver(const QPixmap &icon, const QColor &background);

class Screen : public QWidget
{
    Q_OBJECT
  public:
    // Creates the screen as a hidden page of the host (navy, 640 x 480);
    // its number and help page come from the catalogue.
    Screen(Services &services, ScreenId id);
    ~Screen() override;

    ScreenId id() const { return id_; }
    int screenNumber() const { return screenRow(id_).number; }
    int helpContext() const { return helpContext_; }
    void setHelpContext(int context) { helpContext_ = context; }
    // The screen this one was opened from (kept alive, hidden).
    Screen *cameFrom() const { return cameFrom_; }
    void setCameFrom(Screen *screen) { cameFrom_ = screen; }

    // Handlers, run by the navigator and by the host window.
    virtual void FormShow() {}   // each time the screen becomes visible
    virtual void FormHide() {}   // each time it is hidden
    virtual void FormActivate(); // it became active: HintContext := (screen, its own page, reading)
    virtual void FormClose() {}  // it is being closed; it is freed right after

    // The common header actions.
    void showHint(); // the hint window, modal; afterwards this screen is active again
    void showHelp(); // the help page of helpContext()
    void minimise(); // the whole program to the taskbar
    // Header buttons 1..3 (hint, help, minimise) do the same on every screen;
    // false for any other index.
    bool commonHeaderAction(int index);

  protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    Services &services;
    AppState &state;

  private:
    ScreenId id_;
    int helpContext_;
    QPointer<Screen> cameFrom_;
};

// How a framed screen's header differs from the usual one.
struct FrameLayout {
    int headerTop = 30;                                // 27 on the test screen, 42 on registration
    QString backHint = QStringLiteral("まえにもどる"); // "メニューにもどる" on player selection
    bool headerButtons = true;                         // the grading screen has none
};

// A screen with the common frame: title label at the top left (yellow, bold,
// 27 px) and the four header buttons hint, help, minimise and back at left
// 10, 90, 170, 250. Subclasses build their controls in their constructor and
// override BackClick() when going back is more than closing this screen.
class ScreenFrame : public Screen
{
    Q_OBJECT
  public:
    // The title label shows the catalogue's title of the screen.
    ScreenFrame(Services &services, ScreenId id, const FrameLayout &layout = {});

    // Moves the header row (e.g. below a label measured after building).
    void setHeaderTop(int top);

    // Index 4. By default: close this screen and show the one it came from.
    virtual void BackClick();

  protected:
    // The title label, "Lbl_Title" (a screen that renames it says so); tests
    // and the help find it, and the header buttons "Img_Button<n>", by name.
    QLabel *Lbl_Title = nullptr;
    // Header button by index 1..4 (nullptr on a screen without header).
    HeaderButton *headerButton(int index) const { return header_[index]; }

    // The header buttons' click handler, by the button's index.
    virtual void Img_Button1Click(int index);

  private:
    std::array<HeaderButton *, header::ButtonCount + 1> header_{}; // [1..4]
};

} // namespace fm
