#include "shell/music.h"
#include "media/mediafiles.h"
#include "shell/dialogs.h"
#include "shell/services.h"

namespace fm
{

QString soundErrorMessage(const QString &musicFile)
{
    return musicFile + QStringLiteral(" でエラーがおこりました。 ");
}

ScreenMusic::ScreenMusic(Services &services, QString fileName, QWidget *messageParent)
    : services_(services), fileName_(std::move(fileName)), parent_(messageParent)
{
}

ScreenMusic::~ScreenMusic()
{
    if (player_) {
        player_->onEnd = nullptr;
        player_->close();
    }
}

void ScreenMusic::report()
{
    services_.dialogs.message(parent_, soundErrorMessage(fileName_));
}

void ScreenMusic::start()
{
    if (services_.shell.MidiDeviceCount <= 0)
        return;
    if (!player_) {
        player_ = services_.sound.createMusicPlayer();
        player_->onEnd = [this] { notifyEnd(); };
    }
    // Opening anew starts the piece from its beginning.
    if (player_->isOpen())
        player_->close();
    if (!player_->open(services_.file(fileName_))) {
        report();
        return;
    }
    player_->setNotify(true);
    if (!player_->play()) {
        player_->setNotify(false);
        player_->close();
        report();
        return;
    }
    playing_ = true;
}

void ScreenMusic::notifyEnd()
{
    if (!playing_)
        return;
    player_->setNotify(true);
    if (!player_->play())
        report();
}

void ScreenMusic::stop()
{
    if (services_.shell.MidiDeviceCount <= 0 || !playing_)
        return;
    player_->setNotify(false);
    const bool stopped = player_->stop();
    player_->close();
    playing_ = false;
    if (!stopped)
        report();
}

bool RightWrongSounds::open(SoundSystem &sound, const QString &dir)
{
    close();
    if (!sound.hasWaveOutput())
        return false;
    auto maru = sound.createWavePlayer();
    auto batsu = sound.createWavePlayer();
    if (!maru->open(dir + QLatin1String(media::kRightSound)) ||
        !batsu->open(dir + QLatin1String(media::kWrongSound)))
        return false; // marking goes on without sound
    MP_Maru = std::move(maru);
    MP_Batsu = std::move(batsu);
    return true;
}

void RightWrongSounds::close()
{
    if (MP_Maru)
        MP_Maru->close();
    if (MP_Batsu)
        MP_Batsu->close();
    MP_Maru.reset();
    MP_Batsu.reset();
}

void RightWrongSounds::playRight()
{
    if (!isOpen())
        return;
    MP_Batsu->stop();
    MP_Maru->rewind();
    MP_Maru->play();
}

void RightWrongSounds::playWrong()
{
    if (!isOpen())
        return;
    MP_Maru->stop();
    MP_Batsu->rewind();
    MP_Batsu->play();
}

void RightWrongSounds::silenceBoth()
{
    if (!isOpen())
        return;
    MP_Maru->stop();
    MP_Batsu->stop();
}

} // namespace fm
