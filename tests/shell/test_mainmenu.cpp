// The main screen: start-up order and failures, the menu's buttons, the
// pointer, the end button and the menu music.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/questionbank.h"
#include "data/roster.h"
#include "shell/mainform.h"
#include "shell/pop.h"
#include "shell/startup.h"
#include "support/testshell.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::FakeDialogs;
using fm::test::TestShell;

namespace
{

// The start-up picture the menu put up ("PopForm", over the host or on its
// own); null once it is gone.
TF_Pop *popForm()
{
    for (QWidget *w : QApplication::allWidgets())
        if (auto *pop = qobject_cast<TF_Pop *>(w); pop && pop->objectName() == QLatin1String("PopForm"))
            return pop;
    return nullptr;
}

// Loads nothing from disk: records the order of the loads, and
// what was already on the screen when the data files were read.
struct RecordingLoader : StartupLoader {
    TestShell &t;
    int players = 0;
    QStringList order;
    QString failAt; // the load that throws
    bool popShownAtCatalogue = false;
    bool buttonsBuiltAtCatalogue = false;

    explicit RecordingLoader(TestShell &shell) : t(shell) {}
    void note(const QString &what)
    {
        order << what;
        if (what == failAt)
            throw FileError(what);
    }
    QImage loadButtonStrip(const QString &) override
    {
        note(QStringLiteral("ButtonX.bmp"));
        QImage strip(384, 48, QImage::Format_RGB32);
        strip.fill(Qt::white);
        return strip;
    }
    void readSettings(AppState &) override { note(QStringLiteral("settings")); }
    void loadCatalogue(AppState &s) override
    {
        note(QStringLiteral("catalogue"));
        auto *menu = dynamic_cast<TF_Main *>(t.nav.screens().empty() ? nullptr : t.nav.screens().front());
        popShownAtCatalogue = menu && popForm() && popForm()->isVisible();
        buttonsBuiltAtCatalogue =
            menu && menu->findChild<HeaderButton *>(QStringLiteral("Img_Button8")) != nullptr;
        for (int n = 1; n <= 240; ++n)
            s.Cat.KanjiTable[size_t(n)].Glyph = cp932::fromUnicode(QStringLiteral("山"));
    }
    void loadRoster(AppState &s) override
    {
        note(QStringLiteral("roster"));
        s.Players.PlayerCount = int16_t(players);
        for (int n = 1; n <= players; ++n)
            s.Players.PlayerTable[size_t(n)].Name = cp932::fromUnicode(QStringLiteral("たろう"));
    }
    void rebuildLevels(AppState &) override { note(QStringLiteral("levels")); }
    void loadQuestionIndex(AppState &s) override
    {
        note(QStringLiteral("questions"));
        s.Bank.QuestionIndexCount = 240;
    }
    QImage loadPopPicture(const QString &, int n, int size) override
    {
        // The card backs wait for the menu's first frame.
        auto *menu = dynamic_cast<TF_Main *>(t.nav.screens().empty() ? nullptr : t.nav.screens().front());
        if (n == 1 && menu && menu->isVisible())
            order << QStringLiteral("first frame");
        note(QStringLiteral("Pop%1").arg(n));
        QImage square(size, size, QImage::Format_RGB32);
        square.fill(Qt::white);
        return square;
    }
    bool openRightWrong(RightWrongSounds &sounds, SoundSystem &sound, const QString &dir) override
    {
        note(QStringLiteral("waves"));
        return StartupLoader::openRightWrong(sounds, sound, dir);
    }
};

// A started program: the main screen created and shown.
struct Started {
    TestShell t;
    RecordingLoader loader{t};
    TF_Main *menu = nullptr;

    explicit Started(int players = 0, bool holdMusic = false)
    {
        loader.players = players;
        t.sound.holdMusic = holdMusic;
        menu = new TF_Main(t.services, loader);
        EXPECT_TRUE(menu->FormCreate());
        t.nav.show(menu);
        settle();
    }
    // Lets the menu paint its first frame and do what waits for it.
    void settle()
    {
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return menu->ready() && menu->menuMusicPlaying() != holdsMusic(); }));
        QCoreApplication::processEvents();
    }
    bool holdsMusic() const { return t.sound.holdMusic || t.sound.midiDevices == 0; }
    void click(int tag) { QTest::mouseClick(fm::test::headerButton(menu, tag), Qt::LeftButton); }
    QTimer *animationTimer() const { return fm::test::child<QTimer>(menu, "Tim_Ido"); }
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(MainStartup, LoadsRunInTheirOrder)
{
    Started s;
    QStringList expected{"ButtonX.bmp", "settings",  "catalogue",  "roster",
                         "levels",      "questions", "first frame"};
    for (int n = 1; n <= 10; ++n)
        expected << QStringLiteral("Pop%1").arg(n);
    expected << "waves";
    EXPECT_EQ(s.loader.order, expected);
    EXPECT_EQ(s.t.sound.musicPreparations, 1);
    EXPECT_TRUE(s.loader.popShownAtCatalogue);
    EXPECT_TRUE(s.loader.buttonsBuiltAtCatalogue);

    EXPECT_EQ(s.t.state.LevelCount, 12);
    EXPECT_EQ(s.t.state.HintContext, (HintCtx{1, HintSituation::Screen, StudyKind::Reading}));
    EXPECT_FALSE(s.t.state.Settings.PopMsgEnabled);
    EXPECT_TRUE(s.t.shell.MaruBatsu.isOpen());
    EXPECT_EQ(s.t.nav.mainMenu(), s.menu);
    EXPECT_TRUE(s.menu->isVisible());
    ASSERT_NE(popForm(), nullptr);
    EXPECT_FALSE(popForm()->isVisible()); // covered by the menu
    EXPECT_TRUE(s.t.dialogs.calls.empty());
}

TEST(MainStartup, EachFailingLoadShowsItsMessageAndEndsCleanly)
{
    for (QString load : {"ButtonX.bmp", "settings", "catalogue", "roster", "levels", "questions"}) {
        TestShell t;
        RecordingLoader loader(t);
        loader.failAt = load;
        auto *menu = new TF_Main(t.services, loader);
        EXPECT_FALSE(menu->FormCreate()) << load.toStdString();
        ASSERT_EQ(t.dialogs.calls.size(), 1u);
        EXPECT_EQ(t.dialogs.calls[0].kind, FakeDialogs::Kind::Fatal);
        EXPECT_EQ(t.dialogs.calls[0].text, fileErrorMessage(load));
        EXPECT_EQ(loader.order.last(), load); // nothing after the failure
        EXPECT_FALSE(t.shell.MaruBatsu.isOpen());
        EXPECT_EQ(popForm(), nullptr);
        EXPECT_EQ(t.nav.mainMenu(), nullptr);
        delete menu;
        EXPECT_FALSE(QFile::exists(t.file("Player1.dat")));
    }
}

TEST(MainStartup, ADamagedCardBackEndsTheProgramAfterTheMenuShowed)
{
    TestShell t;
    RecordingLoader loader(t);
    loader.failAt = QStringLiteral("Pop3");
    auto *menu = new TF_Main(t.services, loader);
    ASSERT_TRUE(menu->FormCreate());
    t.nav.show(menu);
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.nav.quitRequested(); }));
    ASSERT_EQ(t.dialogs.calls.size(), 1u);
    EXPECT_EQ(t.dialogs.calls[0].kind, FakeDialogs::Kind::Fatal);
    EXPECT_EQ(t.dialogs.calls[0].text, fileErrorMessage(QStringLiteral("Pop3")));
    EXPECT_EQ(loader.order.last(), QStringLiteral("Pop3"));
    EXPECT_FALSE(menu->ready());
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(t.shell.MaruBatsu.isOpen());
    EXPECT_FALSE(QFile::exists(t.file("Player1.dat"))); // ended without saving
}

TEST(MainMenu, MusicWaitsForTheSynthesiserAndNeverPlaysOnAHiddenMenu)
{
    // Ready while the menu shows: the music starts then.
    {
        Started s(1, true);
        EXPECT_TRUE(s.t.shell.MaruBatsu.isOpen()); // marking sounds do not wait for the music
        EXPECT_FALSE(s.menu->menuMusicPlaying());
        s.t.sound.finishMusic();
        EXPECT_TRUE(s.menu->menuMusicPlaying());
        EXPECT_EQ(s.t.shell.MidiDeviceCount, 1);
    }
    // The child leaves first: the next screen knows the device count at once,
    // the late synthesiser starts nothing on the hidden menu, and the menu's
    // next showing plays from the beginning.
    {
        Started s(1, true);
        s.click(5);
        EXPECT_EQ(s.t.shell.MidiDeviceCount, 1);
        EXPECT_EQ(s.t.nav.current()->id(), ScreenId::Player);
        s.t.sound.finishMusic();
        QCoreApplication::processEvents();
        EXPECT_FALSE(s.menu->menuMusicPlaying());
        s.t.nav.back();
        EXPECT_TRUE(s.menu->menuMusicPlaying());
        EXPECT_EQ(s.t.sound.playerFor(QStringLiteral("Menu.mid"))->playedFrom, 0);
    }
}

TEST(MainStartup, MissingFilesGiveTheExactMessages)
{
    TestShell t;
    StartupLoader real;
    // A start that fails, before the menu shows or (the card backs) after its first frame.
    auto attempt = [&] {
        t.dialogs.calls.clear();
        auto *menu = new TF_Main(t.services, real);
        if (menu->FormCreate()) {
            t.nav.show(menu);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !t.dialogs.calls.empty() || menu->ready(); }));
            EXPECT_FALSE(menu->ready());
        }
        delete menu;
        return t.dialogs.calls.empty() ? QString() : t.dialogs.calls.back().text;
    };
    EXPECT_EQ(attempt(), QStringLiteral("\\ButtonX.bmpでエラーがおこりました。 "));

    QImage strip(384, 48, QImage::Format_RGB32);
    strip.fill(Qt::white);
    ASSERT_TRUE(strip.save(t.file("ButtonX.bmp")));
    EXPECT_EQ(attempt(), QStringLiteral("Bushu1.dat not found"));

    writeFile(t.file("Bushu1.dat"), encodeBushuRecords({BushuRecord{1, 0, 1, 1}}));
    EXPECT_EQ(attempt(), QStringLiteral("Kanji1.datでエラーがおこりました。 "));

    const QByteArray yama = cp932::fromUnicode(QStringLiteral("山"));
    writeFile(t.file("Kanji1.dat"),
              encodeKanjiRecords({KanjiRecord{1, uint8_t(yama[0]), uint8_t(yama[1]), 3, 1, 1, 0, 0}}));
    EXPECT_EQ(attempt(), QStringLiteral("Mondai2.datでエラーがおこりました。 "));

    writeFile(t.file("Mondai2.dat"), encodeQuestionIndex(QVector<QuestionIndexEntry>(240)));
    EXPECT_EQ(attempt(), QStringLiteral("Pop1.wmfでエラーがおこりました。 "));

    // A damaged roster is a data file failure too; a missing one is no players.
    writeFile(t.file("Player1.dat"), QByteArray(5, 'x'));
    EXPECT_EQ(attempt(), QStringLiteral("Player1.datでエラーがおこりました。 "));
    QFile::remove(t.file("Player1.dat"));
    EXPECT_FALSE(QFile::exists(t.file("Player1.dat")));
}

TEST(MainStartup, TheShippedFilesLoad)
{
    const QString bin = QStringLiteral(FUDEMARU_BIN_DIR "/");
    if (!QFile::exists(bin + "Pop10.wmf") || !QFile::exists(bin + "Mondai2.dat"))
        GTEST_SKIP() << "the generated files are not built";
    TestShell t;
    t.state.ProgramDir = bin;
    t.state.SettingsPath = t.dir.filePath("Fudemaru.ini");
    StartupLoader real;
    TF_Main menu(t.services, real);
    ASSERT_TRUE(menu.FormCreate()) << t.dialogs.texts().join('|').toStdString();
    menu.afterFirstFrame();
    ASSERT_TRUE(menu.ready()) << t.dialogs.texts().join('|').toStdString();
    EXPECT_EQ(t.state.LevelCount, 12);
    for (const QPixmap &p : t.shell.ImgLst_Pop)
        EXPECT_EQ(p.size(), QSize(48, 48));
    for (const QPixmap &p : t.shell.ImgLst_Header)
        EXPECT_EQ(p.size(), QSize(48, 48));
    EXPECT_FALSE(QFile::exists(bin + "Player1.dat") &&
                 QFileInfo(bin + "Player1.dat").lastModified() > QDateTime::currentDateTime().addSecs(-2));
}

TEST(MainStartup, TooSmallADisplayEndsBeforeAnythingLoads)
{
    TestShell t;
    t.display.now = DisplayMode{600, 400, 32, 60};
    RecordingLoader loader(t);
    TF_Main menu(t.services, loader);
    EXPECT_FALSE(menu.FormCreate());
    EXPECT_EQ(t.dialogs.texts(), QStringList{QStringLiteral("このディスプレイの解像度では、実行できません")});
    EXPECT_FALSE(loader.order.contains("catalogue"));
    EXPECT_EQ(popForm(), nullptr);
}

TEST(MainMenu, ButtonsStandInARowWithTheirHints)
{
    Started s;
    const char *hints[] = {"",
                           "ヒントをみる",
                           "ヘルプをみる",
                           "アイコンにする",
                           "せっていをかえる",
                           "べんきょうをする",
                           "せいせきをみる",
                           "とうろくをする",
                           "ふでまるのおわり"};
    for (int tag = 1; tag <= menu::ButtonCount; ++tag) {
        HeaderButton *b = fm::test::headerButton(s.menu, tag);
        // The same row as every screen's header: the first three stand
        // where a screen's stand, the rest follow at the same step.
        EXPECT_EQ(b->size(), QSize(48, 48)) << tag;
        EXPECT_EQ(b->y(), 27) << tag;
        if (tag == 1)
            EXPECT_EQ(b->x(), 10);
        else
            EXPECT_EQ(b->x() - fm::test::headerButton(s.menu, tag - 1)->geometry().right() - 1, 32) << tag;
        EXPECT_LE(b->geometry().right(), 640 - 10) << "inside the screen";
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(hints[tag]));
        EXPECT_EQ(b->tag(), tag);
        // Its name under it, whole, between the buttons and the animation,
        // clear of its neighbours' names.
        QLabel *caption = fm::test::child<QLabel>(s.menu, "MenuCaption", tag);
        EXPECT_EQ(caption->text(), QString::fromUtf8(hints[tag]));
        EXPECT_TRUE(caption->isVisible());
        const int textWidth = QFontMetrics(caption->font()).horizontalAdvance(caption->text());
        EXPECT_LE(textWidth, 80 - 6) << tag;
        EXPECT_EQ(caption->geometry().center().x(), b->geometry().center().x());
        EXPECT_GT(caption->y(), b->geometry().bottom());
        EXPECT_LE(caption->geometry().bottom(), fm::test::child<QWidget>(s.menu, "Img_Kanji")->y());
        EXPECT_GE(caption->x() + (caption->width() - textWidth) / 2, 0);
        EXPECT_LE(caption->x() + (caption->width() + textWidth) / 2, 639);
    }
    EXPECT_EQ(fm::test::child<QLabel>(s.menu, "Lbl_Title")->text(),
              QStringLiteral("がんばれ！ ふでまる(小１～２）"));
    EXPECT_EQ(fm::test::child<QWidget>(s.menu, "Img_Kanji")->geometry(), QRect(20, 96, 600, 360));
    // A click on a name does what its picture does.
    QTest::mouseClick(fm::test::child<QLabel>(s.menu, "MenuCaption", 7), Qt::LeftButton);
    EXPECT_EQ(s.t.nav.current()->id(), ScreenId::Touroku);
}

TEST(MainMenu, WithNoPlayerOnlyRegistrationOpens)
{
    Started s(0);
    ASSERT_FALSE(s.t.pointerMoves.empty());
    EXPECT_EQ(s.menu->pointerTarget(), QPoint(490 + 24, 27 + 24)); // とうろくをする
    EXPECT_EQ(s.t.pointerMoves.back(), s.menu->mapToGlobal(QPoint(514, 51)));

    s.click(5);
    s.click(6);
    EXPECT_EQ(s.t.dialogs.texts(), QStringList({QStringLiteral("なまえのとうろくをしてください。"),
                                                QStringLiteral("なまえのとうろくをしてください。")}));
    EXPECT_EQ(s.t.dialogs.count(FakeDialogs::Kind::Information), 2);
    EXPECT_EQ(s.t.nav.current(), s.menu);
    EXPECT_TRUE(s.menu->menuMusicPlaying());

    s.click(7);
    EXPECT_NE(s.t.nav.current(), s.menu);
    EXPECT_EQ(s.t.nav.current()->id(), ScreenId::Touroku);
    EXPECT_FALSE(s.menu->isVisible());
}

TEST(MainMenu, WithPlayersTheStudyButtonsOpenTheirScreens)
{
    Started s(1);
    EXPECT_EQ(s.menu->pointerTarget(), QPoint(330 + 24, 51)); // べんきょうをする
    s.click(5);
    EXPECT_EQ(s.t.nav.current()->id(), ScreenId::Player);
    s.t.nav.back();
    EXPECT_EQ(s.t.nav.current(), s.menu);
    s.click(6);
    EXPECT_EQ(s.t.nav.current()->id(), ScreenId::Seiseki1);
    s.t.nav.back();
    EXPECT_TRUE(s.t.dialogs.calls.empty());
}

TEST(MainMenu, TenPlayersAreTheLimit)
{
    Started s(10);
    s.click(7);
    EXPECT_EQ(s.t.dialogs.texts(), QStringList{QStringLiteral("すでに１０にんまでとうろくずみです。")});
    EXPECT_EQ(s.t.nav.current(), s.menu);
}

TEST(MainMenu, HelpHintAndSettingsKeepTheMenuRunning)
{
    Started s(1);
    int hints = 0;
    s.t.screens.showHintWindow = [&](Services &, QWidget *) { ++hints; };
    s.click(1);
    s.click(2);
    EXPECT_EQ(hints, 1);
    EXPECT_EQ(s.t.help.contexts, std::vector<int>{31});
    EXPECT_TRUE(s.animationTimer()->isActive());
    EXPECT_TRUE(s.menu->menuMusicPlaying());
    EXPECT_EQ(s.t.state.HintContext, (HintCtx{1, HintSituation::Screen, StudyKind::Reading}));
}

TEST(MainMenu, EndButtonSavesExactlyTheRosterAndEnds)
{
    for (int players : {0, 3}) {
        Started s(players);
        s.click(8);
        QFile f(s.t.file("Player1.dat"));
        ASSERT_TRUE(f.exists());
        EXPECT_EQ(f.size(), players * PlayerRecordSize);
        EXPECT_TRUE(s.t.nav.quitRequested());
        EXPECT_FALSE(s.menu->menuMusicPlaying());
        EXPECT_FALSE(s.animationTimer()->isActive());
    }
}

TEST(MainMenu, MusicRestartsFromTheBeginningOnEveryShowing)
{
    Started s(1);
    EXPECT_EQ(s.t.sound.midiSamples, 1);
    auto *music = s.t.sound.playerFor(QStringLiteral("Menu.mid"));
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->playing);
    music->advance(30000);

    s.click(5); // leaves the menu: the music stops and closes
    EXPECT_FALSE(music->isOpen());
    EXPECT_FALSE(s.animationTimer()->isActive());
    s.t.nav.back();
    EXPECT_EQ(s.t.sound.midiSamples, 2);
    EXPECT_TRUE(music->isOpen());
    EXPECT_TRUE(music->playing);
    EXPECT_EQ(music->playedFrom, 0);
    EXPECT_TRUE(s.animationTimer()->isActive());
}

TEST(MainMenu, NoMidiDeviceMeansNoMusicAndNoMessage)
{
    TestShell t;
    t.sound.midiDevices = 0;
    RecordingLoader loader(t);
    auto *menu = new TF_Main(t.services, loader);
    ASSERT_TRUE(menu->FormCreate());
    t.nav.show(menu);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->ready(); }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(menu->menuMusicPlaying());
    EXPECT_EQ(t.sound.playerFor(QStringLiteral("Menu.mid")), nullptr);
    EXPECT_TRUE(t.dialogs.calls.empty());
}

TEST(MainMenu, WithoutAudioOutputMarkingIsSilent)
{
    TestShell t;
    t.sound.waveOutput = false;
    RecordingLoader loader(t);
    auto *menu = new TF_Main(t.services, loader);
    ASSERT_TRUE(menu->FormCreate());
    t.nav.show(menu);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->ready(); }));
    EXPECT_FALSE(t.shell.MaruBatsu.isOpen());
    t.shell.MaruBatsu.playRight(); // nothing happens, nothing breaks
    EXPECT_TRUE(t.dialogs.calls.empty());
}

TEST(MainMenu, TheAnimationFreezesWhileTheMenuIsHidden)
{
    Started s(1);
    for (int i = 0; i < 30; ++i)
        fm::test::tick(s.menu, "Tim_Ido");
    std::vector<SpriteSlot> before(s.menu->titleAnimation()->motion.Slots.begin(),
                                   s.menu->titleAnimation()->motion.Slots.end());
    s.click(5);
    EXPECT_FALSE(s.animationTimer()->isActive());
    s.t.nav.back();
    for (size_t i = 1; i < before.size(); ++i) {
        EXPECT_EQ(before[i].X, s.menu->titleAnimation()->motion.Slots[i].X);
        EXPECT_EQ(before[i].State, s.menu->titleAnimation()->motion.Slots[i].State);
    }
    EXPECT_EQ(s.animationTimer()->interval(), 200);
}
