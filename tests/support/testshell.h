#pragma once
// One test's program: a fresh AppState in a temporary program directory, the
// fakes, and a shown host window with a navigator, all wired into Services.
//
//   fm::test::TestShell t;                       // QApplication, fonts, offscreen
//   auto *s = t.nav.open<MyScreen>();             // a screen, shown
//   QTest::mouseClick(fm::test::headerButton(s, 4), Qt::LeftButton); // back
//   t.processDeletes();                           // screens are freed later
#include "fakes.h"
#include "shell/navigator.h"
#include "shell/screen.h"
#include "shell/services.h"
#include "support/find.h"
#include <QPoint>
#include <QTemporaryDir>
#include <memory>
#include <vector>

class QApplication;
class QWidget;

namespace fm::test
{

// Header button n of a screen, by its name "Img_Button<n>": on a framed
// screen 1..4 (hint, help, minimise, back), on the main menu 1..8.
inline HeaderButton *headerButton(const QObject *screen, int n)
{
    return child<HeaderButton>(screen, "Img_Button", n);
}

// A stand-in for a screen a test does not build: the frame and a line saying
// so, with a working back button.
class PlaceholderScreen : public ScreenFrame
{
    Q_OBJECT
  public:
    PlaceholderScreen(Services &services, ScreenId id);
};

// The test program's QApplication (offscreen unless a platform is set).
QApplication &app();

struct TestShell {
    TestShell();
    ~TestShell();

    // First of all: pictures and fonts need the application object.
    struct AppFirst {
        AppFirst() { app(); }
    } appFirst;
    QTemporaryDir dir;
    AppState state;
    FakeDialogs dialogs;
    FakeSound sound;
    FakeHelp help;
    FakeClock clock;
    ScriptedRandom random;
    FakeDisplayModes display;
    ShellShared shell;
    ScreenRegistry screens;
    FakePictures pictures; // generated pictures, else the temporary directory's files
    FakeHandwriting handwriting;
    Navigator nav; // before the host: screens report to it when they go
    std::unique_ptr<HostWindow> host;
    Services services;
    std::vector<QPoint> pointerMoves; // global positions asked for

    // A file of the temporary program directory.
    QString file(const QString &name) const { return state.ProgramDir + name; }
    // A click at a child's pace: a button that ignores the second press of
    // a double click, clicked again inside that moment, is clicked once it
    // has passed (the fake clock moves on by what is left of it).
    void click(QWidget *widget);
    // Runs deferred deletions: closed screens are freed after this.
    static void processDeletes();
};

} // namespace fm::test
