#pragma once
// The rules every screen with music or marking sounds follows.
#include "shell/sound.h"
#include <QString>
#include <memory>

class QWidget;

namespace fm
{

struct Services;

// "<file> でエラーがおこりました。 ": a sound device failed on this music file.
QString soundErrorMessage(const QString &musicFile);

// One screen's looping piece ("Menu.mid", "Mondai.mid" ...). playing() is the
// screen's music flag. With no MIDI device nothing is opened and nothing is said.
class ScreenMusic
{
  public:
    ScreenMusic(Services &services, QString fileName, QWidget *messageParent = nullptr);
    ~ScreenMusic();
    ScreenMusic(const ScreenMusic &) = delete;
    ScreenMusic &operator=(const ScreenMusic &) = delete;

    // Opens the file anew and plays it from the beginning.
    void start();
    // Notification off, stop, close, flag cleared. A failing stop is reported
    // and leaving goes on as if it had worked.
    void stop();
    bool playing() const { return playing_; }
    const QString &fileName() const { return fileName_; }
    MediaPlayer *player() const { return player_.get(); }

  private:
    void notifyEnd(); // the piece reached its end: play again while the flag is set
    void report();

    Services &services_;
    QString fileName_;
    QWidget *parent_;
    std::unique_ptr<MediaPlayer> player_;
    bool playing_ = false;
};

// The shared right / wrong players, open for the whole run. When they cannot
// be opened (no audio device) marking goes on silently.
class RightWrongSounds
{
  public:
    // Opens "Maru.wav" and "Batsu.wav" in dir (with its trailing separator).
    bool open(SoundSystem &sound, const QString &dir);
    void close();
    bool isOpen() const { return MP_Maru && MP_Batsu; }

    void playRight(); // stop wrong, rewind right, play right
    void playWrong(); // stop right, rewind wrong, play wrong
    void silenceBoth();

    std::unique_ptr<MediaPlayer> MP_Maru;
    std::unique_ptr<MediaPlayer> MP_Batsu;
};

} // namespace fm
