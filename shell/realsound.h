#pragma once
// The sound seam over the media back ends: FluidSynth music, QSoundEffect waves.
#include "media/waveplayer.h"
#include "shell/sound.h"

namespace fm
{

class MediaSoundSystem final : public SoundSystem
{
  public:
    int midiDeviceCount() override;
    void prepareMusic(QObject *context, std::function<void()> ready) override;
    bool hasWaveOutput() override;
    std::unique_ptr<MediaPlayer> createMusicPlayer() override;
    std::unique_ptr<MediaPlayer> createWavePlayer() override;

  private:
    media::MissingDeviceReport deviceReport_; // one message for all wave players
};

} // namespace fm
