#pragma once
// Everything a screen needs from the rest of the program, handed to it in one
// object: the shared state, the platform seams and the navigator.
#include "data/errors.h"
#include "data/state.h"
#include "shell/music.h"
#include <QCursor>
#include <QPixmap>
#include <QPoint>
#include <array>
#include <functional>

class QWidget;

namespace fm
{

class Dialogs;
class SoundSystem;
class HelpViewer;
class Clock;
class Random;
class DisplayModeService;
class Navigator;
class ScreenRegistry;
class Pictures;
class Handwriting;

// Who asks for the start-up picture, and for what: it is drawn only when
// the main screen's start-up asks for the loading picture.
enum class PictureSource : int16_t { None = 0, MainScreen = 1 };
enum class PictureKind : int16_t { None = 0, Loading = 1, Menu = 2 };

// The size of the 640 × 480 layout's cards, panel buttons and pictures:
// normal, or large on a display whose text is scaled up (not 96 dots an inch).
enum class LayoutSize : int16_t { Large = 1, Normal = 2 };
// How much larger the large layout draws what it scales.
constexpr double layoutScale(LayoutSize size)
{
    return size == LayoutSize::Large ? 1.25 : 1.0;
}

// The shell's part of the shared state: what the main screen sets up at
// start-up and every other screen reads.
struct ShellShared {
    int16_t MidiDeviceCount = 0; // sampled each time the menu shows
    LayoutSize Layout = LayoutSize::Normal;
    PictureSource PopSource = PictureSource::None;
    PictureKind PopKind = PictureKind::None;
    std::array<QPixmap, 8> ImgLst_Header; // icons cut from ButtonX.bmp, white see-through
    std::array<QPixmap, 10> ImgLst_Pop;   // Pop1..10.wmf, white see-through
    QCursor HandPointer{Qt::PointingHandCursor};
    RightWrongSounds MaruBatsu; // MP_Maru, MP_Batsu
    // Places the mouse pointer (global coordinates); tests record instead.
    std::function<void(QPoint)> movePointer;
};

struct Services {
    AppState &state;
    Dialogs &dialogs;
    SoundSystem &sound;
    HelpViewer &help;
    Clock &clock;
    Random &random;
    DisplayModeService &display;
    ShellShared &shell;
    Navigator &nav;
    ScreenRegistry &screens;
    Pictures &pictures;
    Handwriting &handwriting;

    // A file of the program directory.
    QString file(const QString &name) const;
    // A file the program writes, in the data directory.
    QString dataFile(const QString &name) const;
    // A data file failed: its message, then the program ends.
    void fail(const FileError &error, QWidget *parent = nullptr);
    // Runs f; a FileError thrown inside ends the program as above. Returns
    // false when it did.
    bool guard(QWidget *parent, const std::function<void()> &f);
    // Runs f; a FileError thrown inside is shown with its message and the
    // program goes on (a file nothing else depends on: the stamps, the
    // strokes' centre lines). Returns false when it was thrown.
    bool guardNonFatal(QWidget *parent, const std::function<void()> &f);
};

} // namespace fm
