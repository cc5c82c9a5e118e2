#pragma once
// TF_Main: the main screen. Its creation loads everything; it shows the menu
// of eight picture buttons and the title animation, and it ends the program.
#include "shell/displaymodes.h"
#include "shell/music.h"
#include "shell/screen.h"
#include "shell/titleanim.h"
#include <QPointer>
#include <array>
#include <memory>

class QTimer;

namespace fm
{

class StartupLoader;
class TF_Pop;

// The main menu's own buttons, after the three every screen has.
namespace menu
{
enum class Button : int { Settings = 4, Players = 5, Results = 6, Register = 7, End = 8 };
constexpr int ButtonCount = int(Button::End);
} // namespace menu

// The picture and hint of each menu button, by tag: its icon cell of ButtonX.bmp and its hint.
struct MenuButtonIcon {
    int iconCell;
    const char *hint;
};
extern const std::array<MenuButtonIcon, menu::ButtonCount + 1> MenuButtonIcons; // [1..8]

class TF_Main : public Screen
{
    Q_OBJECT
  public:
    TF_Main(Services &services, StartupLoader &loader);
    ~TF_Main() override; // FormDestroy: restores the display mode

    // The start-up sequence. False when it failed: its message has been shown
    // and the program is to end (FormClose has run).
    bool FormCreate();

    void FormShow() override;
    void FormHide() override;
    void FormActivate() override;
    void FormClose() override;

    // After the menu's first frame: the music is made ready (on a worker
    // thread), the card backs drawn and the right/wrong players opened. A
    // damaged card back shows its message and ends the program.
    void afterFirstFrame();
    // True once afterFirstFrame has run through.
    bool ready() const { return ready_; }

    // Where FormActivate puts the pointer, in this screen's coordinates.
    QPoint pointerTarget() const;

    bool menuMusicPlaying() const { return MP_1.playing(); }
    // The title animation's sprites and picture; null before FormCreate built it.
    const TitleAnimation *titleAnimation() const { return animation.get(); }

  protected:
    bool event(QEvent *e) override;

  private:
    // Controls; tests and the help find the named ones by their object names.
    QLabel *Lbl_Title = nullptr;
    QLabel *Label1 = nullptr; // the version
    TitleView *Img_Kanji = nullptr;
    std::array<HeaderButton *, menu::ButtonCount + 1> MenuButtons{}; // [1..8] "Img_Button<n>"
    // [1..8] "MenuCaption<n>", each button's name under it
    std::array<QLabel *, menu::ButtonCount + 1> MenuCaptions{};
    QTimer *Tim_Ido = nullptr; // a step of the title animation
    ScreenMusic MP_1;
    std::unique_ptr<TitleAnimation> animation;
    QPointer<TF_Pop> PopForm; // the start-up picture, "PopForm"

    void Img_Button1Click(int tag);
    void Tim_IdoTimer();

    void musicReady();
    void learnMidiDevices();
    void startMenuMusic();
    // The phases of FormCreate, in their order; the loads throw FileError.
    void loadHeaderIcons(const QString &dir);
    bool checkDisplay();
    void showLoadingPicture();
    void buildMenuButtons();
    void loadData(const QString &dir); // settings, catalogue, players, levels, question index
    void leaveMenu();
    void btn_PlayerClick();
    void btn_SeisekiClick();
    void btn_TourokuClick();
    void btn_endClick();

    StartupLoader &loader_;
    bool created_ = false;
    bool firstFrameDone_ = false;
    bool ready_ = false;
    bool musicKnown_ = false; // MidiDeviceCount has been learnt
};

} // namespace fm
