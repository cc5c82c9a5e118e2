#pragma once
// The host window and the hand-over between screens.
#include "shell/catalogue.h"
#include "shell/screen.h"
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

namespace fm
{

using ScreenFactory = std::function<Screen *(Services &)>;
using HintWindowFn = std::function<void(Services &, QWidget *parent)>;

// The factories of the catalogue's screens. Each folder adds its own
// (<folder>/register.h); the program checks at start that none is missing.
class ScreenRegistry
{
  public:
    void add(ScreenId id, ScreenFactory factory) { factories_[id] = std::move(factory); }
    bool has(ScreenId id) const { return factories_.count(id) != 0; }
    // The screens of the catalogue that no folder has provided (the main menu
    // is the program's own).
    std::vector<ScreenId> missing() const;
    // A new screen of that id; std::logic_error when none is registered.
    Screen *create(ScreenId id, Services &services) const;

    // The modal hint window; until one is registered the hint button does nothing.
    HintWindowFn showHintWindow;

  private:
    std::map<ScreenId, ScreenFactory> factories_;
};

// The one full-screen top-level window: navy, with the 640 x 480 stage
// centred in it. Screens are pages of the stage, so switching between them
// never uncovers the desktop.
class HostWindow : public QWidget
{
    Q_OBJECT
  public:
    HostWindow();
    QWidget *stage() const { return stage_; }
    // Fills the primary screen (also without a window manager).
    void showOnScreen();
    std::function<void()> onActivated;

  protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    QWidget *stage_;
};

class Navigator
{
  public:
    // The navigator must outlive the host window (declare it first): screens
    // tell it when they are destroyed.
    void setHost(HostWindow *host) { host_ = host; }
    void attach(Services &services) { services_ = &services; }

    HostWindow &host() const { return *host_; }
    QWidget *stage() const { return host_->stage(); }
    Screen *current() const { return current_; }
    Screen *mainMenu() const { return mainMenu_; }
    void setMainMenu(Screen *menu) { mainMenu_ = menu; }

    // Forward: hides the current screen (kept alive) and shows a new one.
    // A screen whose building hits a damaged file is never shown: its
    // message comes, the program ends and these return nullptr.
    template <class T, class... Args> T *open(Args &&...args)
    {
        T *screen = build<T>(std::forward<Args>(args)...);
        if (screen)
            forward(screen, false);
        return screen;
    }
    // Forward, but the current screen closes (is freed) instead of hiding.
    template <class T, class... Args> T *replace(Args &&...args)
    {
        T *screen = build<T>(std::forward<Args>(args)...);
        if (screen)
            forward(screen, true);
        return screen;
    }
    template <class T, class... Args> T *build(Args &&...args)
    {
        T *screen = nullptr;
        services_->guard(current_, [&] { screen = new T(*services_, std::forward<Args>(args)...); });
        return screen;
    }
    // The same by id.
    Screen *open(ScreenId id);
    Screen *replace(ScreenId id);
    void forward(Screen *next, bool closeCurrent);

    // Back: closes the current screen and shows the one it came from (the
    // main menu when that one is gone).
    void back();
    // Closes the current screen and shows target (a hidden, living screen).
    void closeAndShow(Screen *target);
    void showMainMenu() { closeAndShow(mainMenu_); }
    // Makes screen the one visible screen, hiding the current one.
    void show(Screen *screen);
    // Frees a screen; runs its FormClose first unless told not to.
    void close(Screen *screen, bool runFormClose = true);

    // A living screen of class T (visible or hidden), if any.
    template <class T> T *find() const
    {
        for (Screen *s : screens_)
            if (auto *t = dynamic_cast<T *>(s))
                return t;
        return nullptr;
    }
    // A living screen with that id (visible or hidden), other than except.
    Screen *find(ScreenId id, const Screen *except = nullptr) const;
    const std::vector<Screen *> &screens() const { return screens_; }

    // Ends the program (the event loop returns).
    void quit();
    bool quitRequested() const { return quitRequested_; }
    std::function<void()> onQuit;

    // Called by Screen's constructor and destructor.
    void adopt(Screen *screen);
    void forget(Screen *screen);

  private:
    Screen *openById(ScreenId id, bool closeCurrent);

    HostWindow *host_ = nullptr;
    Services *services_ = nullptr;
    Screen *current_ = nullptr;
    Screen *mainMenu_ = nullptr;
    std::vector<Screen *> screens_;
    bool quitRequested_ = false;
};

} // namespace fm
