#include "shell/realsound.h"
#include "media/midiplayer.h"
#include "media/waveplayer.h"

namespace fm
{

namespace
{

class MidiMusicPlayer final : public MediaPlayer
{
  public:
    MidiMusicPlayer()
    {
        QObject::connect(&midi_, &media::MidiPlayer::notify, [this] { reachedEnd(); });
    }
    bool open(const QString &path) override { return midi_.open(path); }
    bool play() override
    {
        // The back end reports every end; whether anyone hears of it is our switch.
        midi_.setNotify(true);
        return midi_.play();
    }
    bool stop() override { return midi_.stop(); }
    bool rewind() override { return midi_.rewind(); }
    void close() override { midi_.close(); }
    bool isOpen() const override { return midi_.isOpen(); }

  private:
    media::MidiPlayer midi_;
};

class WaveSoundPlayer final : public MediaPlayer
{
  public:
    explicit WaveSoundPlayer(media::MissingDeviceReport *report) : wave_(report) {}
    bool open(const QString &path) override { return wave_.open(path); }
    bool play() override { return wave_.play(); }
    bool stop() override { return wave_.stop(); }
    bool rewind() override { return wave_.rewind(); }
    void close() override { wave_.close(); }
    bool isOpen() const override { return wave_.isOpen(); }

  private:
    media::WavePlayer wave_;
};

} // namespace

int MediaSoundSystem::midiDeviceCount()
{
    return media::MidiPlayer::midiDeviceCount();
}

void MediaSoundSystem::prepareMusic(QObject *context, std::function<void()> ready)
{
    media::MidiPlayer::prepare(context, std::move(ready));
}

bool MediaSoundSystem::hasWaveOutput()
{
    return media::WavePlayer::audioOutputAvailable();
}

std::unique_ptr<MediaPlayer> MediaSoundSystem::createMusicPlayer()
{
    return std::make_unique<MidiMusicPlayer>();
}

std::unique_ptr<MediaPlayer> MediaSoundSystem::createWavePlayer()
{
    return std::make_unique<WaveSoundPlayer>(&deviceReport_);
}

} // namespace fm
