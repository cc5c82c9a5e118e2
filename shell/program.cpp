#include "shell/program.h"
#include "data/settings.h"
#include "shell/look.h"
#include "shell/mainform.h"
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <xcb/randr.h>
#include <xcb/xcb.h>

namespace fm
{

double layoutScaleFactor(QSize displayPixels)
{
    if (displayPixels.isEmpty())
        return 0;
    const double factor = std::min(displayPixels.width() / 640.0, displayPixels.height() / 480.0);
    // Smaller than the 640 × 480 layout, or just its size: leave it (the start-up
    // check says when the display is too small).
    return factor > 1.0 ? factor : 0;
}

bool platformWillBeX(const QByteArray &qpaPlatform, const QByteArray &display,
                     const QByteArray &waylandDisplay, const QByteArray &sessionType, bool platformArgument)
{
    if (platformArgument || display.isEmpty())
        return false;
    if (!qpaPlatform.isEmpty())
        return qpaPlatform == "xcb" || qpaPlatform.startsWith("xcb:");
    // Unset, Qt prefers Wayland in a Wayland session and X otherwise.
    return waylandDisplay.isEmpty() && sessionType != "wayland";
}

namespace
{
// The primary monitor's size in pixels, asked of the X server directly: the
// RandR monitor marked primary, else the first one, else the root window.
// Empty when the server cannot be reached. A few round trips instead of a
// whole platform start, on a connection the caller keeps.
QSize primaryMonitorFromX(xcb_connection_t *connection, int screenNumber)
{
    if (xcb_connection_has_error(connection))
        return {};
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && roots.rem; ++i)
        xcb_screen_next(&roots);
    if (!roots.rem)
        return {};
    const xcb_screen_t *screen = roots.data;
    QSize size(screen->width_in_pixels, screen->height_in_pixels);

    const xcb_query_extension_reply_t *randr = xcb_get_extension_data(connection, &xcb_randr_id);
    if (!randr || !randr->present)
        return size;
    const auto version = std::unique_ptr<xcb_randr_query_version_reply_t, decltype(&std::free)>(
        xcb_randr_query_version_reply(connection, xcb_randr_query_version(connection, 1, 5), nullptr),
        &std::free);
    if (!version || version->major_version < 1 || (version->major_version == 1 && version->minor_version < 5))
        return size;
    const auto monitors = std::unique_ptr<xcb_randr_get_monitors_reply_t, decltype(&std::free)>(
        xcb_randr_get_monitors_reply(connection, xcb_randr_get_monitors(connection, screen->root, 1),
                                     nullptr),
        &std::free);
    if (!monitors)
        return size;
    bool first = true;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(monitors.get()); it.rem;
         xcb_randr_monitor_info_next(&it)) {
        if (first || it.data->primary)
            size = QSize(it.data->width, it.data->height);
        if (it.data->primary)
            break;
        first = false;
    }
    return size;
}

bool hasPlatformArgument(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0 ||
            qstrcmp(argv[i], "-display") == 0 || qstrcmp(argv[i], "--display") == 0)
            return true;
    return false;
}
} // namespace

DisplaySizeConnection &DisplaySizeConnection::operator=(DisplaySizeConnection &&other) noexcept
{
    if (this != &other) {
        close();
        connection_ = other.connection_;
        other.connection_ = nullptr;
    }
    return *this;
}

void DisplaySizeConnection::close()
{
    if (connection_)
        xcb_disconnect(static_cast<xcb_connection_t *>(connection_));
    connection_ = nullptr;
}

DisplaySizeConnection prepareScaling(int argc, char **argv)
{
    // The layout's text sizes are pixels at 96 dpi, whatever the desktop says.
    if (qEnvironmentVariableIsEmpty("QT_FONT_DPI"))
        qputenv("QT_FONT_DPI", "96");
    if (!qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        return {};
    QSize size;
    DisplaySizeConnection kept;
    if (platformWillBeX(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"),
                        qgetenv("XDG_SESSION_TYPE"), hasPlatformArgument(argc, argv))) {
        // An X server that cannot be reached is left to the QApplication,
        // which says so (DisplayOpening).
        int screenNumber = 0;
        xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
        kept = DisplaySizeConnection(connection); // even a failed one is freed by disconnecting
        size = primaryMonitorFromX(connection, screenNumber);
    } else {
        // Elsewhere only the platform itself knows: start it once to ask.
        QGuiApplication probe(argc, argv);
        if (QScreen *s = QGuiApplication::primaryScreen())
            size = s->geometry().size() * s->devicePixelRatio();
    }
    if (const double factor = layoutScaleFactor(size); factor > 0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'f', 4));
    return kept;
}

namespace
{
QtMessageHandler outerHandler = nullptr;

void displayOpeningHandler(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        // Qt cannot go on without a platform; say it in one line and leave
        // before its abort() (no core dump, no crash report).
        std::fputs(NoDisplayMessage, stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (context.category && qstrncmp(context.category, "qt.qpa", 6) == 0)
        return;
    if (outerHandler)
        outerHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}
} // namespace

DisplayOpening::DisplayOpening()
{
    outerHandler = qInstallMessageHandler(displayOpeningHandler);
}

DisplayOpening::~DisplayOpening()
{
    qInstallMessageHandler(outerHandler);
    outerHandler = nullptr;
}

Program::Program(const QString &programDir, const QString &dataDir)
    : handwriting_(std::make_unique<ZinniaHandwriting>(state_.Cat, programDirWithSeparator(programDir))),
      services_{state_,   dialogs_, sound_, help_,     clock_,    random_,
                display_, shell_,   nav_,   registry_, pictures_, *handwriting_}
{
    state_.ProgramDir = programDirWithSeparator(programDir);
    state_.DataDir = programDirWithSeparator(dataDir);
    state_.SettingsPath = defaultSettingsPath();
    pictures_.setDirectory(state_.ProgramDir);
    host_ = std::make_unique<HostWindow>();
    nav_.setHost(host_.get());
    nav_.attach(services_);
    host_->onActivated = [this] {
        if (Screen *s = nav_.current())
            s->FormActivate();
    };
}

Program::~Program()
{
    // The main screen goes first (it restores the display), then every other page.
    delete menu_.data();
    host_.reset();
}

bool Program::start()
{
    QGuiApplication::setApplicationDisplayName(ApplicationTitle);
    installFontSubstitutions();
    // Message boxes and dialogs speak in the program's face too.
    QApplication::setFont(pixelFont(12));
    shell_.HandPointer = loadHandPointer(state_.ProgramDir);
    host_->setWindowTitle(ApplicationTitle);
    host_->showOnScreen();

    menu_ = new TF_Main(services_, loader_);
    if (!menu_->FormCreate()) {
        delete menu_.data();
        return false;
    }
    nav_.show(menu_);
    return true;
}

} // namespace fm
