#pragma once
// The sound seam over the media back ends: FluidSynth music, QSoundEffect waves.
#include "sound.h"

namespace fm
{

class MediaSoundSystem final : public SoundSystem
{
  public:
    int midiDeviceCount() override;
    bool hasWaveOutput() override;
    std::unique_ptr<MediaPlayer> createMusicPlayer() override;
    std::unique_ptr<MediaPlayer> createWavePlayer() override;
};

} // namespace fm
