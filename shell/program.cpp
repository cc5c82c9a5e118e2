#include "shell/program.h"
#include "data/settings.h"
#include "shell/look.h"
#include "shell/mainform.h"
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace fm
{

void prepareScaling(int argc, char **argv)
{
    // The design's text sizes are pixels at 96 dpi, whatever the desktop says.
    if (qEnvironmentVariableIsEmpty("QT_FONT_DPI"))
        qputenv("QT_FONT_DPI", "96");
    if (!qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        return;
    QSize size;
    {
        QGuiApplication probe(argc, argv);
        if (QScreen *s = QGuiApplication::primaryScreen())
            size = s->geometry().size() * s->devicePixelRatio();
    }
    if (size.isEmpty())
        return;
    const double factor = std::min(size.width() / 640.0, size.height() / 480.0);
    // Smaller than the design: leave it, the start-up check will say so.
    if (factor > 1.0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'f', 4));
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
    // Message boxes and dialogs speak in the design's face too.
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
