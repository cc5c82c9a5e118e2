#pragma once
// The file loads of start-up, one virtual function each, so that a test can
// watch their order or make one fail. The real ones read the program directory
// and, for the players and their records, the data directory.
#include <QCursor>
#include <QImage>
#include <QString>

namespace fm
{

struct AppState;
class RightWrongSounds;
class SoundSystem;

class StartupLoader
{
  public:
    virtual ~StartupLoader() = default;
    // ButtonX.bmp: eight 48 x 48 icons side by side. FileError("\ButtonX.bmp").
    virtual QImage loadButtonStrip(const QString &dir);
    // Fudemaru.ini: the time limits, written back when missing. Temporaries of
    // an interrupted save of it are removed first.
    virtual void readSettings(AppState &state);
    // Bushu1.dat, then Kanji1.dat.
    virtual void loadCatalogue(AppState &state);
    // The data directory readied (records of an older program directory
    // copied once), then Player1.dat from it; no file is no players.
    // Temporaries of interrupted saves in the data directory are removed
    // first (never anything else).
    virtual void loadRoster(AppState &state);
    // Each player's level and kind from its Kiroku<n>.dat.
    virtual void rebuildLevels(AppState &state);
    // Mondai2.dat.
    virtual void loadQuestionIndex(AppState &state);
    // Pop<n>.wmf drawn over a white square of size x size. FileError("Pop<n>.wmf").
    virtual QImage loadPopPicture(const QString &dir, int n, int size);
    // Maru.wav and Batsu.wav; false when they cannot be opened (then silence).
    virtual bool openRightWrong(RightWrongSounds &sounds, SoundSystem &sound, const QString &dir);
};

// The program directory with its trailing separator; the root alone counts as empty.
QString programDirWithSeparator(const QString &dir);

// The pointing hand (Hand.png, hot spot at the fingertip), or the system's hand.
QCursor loadHandPointer(const QString &dir);

} // namespace fm
