// Fudemaru: the process entry. Only wiring: the display scaling, the
// single-instance guard, the program with its real seams and the screens of
// every folder.
#include "data/locations.h"
#include "fudemaru_version.h"
#include "games/register.h"
#include "records/register.h"
#include "shell/instancelock.h"
#include "shell/kit.h"
#include "shell/program.h"
#include "study/register.h"
#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    std::unique_ptr<QApplication> app;
    {
        fm::DisplayOpening opening;
        // The connection that asked the display's size closes only once the
        // application has its own (a bare X server resets when it is left
        // without clients).
        const fm::DisplaySizeConnection sizeAsked = fm::prepareScaling(argc, argv);
        app = std::make_unique<QApplication>(argc, argv);
    }
    fm::installDoubleClickRule(app.get());
    QGuiApplication::setDesktopFileName(QStringLiteral(FUDEMARU_APP_ID));
    const QString dataDir = fm::defaultDataDir();
    fm::Program program(fm::shippedFilesDir(QCoreApplication::applicationDirPath()), dataDir);

    // One copy at a time writes the data directory: the lock is held for
    // the whole run, or nothing starts.
    fm::LockFileInstanceLock lock(dataDir);
    const fm::DataDirLock locked = fm::lockDataDir(lock);
    if (locked.state == fm::DataDirLock::State::OtherCopyRunning) {
        program.services().dialogs.information(nullptr, locked.message);
        return 0;
    }
    if (locked.state == fm::DataDirLock::State::FolderUnusable) {
        program.services().dialogs.fatalFileError(nullptr, locked.message);
        return 1;
    }

    // Data file errors never travel through the event loop: every handler
    // that reads or writes a data file catches them itself (Services::guard).
    fm::registerStudyScreens(program.screens());
    fm::registerRecordScreens(program.screens());
    fm::registerGameScreens(program.screens());
    // Every screen of the catalogue must have its factory: a build without
    // one of them is broken, and says which.
    for (fm::ScreenId id : program.screens().missing()) {
        std::fprintf(stderr, "fudemaru: no screen %s in this build\n", fm::screenRow(id).name);
        return 1;
    }
    if (!program.start())
        return 1;
    return app->exec();
}
