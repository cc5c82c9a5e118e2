#include "media/waveplayer.h"

#include "media/pcmaudio.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace fm::media
{

WavePlayer::WavePlayer(MissingDeviceReport *report, QObject *parent) : QObject(parent), report_(report) {}

WavePlayer::~WavePlayer()
{
    close();
}

bool WavePlayer::audioOutputAvailable()
{
    return !QMediaDevices::audioOutputs().isEmpty();
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
            error_ = QStringLiteral("no audio output device");
            return false;
        }
        error_.clear();
        return true;
    }
    effect_ = new QSoundEffect(this);
    effect_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    error_.clear();
    return true;
}

bool WavePlayer::play()
{
    if (!isOpen()) {
        error_ = QStringLiteral("no file is open");
        return false;
    }
    if (effect_) {
        effect_->stop();
        effect_->play();
    }
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
    delete effect_;
    effect_ = nullptr;
    silent_ = false;
}

bool WavePlayer::isPlaying() const
{
    return effect_ && effect_->isPlaying();
}

} // namespace fm::media
