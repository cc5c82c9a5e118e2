#include "testshell.h"
#include "shell/kit.h"
#include "shell/look.h"
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTest>

namespace fm::test
{

QApplication &app()
{
    static QApplication *instance = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fudemaru-test";
        static char *argv[] = {name, nullptr};
        auto *a = new QApplication(argc, argv);
        QApplication::setApplicationDisplayName(QStringLiteral("ふでまる（小１～２）"));
        installFontSubstitutions();
        installDoubleClickRule(a);
        return a;
    }();
    return *instance;
}

TestShell::TestShell()
    : services{state,   dialogs, sound, help,    clock,    random,
               display, shell,   nav,   screens, pictures, handwriting}
{
    app();
    state.ProgramDir = QDir(dir.path()).absolutePath() + QLatin1Char('/');
    state.DataDir = state.ProgramDir;
    state.SettingsPath = state.ProgramDir + QStringLiteral("Fudemaru.ini");
    pictures.setDirectory(state.ProgramDir);
    shell.movePointer = [this](QPoint p) { pointerMoves.push_back(p); };
    host = std::make_unique<HostWindow>();
    nav.setHost(host.get());
    nav.attach(services);
    nav.onQuit = [] {};
    // Every screen of the catalogue opens as a stand-in until a test
    // registers the real one (or its own fake).
    for (int i = 0; i < ScreenIdCount; ++i) {
        const auto id = ScreenId(i);
        screens.add(id, [id](Services &sv) { return new PlaceholderScreen(sv, id); });
    }
    host->show();
}

TestShell::~TestShell()
{
    host.reset();
    processDeletes();
}

PlaceholderScreen::PlaceholderScreen(Services &sv, ScreenId id) : ScreenFrame(sv, id)
{
    makeLabel(this, QStringLiteral("このがめんは じゅんびちゅうです。"), 40, 200, pixelFont(24, true),
              colour::White);
}

namespace
{
// The guard onGuardedClick gave button, or null.
const PressGuard *pressGuardOf(const QAbstractButton *button)
{
    if (!button)
        return nullptr;
    for (QObject *child : button->children())
        if (auto *holder = dynamic_cast<PressGuardHolder *>(child))
            return &holder->guard;
    return nullptr;
}
} // namespace

void TestShell::click(QWidget *widget)
{
    if (const PressGuard *guard = pressGuardOf(qobject_cast<QAbstractButton *>(widget)))
        if (const double wait = guard->waitMs(); wait > 0)
            clock.advanceSeconds((wait + 1) / 1000.0);
    QTest::mouseClick(widget, Qt::LeftButton);
}

void TestShell::processDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace fm::test
