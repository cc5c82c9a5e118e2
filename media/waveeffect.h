#pragma once
#include <QString>

// Qt Multimedia, with the network, PulseAudio and codec libraries it brings,
// cost the program's start about 2 ms though the menu's first frame plays
// no sound. So the wave players reach it through a small module of ours,
// fudemaru-waves.so (qtwaves.cpp), opened when the first player opens a file,
// after the menu is up.
namespace fm::media
{

// One short sound, ready to play.
class WaveEffect
{
  public:
    virtual ~WaveEffect() = default;
    // From the beginning; a sound already playing starts again.
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    // Still reading its file (in the background).
    virtual bool isLoading() const = 0;
};

// What the module gives. Both run on the GUI thread.
struct WaveModule {
    // Whether the desktop has an audio output at all.
    bool (*outputAvailable)();
    // The sound of a WAV file (an absolute path), owned by the caller.
    WaveEffect *(*effect)(const QString &path);
};

// The module's name and the function that gives its WaveModule.
inline constexpr const char *WaveModuleFile = "fudemaru-waves.so";
inline constexpr const char *WaveModuleEntry = "fudemaruWaveModule";

// The module, opened once (on the GUI thread); null, with the reason in
// *error, when it or Qt Multimedia cannot be loaded.
const WaveModule *waveModule(QString *error = nullptr);

} // namespace fm::media
