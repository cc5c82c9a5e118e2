#pragma once
#include "media/pcmaudio.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

// Music through FluidSynth and the General MIDI SoundFont of the distribution.
//
// One synthesiser and one audio driver serve every MidiPlayer of the process;
// they are made on a worker thread by prepare(), or the first time
// midiDeviceCount() or open() needs them (which then wait for them). When
// the SoundFont does not load or no audio driver starts, midiDeviceCount() is
// 0 and the program plays no music and shows no message.
//
//   fm::media::MidiPlayer music;
//   if (fm::media::MidiPlayer::midiDeviceCount() > 0 && music.open(dir + "/Menu.mid")) {
//       QObject::connect(&music, &MidiPlayer::notify, [&] { music.setNotify(true); music.play(); });
//       music.setNotify(true);
//       music.play();
//   }
//
// Every operation returns at once; false means a device error, described by
// errorString(). The end of a piece is noticed by polling on the Qt event
// loop, so notify() is always delivered there.
namespace fm::media
{

class MidiPlayer : public QObject
{
    Q_OBJECT
  public:
    explicit MidiPlayer(QObject *parent = nullptr);
    ~MidiPlayer() override;

    // 1 when the SoundFont loaded and an audio driver started, else 0. The
    // answer is worked out once and kept for the life of the process.
    static int midiDeviceCount();

    // Starts making the synthesiser, its SoundFont and the audio driver on a
    // worker thread (once per process) and returns at once. ready runs on
    // context's thread when they are made, and then midiDeviceCount() answers
    // without waiting. Nothing runs when context is gone by then.
    static void prepare(QObject *context, std::function<void()> ready);

    // The General MIDI SoundFont: the distribution's default, else TimGM6mb.
    // Empty when neither exists.
    static QString soundFontPath();

    // Reads a standard MIDI file; false (and nothing open) when there is no
    // device or the file is missing or not a MIDI file.
    bool open(const QString &path);
    // Starts or resumes; from the end of the piece it starts again at the beginning.
    bool play();
    // Stops at the current position and silences the notes that were sounding.
    bool stop();
    // Back to the beginning; a playing piece stops.
    bool rewind();
    // Stops and forgets the file.
    void close();

    // The end notification: while on, reaching the end of the piece emits
    // notify() once and turns it off again (switch it on before each play).
    void setNotify(bool on) { notify_ = on; }
    bool notifyEnabled() const { return notify_; }

    bool isOpen() const { return !data_.isEmpty(); }
    bool isPlaying() const { return playing_; }
    QString fileName() const { return fileName_; }
    QString errorString() const { return error_; }

  signals:
    void notify();

  private:
    void pollEnd();
    bool fail(const QString &text);
    bool restartFromBeginning();
    void releasePlayer();

    void *player_ = nullptr; // fluid_player_t
    QByteArray data_;
    QString fileName_;
    QString error_;
    bool notify_ = false;
    bool playing_ = false;
    bool atEnd_ = false;
    QTimer poll_;
};

// Renders a MIDI file through FluidSynth without any sound device, to stereo
// 16-bit PCM at sampleRate, with tailSeconds of release after the last event.
// Gives nothing and *error when the SoundFont or the file cannot be read.
std::optional<PcmBuffer> renderMidi(const QString &path, int sampleRate = 44100, double tailSeconds = 1.0,
                                    QString *error = nullptr);

} // namespace fm::media
