#include "media/fluidsynthlib.h"

#include <QLibrary>

namespace fm::media
{

namespace
{

struct Opened {
    FluidSynthApi api;
    bool ok = false;
    QString error;

    Opened()
    {
        // The run-time name of the library the build was made against (its soname).
        QLibrary library(QStringLiteral(FUDEMARU_FLUIDSYNTH_SONAME));
        // The functions stay valid for the life of the process: nothing unloads it.
        if (!library.load()) {
            error = library.errorString();
            return;
        }
#define FM_FLUIDSYNTH_RESOLVE(name)                                                                          \
    api.name = reinterpret_cast<decltype(api.name)>(library.resolve(#name));                                 \
    if (!api.name) {                                                                                         \
        error = QStringLiteral("%1 has no %2").arg(library.fileName(), QLatin1String(#name));                \
        return;                                                                                              \
    }
        FM_FLUIDSYNTH_FUNCTIONS(FM_FLUIDSYNTH_RESOLVE)
#undef FM_FLUIDSYNTH_RESOLVE
        ok = true;
    }
};

} // namespace

const FluidSynthApi *fluidSynth(QString *error)
{
    static const Opened opened; // made once, safely from any thread
    if (!opened.ok && error)
        *error = opened.error;
    return opened.ok ? &opened.api : nullptr;
}

} // namespace fm::media
