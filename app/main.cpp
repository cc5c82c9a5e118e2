// Fudemaru: the process entry. Only wiring: the single-instance guard, the
// display scaling, the program with its real seams and the screens of every folder.
#include "data/locations.h"
#include "fudemaru_version.h"
#include "shell/instancelock.h"
#include "shell/program.h"
#include <memory>
#ifdef FUDEMARU_HAVE_STUDY
#include "study/register.h"
#endif
#ifdef FUDEMARU_HAVE_RECORDS
#include "records/register.h"
#endif
#ifdef FUDEMARU_HAVE_GAMES
#include "games/register.h"
#endif

int main(int argc, char **argv)
{
    const QString dataDir = fm::defaultDataDir();

    // A second copy ends at once, silently. A data directory that cannot be
    // written is not a second copy: start-up says so with its message.
    fm::LockFileInstanceLock lock(dataDir);
    if (fm::makeDataDir(dataDir) && !lock.acquire(fm::InstanceLockName))
        return 0;

    std::unique_ptr<fm::FudemaruApplication> app;
    {
        fm::DisplayOpening opening;
        fm::prepareScaling(argc, argv);
        app = std::make_unique<fm::FudemaruApplication>(argc, argv);
    }
    QGuiApplication::setDesktopFileName(QStringLiteral(FUDEMARU_APP_ID));
    fm::Program program(fm::shippedFilesDir(QCoreApplication::applicationDirPath()), dataDir);
    app->onFileError = [&program](const fm::FileError &e) { program.services().fail(e); };
#ifdef FUDEMARU_HAVE_STUDY
    fm::registerStudyScreens(program.screens());
#endif
#ifdef FUDEMARU_HAVE_RECORDS
    fm::registerRecordScreens(program.screens());
#endif
#ifdef FUDEMARU_HAVE_GAMES
    fm::registerGameScreens(program.screens());
#endif
    if (!program.start())
        return 1;
    return app->exec();
}
