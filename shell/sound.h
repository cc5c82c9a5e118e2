#pragma once
// Media players in the manner of the desktop's multimedia control: one device,
// one file, open / play / stop / rewind / close and a one-shot notification
// when playing reaches the end. Every operation returns at once; false means
// the sound device reported an error.
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

namespace fm
{

class MediaPlayer
{
  public:
    virtual ~MediaPlayer() = default;
    virtual bool open(const QString &path) = 0;
    virtual bool play() = 0; // from the current position; from the start when at the end
    virtual bool stop() = 0;
    virtual bool rewind() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // The end notification: when on, the player reports once (and turns it
    // off) when playing reaches the end; on again to hear of the next end.
    void setNotify(bool on) { notify_ = on; }
    bool notify() const { return notify_; }
    std::function<void()> onEnd;

  protected:
    // Back ends call this when a piece reaches its end.
    void reachedEnd()
    {
        if (!notify_)
            return;
        notify_ = false;
        if (onEnd)
            onEnd();
    }

  private:
    bool notify_ = false;
};

class SoundSystem
{
  public:
    virtual ~SoundSystem() = default;
    // Number of MIDI output devices; 0 means no music anywhere. May wait for
    // the music to be made ready.
    virtual int midiDeviceCount() = 0;
    // Makes the music ready without holding up the caller; ready runs later
    // on context's thread (not at all when context is gone), and from then on
    // midiDeviceCount() answers at once.
    virtual void prepareMusic(QObject *context, std::function<void()> ready)
    {
        QTimer::singleShot(0, context, std::move(ready));
    }
    // Whether wave sounds can be heard at all (no audio output: silence).
    virtual bool hasWaveOutput() = 0;
    virtual std::unique_ptr<MediaPlayer> createMusicPlayer() = 0;
    virtual std::unique_ptr<MediaPlayer> createWavePlayer() = 0;
};

} // namespace fm
