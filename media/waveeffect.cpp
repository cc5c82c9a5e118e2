#include "media/waveeffect.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace fm::media
{

namespace
{

struct Opened {
    const WaveModule *module = nullptr;
    QString error;

    Opened()
    {
        // The module sits in the private library folder beside the program's
        // bin, installed as in the build; other programs of the build (the
        // tests among them) find the build's copy.
        const QString places[] = {QDir(QCoreApplication::applicationDirPath())
                                      .absoluteFilePath(QStringLiteral("../" FUDEMARU_MODULE_SUBDIR)),
                                  QStringLiteral(FUDEMARU_BUILD_MODULE_DIR)};
        for (const QString &place : places) {
            // Never unloaded: the effects it makes live as long as their players.
            QLibrary library(QDir(place).absoluteFilePath(QLatin1String(WaveModuleFile)));
            if (!library.load()) {
                if (error.isEmpty()) // where an installed program looks first
                    error = library.errorString();
                continue;
            }
            using Entry = const WaveModule *(*)();
            if (const auto entry = reinterpret_cast<Entry>(library.resolve(WaveModuleEntry))) {
                module = entry();
                return;
            }
            error = library.errorString();
            return;
        }
    }
};

} // namespace

const WaveModule *waveModule(QString *error)
{
    static const Opened opened;
    if (!opened.module && error)
        *error = opened.error;
    return opened.module;
}

} // namespace fm::media
