#include "media/midiplayer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "media/fluidsynthlib.h"

#include <QPointer>
#include <QThread>

#include <condition_variable>
#include <cstring>
#include <mutex>

namespace fm::media
{

namespace
{

// Only called once fluidSynth() has opened the library: every path to a
// synthesiser goes through Synth, which checks it first.
const FluidSynthApi &fluid()
{
    return *fluidSynth();
}

void quietLog(int, const char *, void *) {}

// FluidSynth chatters on stderr about drivers and SoundFonts; the program shows its own messages.
void silenceFluidLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid().fluid_set_log_function(level, quietLog, nullptr);
    });
}

struct SynthDeleter {
    void operator()(fluid_settings_t *s) const { fluid().delete_fluid_settings(s); }
    void operator()(fluid_synth_t *s) const { fluid().delete_fluid_synth(s); }
    void operator()(fluid_audio_driver_t *d) const { fluid().delete_fluid_audio_driver(d); }
};

// A synthesiser with the General MIDI SoundFont loaded; null members when that failed.
struct Synth {
    std::unique_ptr<fluid_settings_t, SynthDeleter> settings;
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth;

    Synth(int sampleRate, bool sampleTiming)
    {
        if (!fluidSynth())
            return;
        silenceFluidLog();
        const QString sf = MidiPlayer::soundFontPath();
        if (sf.isEmpty())
            return;
        settings.reset(fluid().new_fluid_settings());
        if (!settings)
            return;
        fluid().fluid_settings_setnum(settings.get(), "synth.sample-rate", sampleRate);
        fluid().fluid_settings_setnum(settings.get(), "synth.gain", 1.0);
        // Offline rendering drives the MIDI player by the samples written, not by the wall clock.
        if (sampleTiming)
            fluid().fluid_settings_setstr(settings.get(), "player.timing-source", "sample");
        // Only the instruments a piece uses are read from the SoundFont, when
        // it selects them: a few hundred kB instead of the whole bank in memory.
        fluid().fluid_settings_setint(settings.get(), "synth.dynamic-sample-loading", 1);
        // The pieces are small ensembles: 64 voices is room enough and keeps
        // the synthesiser's voice tables small.
        fluid().fluid_settings_setint(settings.get(), "synth.polyphony", 64);
        synth.reset(fluid().new_fluid_synth(settings.get()));
        if (synth &&
            fluid().fluid_synth_sfload(synth.get(), QFile::encodeName(sf).constData(), 1) == FLUID_FAILED)
            synth.reset();
    }
    // The synth must go before its settings.
    ~Synth() { synth.reset(); }
    bool ok() const { return synth != nullptr; }
};

// The process-wide synthesiser with a live audio driver, for MidiPlayer.
struct LiveEngine {
    Synth synth{44100, false};
    std::unique_ptr<fluid_audio_driver_t, SynthDeleter> driver;

    LiveEngine()
    {
        if (!synth.ok())
            return;
        // No JACK: it may try to start a sound server of its own. ALSA (and SDL,
        // which falls back to it) are only asked when the machine has a sound
        // card, as ALSA complains at length on stderr otherwise.
        const bool soundCard =
            !QDir(QStringLiteral("/dev/snd")).entryList({QStringLiteral("pcm*")}, QDir::System).isEmpty();
        for (const char *name : {"pulseaudio", "alsa", "sdl2"}) {
            if (!soundCard && std::strcmp(name, "pulseaudio") != 0)
                continue;
            fluid().fluid_settings_setstr(synth.settings.get(), "audio.driver", name);
            driver.reset(fluid().new_fluid_audio_driver(synth.settings.get(), synth.synth.get()));
            if (driver)
                break;
        }
    }
    ~LiveEngine() { driver.reset(); }
    bool ok() const { return driver != nullptr; }

    static LiveEngine &instance();
};

// The engine is made once, on a worker thread: loading the SoundFont and
// starting the audio driver take longer than a frame, and the menu is shown
// without waiting for them. instance() waits for it.
struct EngineStart {
    std::mutex mutex;
    std::condition_variable done;
    bool started = false;
    LiveEngine *engine = nullptr;
    QThread *thread = nullptr; // lives as long as the process

    void begin()
    {
        std::lock_guard lock(mutex);
        if (started)
            return;
        started = true;
        thread = QThread::create([this] {
            static LiveEngine made;
            std::lock_guard lock(mutex);
            engine = &made;
            done.notify_all();
        });
        thread->start();
    }
    LiveEngine &wait()
    {
        begin();
        std::unique_lock lock(mutex);
        done.wait(lock, [this] { return engine != nullptr; });
        return *engine;
    }
    static EngineStart &get()
    {
        static EngineStart start;
        return start;
    }
};

LiveEngine &LiveEngine::instance()
{
    return EngineStart::get().wait();
}

fluid_player_t *asPlayer(void *p)
{
    return static_cast<fluid_player_t *>(p);
}

// The piece is over when its last tick has passed. FluidSynth's own "done"
// comes only after the last notes have faded, which would put a gap of
// seconds into a loop.
bool reachedEnd(fluid_player_t *player)
{
    if (fluid().fluid_player_get_status(player) != FLUID_PLAYER_PLAYING)
        return true;
    const int total = fluid().fluid_player_get_total_ticks(player);
    return total > 0 && fluid().fluid_player_get_current_tick(player) >= total;
}

bool looksLikeMidi(const QByteArray &data)
{
    return data.size() >= 22 && data.startsWith("MThd") && data.indexOf("MTrk") >= 14;
}

} // namespace

QString MidiPlayer::soundFontPath()
{
    for (const char *path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
        const QFileInfo info(QString::fromLatin1(path));
        if (info.exists() && info.isFile()) // isFile follows the alternatives link
            return info.absoluteFilePath();
    }
    return {};
}

int MidiPlayer::midiDeviceCount()
{
    return LiveEngine::instance().ok() ? 1 : 0;
}

void MidiPlayer::prepare(QObject *context, std::function<void()> ready)
{
    EngineStart &start = EngineStart::get();
    start.begin();
    // Whichever comes first, the thread's end or the check below, tells; once.
    auto told = std::make_shared<bool>(false);
    auto tell = [told, ready = std::move(ready)] {
        if (!*told) {
            *told = true;
            ready();
        }
    };
    QObject::connect(start.thread, &QThread::finished, context, tell, Qt::QueuedConnection);
    std::lock_guard lock(start.mutex);
    if (start.engine)
        QMetaObject::invokeMethod(context, tell, Qt::QueuedConnection);
}

MidiPlayer::MidiPlayer(QObject *parent) : QObject(parent)
{
    poll_.setInterval(50);
    connect(&poll_, &QTimer::timeout, this, &MidiPlayer::pollEnd);
}

MidiPlayer::~MidiPlayer()
{
    close();
}

bool MidiPlayer::fail(const QString &text)
{
    error_ = text;
    return false;
}

bool MidiPlayer::open(const QString &path)
{
    close();
    fileName_ = QFileInfo(path).fileName();
    if (!LiveEngine::instance().ok())
        return fail(QStringLiteral("no MIDI output device"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray data = file.readAll();
    if (!looksLikeMidi(data))
        return fail(QStringLiteral("%1 is not a standard MIDI file").arg(fileName_));
    data_ = data;
    atEnd_ = false;
    error_.clear();
    return restartFromBeginning();
}

// A fresh FluidSynth player stands at the beginning of the piece; this is also
// how we rewind, since a finished player cannot be sent back.
bool MidiPlayer::restartFromBeginning()
{
    releasePlayer();
    fluid_synth_t *synth = LiveEngine::instance().synth.synth.get();
    fluid_player_t *player = fluid().new_fluid_player(synth);
    if (!player)
        return fail(QStringLiteral("cannot create a MIDI player"));
    if (fluid().fluid_player_add_mem(player, data_.constData(), static_cast<size_t>(data_.size())) !=
        FLUID_OK) {
        fluid().delete_fluid_player(player);
        return fail(QStringLiteral("%1 cannot be loaded").arg(fileName_));
    }
    player_ = player;
    atEnd_ = false;
    return true;
}

void MidiPlayer::releasePlayer()
{
    poll_.stop();
    if (player_) {
        fluid().fluid_player_stop(asPlayer(player_));
        fluid().delete_fluid_player(asPlayer(player_));
        player_ = nullptr;
        fluid().fluid_synth_all_notes_off(LiveEngine::instance().synth.synth.get(), -1);
    }
    playing_ = false;
}

bool MidiPlayer::play()
{
    if (!isOpen())
        return fail(QStringLiteral("no file is open"));
    if (playing_)
        return true;
    if (atEnd_ || !player_) {
        if (!restartFromBeginning())
            return false;
    }
    if (fluid().fluid_player_play(asPlayer(player_)) != FLUID_OK)
        return fail(QStringLiteral("%1 cannot be played").arg(fileName_));
    playing_ = true;
    poll_.start();
    return true;
}

bool MidiPlayer::stop()
{
    if (!isOpen())
        return fail(QStringLiteral("no file is open"));
    poll_.stop();
    if (player_ && playing_) {
        fluid().fluid_player_stop(asPlayer(player_));
        fluid().fluid_synth_all_notes_off(LiveEngine::instance().synth.synth.get(), -1);
    }
    playing_ = false;
    return true;
}

bool MidiPlayer::rewind()
{
    if (!isOpen())
        return fail(QStringLiteral("no file is open"));
    return restartFromBeginning();
}

void MidiPlayer::close()
{
    releasePlayer();
    data_.clear();
    atEnd_ = false;
    notify_ = false;
}

void MidiPlayer::pollEnd()
{
    if (!player_ || !playing_ || !reachedEnd(asPlayer(player_)))
        return;
    poll_.stop();
    fluid().fluid_player_stop(asPlayer(player_));
    playing_ = false;
    atEnd_ = true;
    if (notify_) {
        notify_ = false;
        emit notify();
    }
}

std::optional<PcmBuffer> renderMidi(const QString &path, int sampleRate, double tailSeconds, QString *error)
{
    const auto failWith = [error](const QString &text) -> std::optional<PcmBuffer> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failWith(file.errorString());
    const QByteArray data = file.readAll();
    if (!looksLikeMidi(data))
        return failWith(QStringLiteral("not a standard MIDI file"));

    QString missing;
    if (!fluidSynth(&missing))
        return failWith(QStringLiteral("FluidSynth cannot be opened: %1").arg(missing));
    Synth synth(sampleRate, true);
    if (!synth.ok())
        return failWith(QStringLiteral("the General MIDI SoundFont cannot be loaded"));
    std::unique_ptr<fluid_player_t, void (*)(fluid_player_t *)> player(
        fluid().new_fluid_player(synth.synth.get()), fluid().delete_fluid_player);
    if (!player ||
        fluid().fluid_player_add_mem(player.get(), data.constData(), size_t(data.size())) != FLUID_OK ||
        fluid().fluid_player_play(player.get()) != FLUID_OK)
        return failWith(QStringLiteral("the MIDI file cannot be played"));

    PcmBuffer pcm;
    pcm.sampleRate = sampleRate;
    pcm.channels = 2;
    constexpr int block = 256;
    const size_t limit = size_t(sampleRate) * 2 * 60 * 10; // ten minutes: a runaway file stops here
    const auto renderBlock = [&] {
        const size_t at = pcm.samples.size();
        pcm.samples.resize(at + 2 * block);
        fluid().fluid_synth_write_s16(synth.synth.get(), block, pcm.samples.data() + at, 0, 2,
                                      pcm.samples.data() + at, 1, 2);
    };
    while (!reachedEnd(player.get()) && pcm.samples.size() < limit)
        renderBlock();
    fluid().fluid_player_stop(player.get());
    const size_t tail = size_t(tailSeconds * sampleRate) * 2;
    for (size_t done = 0; done < tail; done += 2 * block)
        renderBlock();
    return pcm;
}

} // namespace fm::media
