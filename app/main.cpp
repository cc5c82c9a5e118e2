// Fudemaru: the process entry. Only wiring: the single-instance guard, the
// display scaling, the program with its real seams and the screens of every folder.
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
    const QString dataDir = fm::defaultDataDir();

    // A second copy ends at once, silently. A data directory that cannot be
    // written is not a second copy: start-up says so with its message.
    fm::LockFileInstanceLock lock(dataDir);
    if (fm::makeDataDir(dataDir) && !lock.acquire(fm::InstanceLockName))
        return 0;

    std::unique_ptr<QApplication> app;
    {
        fm::DisplayOpening opening;
        fm::prepareScaling(argc, argv);
        app = std::make_unique<QApplication>(argc, argv);
    }
    fm::installDoubleClickRule(app.get());
    QGuiApplication::setDesktopFileName(QStringLiteral(FUDEMARU_APP_ID));
    fm::Program program(fm::shippedFilesDir(QCoreApplication::applicationDirPath()), dataDir);
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
