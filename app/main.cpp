// Fudemaru: the process entry. Only wiring: the single-instance guard, the
// display scaling, the program with its real seams and the screens of every folder.
#include "shell/instancelock.h"
#include "shell/program.h"
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
    // A second copy ends at once, silently.
    fm::LockFileInstanceLock lock(fm::defaultLockDirectory());
    if (!lock.acquire(fm::InstanceLockName))
        return 0;

    fm::prepareScaling(argc, argv);
    fm::FudemaruApplication app(argc, argv);
    fm::Program program(QCoreApplication::applicationDirPath());
    app.onFileError = [&program](const fm::FileError &e) { program.services().fail(e); };
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
    return app.exec();
}
