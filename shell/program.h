#pragma once
// The whole program with its real seams: what main() wires together.
#include "handwriting/handwriting.h"
#include "shell/clock.h"
#include "shell/dialogs.h"
#include "shell/displaymodes.h"
#include "shell/helpwindow.h"
#include "shell/instancelock.h"
#include "shell/mainform.h"
#include "shell/navigator.h"
#include "shell/pictures.h"
#include "shell/random.h"
#include "shell/realsound.h"
#include "shell/services.h"
#include "shell/startup.h"
#include <QApplication>
#include <QPointer>
#include <memory>

namespace fm
{

// The application title.
inline const QString ApplicationTitle = QStringLiteral("ふでまる（小１～２）");

// The X connection prepareScaling asked the display's size on, kept open
// until the QApplication has connected: a server whose only client leaves
// resets itself (a bare Xvfb does), and a client that connects during the
// reset is turned away. Close it once the application exists.
class DisplaySizeConnection
{
  public:
    DisplaySizeConnection() = default;
    explicit DisplaySizeConnection(void *connection) : connection_(connection) {}
    ~DisplaySizeConnection() { close(); }
    DisplaySizeConnection(DisplaySizeConnection &&other) noexcept : connection_(other.connection_)
    {
        other.connection_ = nullptr;
    }
    DisplaySizeConnection &operator=(DisplaySizeConnection &&other) noexcept;
    DisplaySizeConnection(const DisplaySizeConnection &) = delete;
    DisplaySizeConnection &operator=(const DisplaySizeConnection &) = delete;
    bool open() const { return connection_ != nullptr; }
    void close();

  private:
    void *connection_ = nullptr; // xcb_connection_t
};

// Scales the 640 × 480 layout to fill the display: sets QT_SCALE_FACTOR from
// the primary screen before the QApplication exists. On X the server is asked
// directly (the connection is handed back, to be closed after the
// QApplication is made); on other platforms a short-lived QGuiApplication
// is. A factor the user set is kept.
[[nodiscard]] DisplaySizeConnection prepareScaling(int argc, char **argv);

// The factor that fills a display of this many pixels with the layout while
// keeping its shape: min(width / 640, height / 480). 0 (leave the scale
// alone) for a display no larger than the layout, or an unknown one.
double layoutScaleFactor(QSize displayPixels);

// Whether Qt will start on X given its platform variables, so the display's
// size can be read from the X server without starting the platform. A
// -platform or -display argument is left to Qt.
bool platformWillBeX(const QByteArray &qpaPlatform, const QByteArray &display,
                     const QByteArray &waylandDisplay, const QByteArray &sessionType, bool platformArgument);

// While it lives, a display that cannot be opened ends the process with one
// line on stderr and exit code 1 instead of Qt's abort; the platform plugin's
// own warnings about it are left out. Wrap the first application objects in it.
class DisplayOpening
{
  public:
    DisplayOpening();
    ~DisplayOpening();
    DisplayOpening(const DisplayOpening &) = delete;
    DisplayOpening &operator=(const DisplayOpening &) = delete;
};

// The line DisplayOpening prints.
inline constexpr char NoDisplayMessage[] =
    "fudemaru: no graphical display could be opened; start ふでまる from a desktop session\n";

class Program
{
  public:
    // programDir holds the shipped files; dataDir receives the records.
    Program(const QString &programDir, const QString &dataDir);
    ~Program();

    ScreenRegistry &screens() { return registry_; }
    Services &services() { return services_; }

    // Pointer, title, host window and the main screen's start-up; false when
    // start-up failed (its message has been shown).
    bool start();

  private:
    AppState state_;
    MessageBoxDialogs dialogs_;
    MediaSoundSystem sound_;
    HtmlHelpViewer help_{state_};
    SystemClock clock_;
    StdRandom random_;
    DesktopDisplayModes display_;
    ShellShared shell_;
    ScreenRegistry registry_;
    DirectoryPictures pictures_{QString()};
    Navigator nav_;
    std::unique_ptr<ZinniaHandwriting> handwriting_;
    std::unique_ptr<HostWindow> host_;
    Services services_;
    StartupLoader loader_;
    QPointer<TF_Main> menu_;
};

} // namespace fm
