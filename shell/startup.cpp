#include "shell/startup.h"
#include "data/catalogue.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "data/locations.h"
#include "data/questionbank.h"
#include "data/roster.h"
#include "data/settings.h"
#include "data/state.h"
#include "data/studylog.h"
#include "media/mediafiles.h"
#include "media/wmfpicture.h"
#include "shell/music.h"
#include <QDir>
#include <QFileInfo>
#include <QPixmap>

namespace fm
{

QImage StartupLoader::loadButtonStrip(const QString &dir)
{
    const QString name = QStringLiteral("\\") + QLatin1String(media::kButtonStrip);
    requireRegularOrMissing(dir + QLatin1String(media::kButtonStrip), name);
    QImage strip(dir + QLatin1String(media::kButtonStrip));
    if (strip.width() < media::kButtonCell * media::kButtonCount || strip.height() < media::kButtonCell)
        throw FileError(name);
    return strip;
}

void StartupLoader::readSettings(AppState &state)
{
    const QFileInfo ini(state.SettingsPath);
    removeSaveTemporaries(ini.absolutePath(), ini.fileName());
    fm::readSettings(state.Settings, state.SettingsPath);
}

void StartupLoader::loadCatalogue(AppState &state)
{
    fm::loadCatalogue(state.Cat, state.ProgramDir);
}

void StartupLoader::loadRoster(AppState &state)
{
    prepareDataDir(state.DataDir, state.ProgramDir);
    // A save that was cut short left its temporary; the file it was meant to
    // replace is still whole.
    removeSaveTemporaries(state.DataDir);
    fm::loadRoster(state.Players, state.DataDir);
}

void StartupLoader::rebuildLevels(AppState &state)
{
    fm::rebuildLevels(state.Players, state.DataDir);
}

void StartupLoader::loadQuestionIndex(AppState &state)
{
    fm::loadQuestionIndex(state.Bank, state.ProgramDir);
}

QImage StartupLoader::loadPopPicture(const QString &dir, int n, int size)
{
    const QString name = media::popFile(n);
    requireRegularOrMissing(dir + name, name);
    QImage image = media::renderWmf(dir + name, QSize(size, size));
    if (image.isNull())
        throw FileError(name);
    return image;
}

bool StartupLoader::openRightWrong(RightWrongSounds &sounds, SoundSystem &sound, const QString &dir)
{
    return sounds.open(sound, dir);
}

QString programDirWithSeparator(const QString &dir)
{
    QString d = QDir::fromNativeSeparators(dir);
    if (d.isEmpty() || d == QLatin1String("/"))
        return QString();
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}

QCursor loadHandPointer(const QString &dir)
{
    QFileInfo file(dir + QLatin1String(media::kHandPointer));
    if (file.exists() && !file.isFile())
        return QCursor(Qt::PointingHandCursor);
    QPixmap hand(dir + QLatin1String(media::kHandPointer));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, media::kHandPointerHotSpot.x(), media::kHandPointerHotSpot.y());
}

} // namespace fm
