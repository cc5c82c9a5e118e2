#include "media/waveplayer.h"

#include "media/pcmaudio.h"
#include "media/waveeffect.h"

#include <QFileInfo>

namespace fm::media
{

WavePlayer::WavePlayer(MissingDeviceReport *report, QObject *parent) : QObject(parent), report_(report) {}

WavePlayer::~WavePlayer()
{
    close();
}

bool WavePlayer::audioOutputAvailable()
{
    const WaveModule *module = waveModule();
    return module && module->outputAvailable();
}

bool WavePlayer::open(const QString &path)
{
    close();
    fileName_ = QFileInfo(path).fileName();
    // QSoundEffect loads in the background and says nothing about a bad file
    // until it is played; read the header here so the error comes at once.
    QString why;
    if (!readWav(path, &why)) {
        error_ = why;
        return false;
    }
    // Without an output QSoundEffect still claims to play; ask the device list instead.
    if (!audioOutputAvailable()) {
        silent_ = true;
        if (!report_ || !report_->reported) {
            if (report_)
                report_->reported = true;
            QString missing;
            error_ = waveModule(&missing) ? QStringLiteral("no audio output device")
                                          : QStringLiteral("no audio output: %1").arg(missing);
            return false;
        }
        error_.clear();
        return true;
    }
    effect_.reset(waveModule()->effect(QFileInfo(path).absoluteFilePath()));
    error_.clear();
    return true;
}

bool WavePlayer::play()
{
    if (!isOpen()) {
        error_ = QStringLiteral("no file is open");
        return false;
    }
    if (effect_)
        effect_->play();
    return true;
}

bool WavePlayer::stop()
{
    if (effect_)
        effect_->stop();
    return isOpen();
}

bool WavePlayer::rewind()
{
    return stop();
}

void WavePlayer::close()
{
    effect_.reset();
    silent_ = false;
}

bool WavePlayer::isPlaying() const
{
    return effect_ && effect_->isPlaying();
}

bool WavePlayer::isLoading() const
{
    return effect_ && effect_->isLoading();
}

} // namespace fm::media
