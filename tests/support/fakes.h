#pragma once
// Fakes of the platform seams for tests: they record what the program asked
// for, answer questions from a script and can be told to fail.
#include "handwriting/handwriting.h"
#include "shell/clock.h"
#include "shell/dialogs.h"
#include "shell/displaymodes.h"
#include "shell/helpviewer.h"
#include "shell/pictures.h"
#include "shell/random.h"
#include "shell/sound.h"
#include <QMap>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <deque>
#include <utility>
#include <vector>

namespace fm::test
{

class FakeDialogs final : public Dialogs
{
  public:
    enum class Kind { Information, Question, Message, Fatal };
    struct Call {
        Kind kind;
        QString text;
    };
    std::vector<Call> calls;
    std::deque<Answer> answers;              // answers to questions, in order
    Answer whenScriptEmpty = Answer::Cancel; // then this one

    void information(QWidget *, const QString &text) override { calls.push_back({Kind::Information, text}); }
    Answer question(QWidget *, const QString &text) override;
    void message(QWidget *, const QString &text) override { calls.push_back({Kind::Message, text}); }
    void fatalFileError(QWidget *, const QString &text) override { calls.push_back({Kind::Fatal, text}); }

    QStringList texts() const;
    int count(Kind kind) const;
};

class FakeSound;

// A player with a position: play() runs from it, finish() simulates the end.
class FakeMediaPlayer final : public MediaPlayer
{
  public:
    FakeMediaPlayer(FakeSound &sound, bool music);
    ~FakeMediaPlayer() override;

    bool open(const QString &path) override;
    bool play() override;
    bool stop() override;
    bool rewind() override;
    void close() override;
    bool isOpen() const override { return open_; }

    // Advances playback; reaching the length ends the piece (and notifies).
    void advance(int ms);
    void finish() { advance(length - position); }

    const bool music;
    QString path;
    bool playing = false;
    int position = 0;    // ms
    int length = 60000;  // ms
    int playedFrom = -1; // where the last play() started

  private:
    bool op(const QString &name, const QString &detail = {});
    FakeSound &sound_;
    bool open_ = false;
};

class FakeSound final : public SoundSystem
{
  public:
    int midiDevices = 1;
    bool waveOutput = true;
    // "open", "play", "stop", "rewind" on music ("music:play") or wave ("wave:open") players fail.
    QSet<QString> failures;
    // Every operation of every player, as "<player> <op> [<file>]"; players
    // are named music1, music2 ..., wave1, wave2 ... in order of creation.
    QStringList log;
    std::vector<FakeMediaPlayer *> players; // the living ones
    int midiSamples = 0;                    // how often midiDeviceCount() was asked

    int midiDeviceCount() override
    {
        ++midiSamples;
        return midiDevices;
    }
    // Music is ready at the next turn of the event loop, or, while
    // holdMusic is set, when the test calls finishMusic().
    bool holdMusic = false;
    int musicPreparations = 0;
    void prepareMusic(QObject *context, std::function<void()> ready) override
    {
        ++musicPreparations;
        if (!holdMusic)
            return SoundSystem::prepareMusic(context, std::move(ready));
        held_.emplace_back(context, std::move(ready));
    }
    void finishMusic()
    {
        for (auto &[context, ready] : std::exchange(held_, {}))
            if (context)
                ready();
    }
    bool hasWaveOutput() override { return waveOutput; }
    std::unique_ptr<MediaPlayer> createMusicPlayer() override;
    std::unique_ptr<MediaPlayer> createWavePlayer() override;

    // The living player playing this file (by file name), if any.
    FakeMediaPlayer *playerFor(const QString &fileName) const;
    QString nameOf(const FakeMediaPlayer *p) const;

  private:
    friend class FakeMediaPlayer;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> held_;
    int created_ = 0;
    std::vector<std::pair<const FakeMediaPlayer *, QString>> names_;
};

class FakeHelp final : public HelpViewer
{
  public:
    std::vector<int> contexts;
    void showHelp(QWidget *, int context) override { contexts.push_back(context); }
};

class FakeDisplayModes final : public DisplayModeService
{
  public:
    DisplayMode now{640, 480, 32, 60};
    int dpi = 96;

    DisplayMode current() override { return now; }
    int logicalDpi() override { return dpi; }
};

// Pictures a test made itself, by file name; any other name is read from
// the directory (the test's temporary program directory).
class FakePictures final : public Pictures
{
  public:
    QMap<QString, QImage> bitmaps;
    QMap<QString, QByteArray> metafiles; // WMF bytes
    mutable QStringList asked;           // every name asked for, in order

    void setDirectory(const QString &directory) { files_.setDirectory(directory); }
    QImage bitmap(const QString &name) const override;
    std::optional<media::WmfPicture> metafile(const QString &name,
                                              media::WmfError *error = nullptr) const override;

  private:
    DirectoryPictures files_{QString()};
};

// Handwriting without the model: a scripted status and candidates, and
// reference strokes a test gives (a few kanji have some by default).
class FakeHandwriting final : public Handwriting
{
  public:
    FakeHandwriting();
    Status current = Status::Closed;
    bool openReady = true;    // open() makes it Ready (else Failed) at once
    bool stayOpening = false; // open() leaves it Opening until finishOpening()
    QVector<int> answer;      // the candidates of every ink
    QVector<Ink> asked;       // every ink asked about
    QHash<int, ReferenceStrokeList> strokes;
    int opens = 0;

    Status status() const override { return current; }
    void open() override;
    // The background opening ends: Ready (or Failed), announced as the real one does.
    void finishOpening(bool ready = true);
    QVector<int> candidates(const Ink &ink, int reachedLevel) override;
    ReferenceStrokeList reference(int kanjiNumber) override { return strokes.value(kanjiNumber); }
    QString problem() const override
    {
        return current == Status::Unavailable ? QStringLiteral("model") : QString();
    }
};

class FakeClock final : public Clock
{
  public:
    double days = 45000.5; // 2023-03-15 12:00
    double now() const override { return days; }
    void set(const QDateTime &t) { days = toDayNumber(t); }
    void advanceSeconds(double s) { days += s / 86400.0; }
};

// Draws come from the script first; when it runs dry, from a seeded generator.
class ScriptedRandom final : public Random
{
  public:
    explicit ScriptedRandom(uint64_t seed = 7) : fallback_(seed) {}
    std::deque<int> script;
    std::deque<double> reals;
    std::vector<int> asked; // the n of every random(n)
    int seeds = 0;

    int random(int n) override;
    double real() override;
    void seed(uint64_t value) override
    {
        ++seeds;
        fallback_.seed(value);
    }

  private:
    StdRandom fallback_;
};

} // namespace fm::test
