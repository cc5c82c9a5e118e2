#include "shell/mainform.h"
#include "data/roster.h"
#include "fudemaru_version.h"
#include "media/mediafiles.h"
#include "shell/dialogs.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include "shell/pop.h"
#include "shell/random.h"
#include "shell/settei.h"
#include "shell/startup.h"
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QLoggingCategory>
#include <QTimer>
#include <chrono>

namespace fm
{

const std::array<MenuButtonIcon, menu::ButtonCount + 1> MenuButtonIcons = {{
    {0, ""},
    {1, "ヒントをみる"},
    {2, "ヘルプをみる"},
    {3, "アイコンにする"},
    {8, "せっていをかえる"},
    {5, "べんきょうをする"},
    {6, "せいせきをみる"},
    {7, "とうろくをする"},
    {4, "ふでまるのおわり"},
}};

// When the menu first shows and when its music begins, on the monotonic clock
// in ms, so that a start-up timed from outside can be set against them
// (QT_LOGGING_RULES="fudemaru.startup.debug=true").
Q_LOGGING_CATEGORY(lcStartup, "fudemaru.startup", QtWarningMsg)

namespace
{
double monotonicMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The menu buttons stand 80 apart; a name may use all of it.
constexpr int CaptionWidth = 80;
const char *const DisplayTooSmall = "このディスプレイの解像度では、実行できません";
} // namespace

TF_Main::TF_Main(Services &sv, StartupLoader &loader)
    : Screen(sv, ScreenId::Main), MP_1(sv, QLatin1String(media::kMenuMusic), this), loader_(loader)
{
    Lbl_Title = makeLabel(this, QStringLiteral("がんばれ！ ふでまる(小１～２）"), 8, 0, pixelFont(27, true),
                          colour::Yellow, 387, 27);
    QFont version = pixelFont(13, false, Century);
    version.setItalic(true);
    Label1 = makeLabel(this, QStringLiteral("Ver " FUDEMARU_VERSION), 435, 0, version, colour::White);
    Img_Kanji = new TitleView(this);
    Img_Kanji->move(20, 96);
    Lbl_Title->setObjectName(QStringLiteral("Lbl_Title"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Img_Kanji->setObjectName(QStringLiteral("Img_Kanji"));
    Tim_Ido = new QTimer(this);
    Tim_Ido->setObjectName(QStringLiteral("Tim_Ido"));
    Tim_Ido->setInterval(200);
    connect(Tim_Ido, &QTimer::timeout, this, &TF_Main::Tim_IdoTimer);
}

TF_Main::~TF_Main()
{
    delete PopForm.data();
}

bool TF_Main::checkDisplay()
{
    // The program scales itself to the display and never switches its mode:
    // a display narrower than the layout cannot show it.
    ShellShared &sh = services.shell;
    const DisplayMode now = services.display.current();
    if (services.display.logicalDpi() == 96) {
        sh.Layout = LayoutSize::Normal;
        return now.width >= 640;
    }
    sh.Layout = LayoutSize::Large;
    return now.width >= 800;
}

bool TF_Main::FormCreate()
{
    const QString dir = programDirWithSeparator(state.ProgramDir);
    try {
        services.shell.PopSource = PictureSource::MainScreen;
        loadHeaderIcons(dir);
        if (!checkDisplay()) {
            services.dialogs.message(this, QString::fromUtf8(DisplayTooSmall));
            FormClose();
            return false;
        }
        showLoadingPicture();
        buildMenuButtons();
        animation = std::make_unique<TitleAnimation>(state.Cat, layoutScale(services.shell.Layout),
                                                     devicePixelRatioF());
        loadData(dir);
    } catch (const FileError &e) {
        services.dialogs.fatalFileError(this, e.message());
        FormClose();
        return false;
    }
    // The card backs, the sound players and the music wait for the menu's
    // first frame (afterFirstFrame).
    created_ = true;
    services.nav.setMainMenu(this);
    return true;
}

void TF_Main::loadHeaderIcons(const QString &dir)
{
    const QImage strip = loader_.loadButtonStrip(dir);
    for (int i = 0; i < int(services.shell.ImgLst_Header.size()); ++i)
        services.shell.ImgLst_Header[size_t(i)] = whiteTransparent(strip.copy(48 * i, 0, 48, 48));
}

void TF_Main::showLoadingPicture()
{
    services.shell.PopKind = PictureKind::Loading;
    PopForm = new TF_Pop(services, services.nav.host().isVisible() ? &services.nav.host() : nullptr);
    PopForm->setObjectName(QStringLiteral("PopForm"));
    PopForm->show();
    PopForm->raise();
    PopForm->repaint();
    // Let the window system put the picture up before the long part.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TF_Main::buildMenuButtons()
{
    ShellShared &sh = services.shell;
    // Drawn a little closer than usual, so that the longest names keep
    // a gap between them.
    QFont captionFont = pixelFont(11, true);
    captionFont.setLetterSpacing(QFont::PercentageSpacing, 93);
    for (int tag = 1; tag <= menu::ButtonCount; ++tag) {
        const MenuButtonIcon &button = MenuButtonIcons[size_t(tag)];
        auto *b =
            new HeaderButton(this, tag, iconOver(sh.ImgLst_Header[size_t(button.iconCell - 1)], colour::Navy),
                             QString::fromUtf8(button.hint), sh.HandPointer);
        b->move(10 + 80 * (tag - 1), Lbl_Title->geometry().bottom() + 1);
        b->setObjectName(QStringLiteral("Img_Button%1").arg(tag));
        connect(b, &HeaderButton::clicked, this, &TF_Main::Img_Button1Click);
        MenuButtons[size_t(tag)] = b;
        // Its name under it, as the hint pages call it: a child need not
        // hover to know what a picture does. Clicking the name does it too.
        auto *caption = new HoverLabel(this, QString::fromUtf8(button.hint), tag, sh.HandPointer);
        caption->setFont(captionFont);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        caption->setGeometry(b->x() + b->width() / 2 - CaptionWidth / 2, b->geometry().bottom() + 3,
                             CaptionWidth, captionFont.pixelSize() + 4);
        caption->setObjectName(QStringLiteral("MenuCaption%1").arg(tag));
        connect(caption, &ClickLabel::clicked, this, &TF_Main::Img_Button1Click);
        MenuCaptions[size_t(tag)] = caption;
    }
}

void TF_Main::loadData(const QString &dir)
{
    loader_.readSettings(state);
    state.Settings.PopMsgEnabled = false;
    state.ProgramDir = dir;
    state.HintContext = HintCtx{};
    loader_.loadCatalogue(state);
    loader_.loadRoster(state);
    loader_.rebuildLevels(state);
    loader_.loadQuestionIndex(state);
    state.LevelCount = int16_t(state.Bank.QuestionIndexCount / KanjiPerLevel);
}

bool TF_Main::event(QEvent *e)
{
    const bool handled = Screen::event(e);
    if (e->type() == QEvent::Paint && created_ && !firstFrameDone_) {
        firstFrameDone_ = true;
        // Queued: the painted frame reaches the screen first.
        QTimer::singleShot(0, this, &TF_Main::afterFirstFrame);
    }
    return handled;
}

void TF_Main::afterFirstFrame()
{
    ShellShared &sh = services.shell;
    // The synthesiser is made on a worker thread while the rest goes on here.
    services.sound.prepareMusic(this, [this] { musicReady(); });
    const QString dir = state.ProgramDir;
    try {
        const int square = sh.Layout == LayoutSize::Large ? 70 : 48;
        for (int n = 1; n <= 10; ++n)
            sh.ImgLst_Pop[size_t(n - 1)] = whiteTransparent(loader_.loadPopPicture(dir, n, square));
    } catch (const FileError &e) {
        // As at any start-up failure: the message, then the end, nothing saved.
        services.dialogs.fatalFileError(this, e.message());
        hide();
        services.nav.quit();
        return;
    }
    // No audio device: marking goes on in silence.
    loader_.openRightWrong(sh.MaruBatsu, services.sound, dir);
    ready_ = true;
}

void TF_Main::learnMidiDevices()
{
    musicKnown_ = true;
    services.shell.MidiDeviceCount = int16_t(services.sound.midiDeviceCount());
}

void TF_Main::startMenuMusic()
{
    if (services.shell.MidiDeviceCount > 0)
        MP_1.start();
    if (MP_1.playing())
        qCDebug(lcStartup, "menu music playing at %.1f", monotonicMs());
}

void TF_Main::musicReady()
{
    if (musicKnown_)
        return;
    learnMidiDevices();
    // The menu may have been left meanwhile: its next showing starts the music.
    if (services.nav.current() == this && isVisible() && !MP_1.playing())
        startMenuMusic();
}

void TF_Main::FormShow()
{
    ShellShared &sh = services.shell;
    if (PopForm)
        PopForm->hide(); // the menu covers the start-up picture
    sh.PopSource = PictureSource::MainScreen;
    sh.PopKind = PictureKind::Menu;
    Tim_Ido->start();
    qCDebug(lcStartup, "menu shown at %.1f", monotonicMs());
    // The first showing starts the music when the synthesiser is ready.
    if (musicKnown_) {
        learnMidiDevices();
        startMenuMusic();
    }
    services.random.randomize(services.clock);
}

void TF_Main::FormHide()
{
    // The sprites stay where they are until the menu shows again.
    Tim_Ido->stop();
}

QPoint TF_Main::pointerTarget() const
{
    const HeaderButton *b = MenuButtons[state.Players.PlayerCount == 0 ? 7 : 5];
    if (!b)
        return {};
    return QPoint(b->x() + b->width() / 2, b->y() + b->height() / 2);
}

void TF_Main::FormActivate()
{
    Screen::FormActivate();
    const QPoint global = mapToGlobal(pointerTarget());
    if (services.shell.movePointer) {
        services.shell.movePointer(global);
    } else {
        QCursor::setPos(global);
        // The pointer now rests on a button the child did not aim at: the
        // second press of the double click that brought the menu back must
        // not press it.
        dropFollowingPresses(this, services.clock);
    }
}

void TF_Main::FormClose()
{
    services.shell.MaruBatsu.close();
    delete PopForm.data();
}

void TF_Main::Tim_IdoTimer()
{
    if (!animation)
        return;
    animation->tick(services.random, state.LevelCount);
    Img_Kanji->showFrame(&animation->canvas());
}

void TF_Main::Img_Button1Click(int tag)
{
    if (commonHeaderAction(tag))
        return;
    switch (menu::Button(tag)) {
    case menu::Button::Settings: {
        TF_Settei dialog(services, this);
        dialog.exec();
        break;
    }
    case menu::Button::Players:
        btn_PlayerClick();
        break;
    case menu::Button::Results:
        btn_SeisekiClick();
        break;
    case menu::Button::Register:
        btn_TourokuClick();
        break;
    case menu::Button::End:
        btn_endClick();
        break;
    }
}

void TF_Main::leaveMenu()
{
    // The next screen plays its music by the device count: wait for it if
    // the child was quicker than the synthesiser.
    if (!musicKnown_)
        learnMidiDevices();
    // A failing stop says so and the menu is left all the same.
    if (services.shell.MidiDeviceCount > 0 && MP_1.playing())
        MP_1.stop();
}

void TF_Main::btn_PlayerClick()
{
    if (state.Players.PlayerCount <= 0) {
        services.dialogs.information(this, QStringLiteral("なまえのとうろくをしてください。"));
        return;
    }
    leaveMenu();
    services.nav.open(ScreenId::Player);
}

void TF_Main::btn_SeisekiClick()
{
    if (state.Players.PlayerCount <= 0) {
        services.dialogs.information(this, QStringLiteral("なまえのとうろくをしてください。"));
        return;
    }
    leaveMenu();
    services.nav.open(ScreenId::Seiseki1);
}

void TF_Main::btn_TourokuClick()
{
    if (state.Players.PlayerCount >= MaxPlayers) {
        services.dialogs.information(this, QStringLiteral("すでに１０にんまでとうろくずみです。"));
        return;
    }
    leaveMenu();
    services.nav.open(ScreenId::Touroku);
}

void TF_Main::btn_endClick()
{
    if (!services.guard(this, [&] { saveRoster(state.Players, state.DataDir); }))
        return;
    leaveMenu();
    hide();
    services.nav.quit();
}

} // namespace fm
