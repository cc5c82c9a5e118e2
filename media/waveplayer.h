#pragma once
#include <QObject>
#include <QString>

#include <memory>

// Short wave sounds (right, wrong, hit, miss) through QSoundEffect, which
// the fudemaru-waves module holds (waveeffect.h).
//
//   fm::media::WavePlayer maru;
//   if (!maru.open(dir + "/Maru.wav")) showError(maru.fileName(), maru.errorString());
//   maru.rewind(); maru.play();            // never waits
//
// A machine without an audio output is reported once per process, by the
// first open(); every later open() succeeds and the players stay silent, so
// the child never sees a message on each sound.
namespace fm::media
{

class WaveEffect;

// Whether a missing audio output has been told of; owned by whoever makes
// the players (the program's sound system).
struct MissingDeviceReport {
    bool reported = false;
};

class WavePlayer : public QObject
{
    Q_OBJECT
  public:
    // Players that share a report tell of a missing audio output only once
    // between them; without one, each player tells of it.
    explicit WavePlayer(MissingDeviceReport *report = nullptr, QObject *parent = nullptr);
    ~WavePlayer() override;

    // Prepares the file. False with errorString() when the file is missing or
    // unreadable as a WAV file, or (the first time only) when there is no audio output.
    bool open(const QString &path);
    // Plays from the beginning; a sound already playing starts again.
    bool play();
    bool stop();
    // Back to the beginning: the next play() starts there (QSoundEffect always does).
    bool rewind();
    void close();

    bool isOpen() const { return effect_ != nullptr || silent_; }
    bool isPlaying() const;
    // Still reading the file in the background. Qt Multimedia cannot end
    // the process while it reads one: its exit waits for the reading thread
    // that waits for it.
    bool isLoading() const;
    // True when open() found no audio output: the player accepts every call and plays nothing.
    bool isSilent() const { return silent_; }
    QString fileName() const { return fileName_; }
    QString errorString() const { return error_; }

    // Whether the desktop has an audio output at all (false when the module
    // that plays sounds cannot be loaded).
    static bool audioOutputAvailable();

  private:
    MissingDeviceReport *report_;
    std::unique_ptr<WaveEffect> effect_;
    bool silent_ = false;
    QString fileName_;
    QString error_;
};

} // namespace fm::media
