#include "media/fluidsynthlib.h"

#include <dlfcn.h>

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
        // By the soname the build was made against, so no other version is
        // tried. Never closed: the functions stay valid for the process.
        void *library = dlopen(FUDEMARU_FLUIDSYNTH_SONAME, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            error = QString::fromLocal8Bit(dlerror());
            return;
        }
#define FM_FLUIDSYNTH_RESOLVE(name)                                                                          \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(library, #name));                                  \
    if (!api.name) {                                                                                         \
        error = QStringLiteral("%1 has no %2")                                                               \
                    .arg(QLatin1String(FUDEMARU_FLUIDSYNTH_SONAME), QLatin1String(#name));                   \
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
