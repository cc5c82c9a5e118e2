// Fudemaru: the process entry. Only wiring: the single-instance guard, the
// display scaling, the program with its real seams and the screens of every folder.
#include "records/register.h"
#include "shell/instancelock.h"
#include "shell/program.h"
#include "study/register.h"
#ifdef FUDEMARU_HAVE_GAMES
#include "games/register.h"
#endif
#include <cstdio>

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
    fm::registerStudyScreens(program.screens());
    fm::registerRecordScreens(program.screens());
#ifdef FUDEMARU_HAVE_GAMES
    fm::registerGameScreens(program.screens());
#else
    for (fm::ScreenId id : {fm::ScreenId::Game1, fm::ScreenId::Game2})
        program.screens().add(id, [id](fm::Services &sv) { return new fm::PlaceholderScreen(sv, id); });
#endif
    // Every screen of the catalogue must have its factory: a build without
    // one of them is broken, and says which.
    for (fm::ScreenId id : program.screens().missing()) {
        std::fprintf(stderr, "fudemaru: no screen %s in this build\n", fm::screenRow(id).name);
        return 1;
    }
    if (!program.start())
        return 1;
    return app.exec();
}
