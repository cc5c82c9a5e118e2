// The audio back ends, checked without a sound device: the music is rendered
// through FluidSynth offline, the players are driven where a device is missing.
#include "media/mediafiles.h"
#include "media/midiplayer.h"
#include "media/pcmaudio.h"
#include "media/waveeffect.h"
#include "media/waveplayer.h"
#include "testapp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace media = fm::media;

TEST(MidiRender, EveryPieceSoundsForHalfAMinuteToAMinuteAndAHalf)
{
    ASSERT_FALSE(media::MidiPlayer::soundFontPath().isEmpty()) << "the General MIDI SoundFont is missing";
    QDir().mkpath(MEDIA_CHECK_DIR);
    for (const char *name :
         {media::kMenuMusic, media::kTestMusic, media::kMatchMusic, media::kMoleMusic, media::kListMusic}) {
        QString why;
        const auto pcm = media::renderMidi(binFile(name), 22050, 0.0, &why);
        ASSERT_TRUE(pcm) << name << ": " << qPrintable(why);
        EXPECT_EQ(pcm->channels, 2);
        EXPECT_GE(pcm->seconds(), 30.0) << name;
        EXPECT_LE(pcm->seconds(), 90.0) << name;
        EXPECT_GT(media::rms(*pcm), 0.02) << name;
        EXPECT_LT(media::peak(*pcm), 1.0) << name;
        // Sound all the way through: no quarter of the piece is silent.
        const size_t quarter = pcm->samples.size() / 4;
        for (int q = 0; q < 4; ++q) {
            media::PcmBuffer part{pcm->sampleRate, 2, {}};
            part.samples.assign(pcm->samples.begin() + q * quarter, pcm->samples.begin() + (q + 1) * quarter);
            EXPECT_GT(media::rms(part), 0.01) << name << " quarter " << q + 1;
        }
        // Kept for listening and for measuring with sox.
        EXPECT_TRUE(
            media::writeWav(QStringLiteral(MEDIA_CHECK_DIR "/%1.wav").arg(QFileInfo(name).baseName()), *pcm));
    }
}

TEST(MidiRender, RefusesWhatIsNotAMidiFile)
{
    QString why;
    EXPECT_FALSE(media::renderMidi(binFile("no-such-piece.mid"), 22050, 0.0, &why));
    EXPECT_FALSE(why.isEmpty());
    why.clear();
    EXPECT_FALSE(media::renderMidi(binFile(media::kRightSound), 22050, 0.0, &why));
    EXPECT_FALSE(why.isEmpty());
}

TEST(MidiPlayer, DeviceCountIsSteadyAndDecidesWhetherFilesOpen)
{
    ensureApp();
    const int count = media::MidiPlayer::midiDeviceCount();
    ASSERT_TRUE(count == 0 || count == 1);
    EXPECT_EQ(media::MidiPlayer::midiDeviceCount(), count);

    media::MidiPlayer player;
    const bool opened = player.open(binFile(media::kMenuMusic));
    EXPECT_EQ(opened, count == 1);
    EXPECT_EQ(player.fileName(), media::kMenuMusic);
    if (!opened) {
        // No device: nothing plays, and each call says so instead of crashing.
        EXPECT_FALSE(player.isOpen());
        EXPECT_FALSE(player.errorString().isEmpty());
        EXPECT_FALSE(player.play());
        EXPECT_FALSE(player.isPlaying());
        EXPECT_FALSE(player.stop());
        EXPECT_FALSE(player.rewind());
        player.close();
        return;
    }
    EXPECT_TRUE(player.play());
    EXPECT_TRUE(player.isPlaying());
    EXPECT_TRUE(player.stop());
    EXPECT_FALSE(player.isPlaying());
    EXPECT_TRUE(player.rewind());
    EXPECT_TRUE(player.play());
    player.close();
    EXPECT_FALSE(player.isOpen());
}

TEST(MidiPlayer, RefusesAFileThatIsNotMidi)
{
    ensureApp();
    media::MidiPlayer player;
    EXPECT_FALSE(player.open(binFile(media::kRightSound)));
    EXPECT_FALSE(player.isOpen());
    EXPECT_FALSE(player.errorString().isEmpty());
    EXPECT_FALSE(player.open(binFile("no-such-piece.mid")));
}

TEST(WavePlayer, ReportsAMissingDeviceOnceAndThenPlaysSilently)
{
    ensureApp();
    // The module that holds Qt Multimedia is found with or without a device.
    QString why;
    ASSERT_TRUE(media::waveModule(&why)) << why.toStdString();
    media::MissingDeviceReport report;
    media::WavePlayer maru(&report), batsu(&report);
    if (media::WavePlayer::audioOutputAvailable()) {
        EXPECT_TRUE(maru.open(binFile(media::kRightSound)));
        EXPECT_TRUE(batsu.open(binFile(media::kWrongSound)));
        // A sound server is there: both sounds are read and really start.
        // (Qt Multimedia's exit hangs while it still reads one.)
        for (media::WavePlayer *player : {&maru, &batsu}) {
            QElapsedTimer waited;
            waited.start();
            while (player->isLoading() && waited.elapsed() < 3000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            EXPECT_FALSE(player->isLoading()) << player->fileName().toStdString();
            EXPECT_TRUE(player->play());
            EXPECT_TRUE(player->isPlaying()) << player->fileName().toStdString();
        }
    } else {
        EXPECT_FALSE(maru.open(binFile(media::kRightSound)));
        EXPECT_FALSE(maru.errorString().isEmpty());
        EXPECT_TRUE(batsu.open(binFile(media::kWrongSound))) << "the device error is shown only once";
        EXPECT_TRUE(maru.isSilent());
        EXPECT_TRUE(batsu.isSilent());
    }
    // The right/wrong sequence never reports an error.
    EXPECT_TRUE(batsu.stop());
    EXPECT_TRUE(maru.rewind());
    EXPECT_TRUE(maru.play());
    EXPECT_TRUE(maru.stop());
    EXPECT_TRUE(batsu.rewind());
    EXPECT_TRUE(batsu.play());
    batsu.close();
    EXPECT_FALSE(batsu.isOpen());
}

TEST(WavePlayer, RefusesMissingAndForeignFilesWithAReason)
{
    ensureApp();
    media::WavePlayer player;
    EXPECT_FALSE(player.open(binFile("no-such-sound.wav")));
    EXPECT_EQ(player.fileName(), "no-such-sound.wav");
    EXPECT_FALSE(player.errorString().isEmpty());
    EXPECT_FALSE(player.open(binFile(media::kMenuMusic)));
    EXPECT_FALSE(player.isOpen());
    EXPECT_FALSE(player.play());
}

TEST(PcmAudio, WavFilesRoundTripAndDamageIsCaught)
{
    QTemporaryDir dir;
    const media::PcmBuffer pcm{22050, 2, {0, 1, -1, 32767, -32768, 1234}};
    const QString path = dir.filePath("t.wav");
    ASSERT_TRUE(media::writeWav(path, pcm));
    const auto back = media::readWav(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->sampleRate, 22050);
    EXPECT_EQ(back->channels, 2);
    EXPECT_EQ(back->samples, pcm.samples);

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.resize(f.size() - 4); // the data chunk now claims more than there is
    f.close();
    QString why;
    EXPECT_FALSE(media::readWav(path, &why));
    EXPECT_FALSE(why.isEmpty());
}
