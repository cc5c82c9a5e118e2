#include "program.h"
#include "data/settings.h"
#include "look.h"
#include "mainform.h"
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

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

FudemaruApplication::FudemaruApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool FudemaruApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const FileError &e) {
        if (onFileError)
            onFileError(e);
        else
            QCoreApplication::exit(1);
        return true;
    }
}

Program::Program(const QString &programDir)
    : services_{state_,   dialogs_, sound_, help_,     clock_,   random_,
                display_, shell_,   nav_,   registry_, pictures_}
{
    state_.ProgramDir = programDirWithSeparator(programDir);
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
