// How the 640 × 480 layout is scaled to the display before Qt starts.
#include "shell/program.h"
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <xcb/xcb.h>

using namespace fm;

TEST(LayoutScale, FillsTheDisplayKeepingTheShapeAndNeverShrinks)
{
    struct Case {
        QSize display;
        double factor;
    } cases[] = {
        {{1920, 1080}, 2.25},       // wide: the height decides
        {{1280, 800}, 800 / 480.0}, // the measuring display
        {{1280, 1024}, 2.0},        // tall: the width decides
        {{800, 600}, 1.25},
        {{640, 480}, 0},  // the layout's own size: left alone
        {{1024, 400}, 0}, // too low: the start-up check says so
        {{0, 0}, 0},      // unknown
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(layoutScaleFactor(c.display), c.factor)
            << c.display.width() << "x" << c.display.height();
}

TEST(LayoutScale, TheXServerIsAskedOnlyWhenQtWillStartOnX)
{
    struct Case {
        const char *platform, *display, *wayland, *session;
        bool argument, x;
    } cases[] = {
        {"", ":0", "", "x11", false, true},
        {"", ":0", "", "", false, true},
        {"xcb", ":0", "wayland-0", "wayland", false, true}, // asked for X by name
        {"xcb:foo", ":0", "", "", false, true},
        {"", ":0", "wayland-0", "wayland", false, false}, // Qt prefers Wayland there
        {"", ":0", "", "wayland", false, false},
        {"wayland", ":0", "", "", false, false},
        {"offscreen", ":0", "", "", false, false},
        {"", "", "", "", false, false},    // no X display at all
        {"xcb", "", "", "", false, false}, // the QApplication reports it
        {"", ":0", "", "", true, false},   // -platform or -display on the command line
    };
    for (const Case &c : cases)
        EXPECT_EQ(platformWillBeX(c.platform, c.display, c.wayland, c.session, c.argument), c.x)
            << "QT_QPA_PLATFORM=" << c.platform << " WAYLAND_DISPLAY=" << c.wayland
            << " XDG_SESSION_TYPE=" << c.session;
}

namespace
{
// One Xvfb server of the given size for the life of the object.
struct Xvfb {
    QProcess server;
    QByteArray display;

    explicit Xvfb(const QString &size)
    {
        QTemporaryFile number;
        if (!number.open())
            return;
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.setStandardOutputFile(number.fileName());
        server.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"), size + QStringLiteral("x24"), QStringLiteral("-nolisten"),
                      QStringLiteral("tcp")});
        if (!server.waitForStarted())
            return;
        for (int i = 0; i < 100 && display.isEmpty(); ++i) {
            server.waitForFinished(50);
            number.seek(0);
            const QByteArray text = number.readAll().trimmed();
            if (!text.isEmpty())
                display = ":" + text;
        }
    }
    ~Xvfb()
    {
        server.terminate();
        server.waitForFinished(3000);
    }
};

// Runs prepareScaling under the given display and platform variables and
// gives back the QT_SCALE_FACTOR it left; the environment is restored.
QByteArray scalingUnder(const QByteArray &display, const QByteArray &userFactor = {},
                        DisplaySizeConnection *kept = nullptr)
{
    const char *names[] = {"DISPLAY",         "QT_QPA_PLATFORM",  "QT_SCALE_FACTOR",
                           "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_FONT_DPI"};
    QByteArray saved[std::size(names)];
    for (size_t i = 0; i < std::size(names); ++i)
        saved[i] = qgetenv(names[i]);
    qputenv("DISPLAY", display);
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("XDG_SESSION_TYPE");
    qunsetenv("QT_FONT_DPI");
    if (userFactor.isEmpty())
        qunsetenv("QT_SCALE_FACTOR");
    else
        qputenv("QT_SCALE_FACTOR", userFactor);
    char name[] = "fudemaru";
    char *argv[] = {name, nullptr};
    DisplaySizeConnection asked = prepareScaling(1, argv);
    if (kept)
        *kept = std::move(asked);
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    for (size_t i = 0; i < std::size(names); ++i)
        saved[i].isEmpty() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
    return factor;
}
} // namespace

TEST(LayoutScale, ARealXServerGivesTheFactorOfItsScreen)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        GTEST_SKIP() << "Xvfb is not installed";
    struct Case {
        const char *size, *factor;
    } cases[] = {{"1920x1080", "2.2500"}, {"1280x800", "1.6667"}, {"640x480", ""}};
    for (const Case &c : cases) {
        Xvfb x(QString::fromLatin1(c.size));
        ASSERT_FALSE(x.display.isEmpty()) << "Xvfb " << c.size << " did not start";
        EXPECT_EQ(scalingUnder(x.display), QByteArray(c.factor)) << c.size;
        // A factor the user chose stays.
        EXPECT_EQ(scalingUnder(x.display, "1.5"), QByteArray("1.5")) << c.size;
    }
    // No server there: nothing is set and nothing fails here; the
    // QApplication that follows reports the missing display.
    EXPECT_EQ(scalingUnder(":4077"), QByteArray());
}

// A bare X server (no -noreset) resets when its last client leaves and turns
// away whoever connects during the reset. The connection that asked the
// display's size is handed back open, so the application's own connection,
// made right after, always finds the server.
TEST(LayoutScale, TheApplicationAlwaysReachesTheServerThatWasAsked)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        GTEST_SKIP() << "Xvfb is not installed";
    int turnedAway = 0;
    for (int round = 0; round < 24; ++round) {
        Xvfb x(QStringLiteral("1280x800"));
        ASSERT_FALSE(x.display.isEmpty()) << "Xvfb did not start";
        DisplaySizeConnection asked;
        EXPECT_EQ(scalingUnder(x.display, {}, &asked), QByteArray("1.6667"));
        EXPECT_TRUE(asked.open());
        xcb_connection_t *application = xcb_connect(x.display.constData(), nullptr);
        turnedAway += xcb_connection_has_error(application) ? 1 : 0;
        xcb_disconnect(application);
    }
    EXPECT_EQ(turnedAway, 0);
}
