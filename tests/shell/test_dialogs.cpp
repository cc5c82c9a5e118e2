// The settings dialog, the start-up picture, the help viewer and the lock.
#include "data/fileio.h"
#include "data/settings.h"
#include "shell/helpwindow.h"
#include "shell/instancelock.h"
#include "shell/pop.h"
#include "shell/settei.h"
#include "support/testshell.h"
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace fm;
using fm::test::TestShell;

namespace
{

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

// The settings dialog's controls, by their names.
QSpinBox *field(const TF_Settei &d, const char *name)
{
    return fm::test::child<QSpinBox>(&d, name);
}
UpDown *arrows(const TF_Settei &d, const char *name)
{
    return fm::test::child<UpDown>(&d, name);
}
// "Btn_Up" or "Btn_Down" of the arrows called upDown.
QPushButton *arrow(const TF_Settei &d, const char *upDown, const char *which)
{
    return fm::test::child<QPushButton>(arrows(d, upDown), which);
}
QPushButton *button(const TF_Settei &d, const char *name)
{
    return fm::test::child<QPushButton>(&d, name);
}

struct Settings : ::testing::Test {
    TestShell t;
    void SetUp() override
    {
        t.state.Settings.ReadTimeLimit = 7;
        t.state.Settings.WriteTimeLimit = 12;
    }
};

} // namespace

TEST_F(Settings, ShowsTheLimitsAndOnlyTheEraseButtonsWithAFile)
{
    touch(t.file("Game2.dat"));
    TF_Settei d(t.services, t.host.get());
    d.show();
    EXPECT_EQ(field(d, "Edt_Yomu_Time")->value(), 7);
    EXPECT_EQ(field(d, "Edt_Kaku_Time")->value(), 12);
    EXPECT_FALSE(button(d, "Btn_G1_Clear")->isVisible());
    EXPECT_TRUE(button(d, "Btn_G2_Clear")->isVisible());
    EXPECT_EQ(button(d, "Btn_Cancel")->text(), QStringLiteral("CANCEL"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("がんばれ！ ふでまる"));
    EXPECT_EQ(field(d, "Edt_Yomu_Time")->geometry(), QRect(136, 72, 33, 24));
    EXPECT_LT(arrows(d, "UD_Yomu_Time")->x(), field(d, "Edt_Yomu_Time")->x()); // the arrows on the left
    EXPECT_EQ(button(d, "Btn_OK")->geometry(), QRect(176, 176, 113, 25));
    EXPECT_EQ(d.size(), QSize(427, 213));
}

// A parent clicking an arrow quickly means every click: the double-click
// rule must not swallow the second one.
TEST_F(Settings, EveryQuickPressOnAMinuteArrowCounts)
{
    TF_Settei d(t.services, t.host.get());
    d.show();
    const auto pressTwiceQuickly = [](QPushButton *b) {
        const QPoint at = b->rect().center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
            QMouseEvent down(type, at, b->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(b, &down);
            QMouseEvent up(QEvent::MouseButtonRelease, at, b->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                           Qt::NoModifier);
            QApplication::sendEvent(b, &up);
        }
    };
    for (auto [arrows, field] : {std::pair{arrows(d, "UD_Yomu_Time"), field(d, "Edt_Yomu_Time")},
                                 std::pair{arrows(d, "UD_Kaku_Time"), field(d, "Edt_Kaku_Time")}}) {
        const int before = field->value();
        const QList<QPushButton *> buttons = arrows->findChildren<QPushButton *>();
        ASSERT_EQ(buttons.size(), 2);
        QPushButton *up = buttons[0]->text() == QStringLiteral("▲") ? buttons[0] : buttons[1];
        QPushButton *down = up == buttons[0] ? buttons[1] : buttons[0];
        pressTwiceQuickly(up);
        EXPECT_EQ(field->value(), before + 2);
        pressTwiceQuickly(down);
        pressTwiceQuickly(down);
        EXPECT_EQ(field->value(), before - 2);
    }
}

TEST_F(Settings, OkWritesTheFileAndTheLimits)
{
    TF_Settei d(t.services, t.host.get());
    d.show();
    QTest::mouseClick(arrow(d, "UD_Yomu_Time", "Btn_Up"), Qt::LeftButton);
    QTest::mouseClick(arrow(d, "UD_Kaku_Time", "Btn_Down"), Qt::LeftButton);
    QTest::mouseClick(button(d, "Btn_OK"), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(t.state.Settings.ReadTimeLimit, 8);
    EXPECT_EQ(t.state.Settings.WriteTimeLimit, 11);
    AppSettings again;
    readSettings(again, t.state.SettingsPath);
    EXPECT_EQ(again.ReadTimeLimit, 8);
    EXPECT_EQ(again.WriteTimeLimit, 11);
    QSettings ini(t.state.SettingsPath, QSettings::IniFormat);
    EXPECT_EQ(ini.value("Kanji1/POPMSG").toString(), QStringLiteral("N"));
}

TEST_F(Settings, CancelChangesNothing)
{
    TF_Settei d(t.services, t.host.get());
    d.show();
    field(d, "Edt_Yomu_Time")->setValue(30);
    QTest::mouseClick(button(d, "Btn_Cancel"), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(t.state.Settings.ReadTimeLimit, 7);
    EXPECT_FALSE(QFile::exists(t.state.SettingsPath));
}

TEST_F(Settings, TheTimeFieldsTakeOnlyOneToFiftyNine)
{
    TF_Settei d(t.services, t.host.get());
    d.show();
    QSpinBox *yomu = field(d, "Edt_Yomu_Time");
    for (const char *typed : {"0", "60", "99", "x", "-3"}) {
        yomu->setValue(7);
        yomu->findChild<QLineEdit *>()->selectAll();
        QTest::keyClicks(yomu, typed);
        yomu->interpretText();
        EXPECT_GE(yomu->value(), 1) << typed;
        EXPECT_LE(yomu->value(), 59) << typed;
    }
    QSpinBox *kaku = field(d, "Edt_Kaku_Time");
    kaku->setValue(59);
    QTest::mouseClick(arrow(d, "UD_Kaku_Time", "Btn_Up"), Qt::LeftButton);
    EXPECT_EQ(kaku->value(), 59);
    kaku->setValue(1);
    QTest::mouseClick(arrow(d, "UD_Kaku_Time", "Btn_Down"), Qt::LeftButton);
    EXPECT_EQ(kaku->value(), 1);
}

TEST_F(Settings, OnlyYesErasesAScoreBoard)
{
    touch(t.file("Game1.dat"));
    touch(t.file("Game2.dat"));
    TF_Settei d(t.services, t.host.get());
    d.show();
    t.dialogs.answers = {Answer::No, Answer::Cancel, Answer::Yes};
    QTest::mouseClick(button(d, "Btn_G1_Clear"), Qt::LeftButton);
    QTest::mouseClick(button(d, "Btn_G1_Clear"), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(t.file("Game1.dat")));
    EXPECT_TRUE(button(d, "Btn_G1_Clear")->isVisible());
    QTest::mouseClick(button(d, "Btn_G1_Clear"), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(t.file("Game1.dat")));
    EXPECT_FALSE(button(d, "Btn_G1_Clear")->isVisible());
    EXPECT_EQ(t.dialogs.texts().last(), QStringLiteral("漢字あわせの記録を全て消します。良いですか？"));

    t.dialogs.answers = {Answer::Yes};
    QTest::mouseClick(button(d, "Btn_G2_Clear"), Qt::LeftButton);
    EXPECT_EQ(t.dialogs.texts().last(), QStringLiteral("漢字もぐらたたきの記録を全て消します。良いですか？"));
    EXPECT_FALSE(QFile::exists(t.file("Game2.dat")));
    QTest::mouseClick(button(d, "Btn_Cancel"), Qt::LeftButton); // the erasing stays done
    EXPECT_FALSE(QFile::exists(t.file("Game2.dat")));
}

TEST_F(Settings, ASettingsFileThatCannotBeSavedIsReportedAndTheLimitsStay)
{
    // The configuration directory cannot be made: a file stands in its place.
    touch(t.file("config"));
    t.state.SettingsPath = t.file("config/Fudemaru.ini");
    TF_Settei d(t.services, t.host.get());
    d.show();
    field(d, "Edt_Yomu_Time")->setValue(30);
    QTest::mouseClick(button(d, "Btn_OK"), Qt::LeftButton);
    EXPECT_EQ(t.dialogs.texts(), QStringList{QStringLiteral("Fudemaru.iniでエラーがおこりました。 ")});
    EXPECT_EQ(t.state.Settings.ReadTimeLimit, 7) << "the limits in use stay";
    EXPECT_EQ(t.state.Settings.WriteTimeLimit, 12);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(t.nav.quitRequested()) << "the program goes on";
}

TEST(StartupPicture, PositionsOnASixFortyScreen)
{
    const TF_Pop::Layout at = TF_Pop::layoutFor(QSize(640, 480));
    EXPECT_EQ(at.shadow, QPoint(163, 163));
    EXPECT_EQ(at.greeting, QPoint(160, 160));
    EXPECT_EQ(at.second, QPoint(210, 210));
    EXPECT_EQ(at.icon, QPoint(300, 80));
}

TEST(StartupPicture, PaintsOnlyForTheStartUpValues)
{
    TestShell t;
    QImage icon(48, 48, QImage::Format_RGB32);
    icon.fill(Qt::red);
    t.shell.ImgLst_Header[4] = QPixmap::fromImage(icon);
    t.shell.PopSource = PictureSource::MainScreen;
    t.shell.PopKind = PictureKind::Loading;
    TF_Pop pop(t.services, t.host.get());
    const QImage &img = pop.picture();
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixelColor(5, 5), QColor(0, 128, 128));
    EXPECT_EQ(img.pixelColor(300 + 24, 80 + 24), QColor(255, 0, 0)); // the icon's place
    EXPECT_EQ(img.pixelColor(299, 80), QColor(0, 128, 128));
    // The white greeting starts right of x 160, below y 160; nothing white above or left of it.
    int whiteLeft = 640, whiteTop = 480;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == QColor(255, 255, 255)) {
                whiteLeft = std::min(whiteLeft, x);
                whiteTop = std::min(whiteTop, y);
            }
    EXPECT_GE(whiteLeft, 160);
    EXPECT_LT(whiteLeft, 175);
    EXPECT_GE(whiteTop, 160);
    EXPECT_LT(whiteTop, 180);
    EXPECT_FALSE(pop.isEnabled());
    EXPECT_EQ(t.random.seeds, 1);

    t.shell.PopKind = PictureKind::Menu;
    TF_Pop plain(t.services, t.host.get());
    EXPECT_TRUE(plain.picture().isNull());
}

TEST(HelpViewer, OpensThePageOfTheContextOrSaysItIsMissing)
{
    TestShell t;
    QDir(t.state.ProgramDir).mkpath("help");
    QFile page(t.file("help/31.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><p>メニューのせつめい</p></body></html>");
    page.close();

    HtmlHelpViewer viewer(t.state);
    viewer.showHelp(t.host.get(), 31);
    ASSERT_NE(viewer.window(), nullptr);
    EXPECT_TRUE(viewer.window()->isVisible());
    EXPECT_TRUE(viewer.window()->browser()->toPlainText().contains(QStringLiteral("メニューのせつめい")));
    viewer.showHelp(t.host.get(), 352);
    EXPECT_TRUE(viewer.window()->browser()->toPlainText().contains(QStringLiteral("みつかりません")));
    EXPECT_TRUE(viewer.window()->browser()->toPlainText().contains(QStringLiteral("352")));
}

TEST(InstanceLock, OnlyALiveCopyKeepsTheSecondFromStarting)
{
    QTemporaryDir dir;
    const QString name = QStringLiteral("Fude_Maru12");
    LockFileInstanceLock first(dir.path()), second(dir.path());
    EXPECT_TRUE(first.acquire(name));
    EXPECT_TRUE(first.held());
    EXPECT_FALSE(second.acquire(name));

    // A second process sees the running copy too.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        LockFileInstanceLock other(dir.path());
        ::_exit(other.acquire(name) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a second copy ends";

    first.release();
    EXPECT_TRUE(second.acquire(name));
    second.release();

    // A copy that died holding the lock leaves nothing that stops the next.
    const pid_t dying = ::fork();
    ASSERT_GE(dying, 0);
    if (dying == 0) {
        static LockFileInstanceLock held(dir.path());
        ::_exit(held.acquire(name) && held.held() ? 0 : 1);
    }
    ASSERT_EQ(::waitpid(dying, &status, 0), dying);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    LockFileInstanceLock next(dir.path());
    EXPECT_TRUE(next.acquire(name));
    EXPECT_TRUE(next.held());
    next.release();
}

// The lock is the folder itself: nothing planted in it (an old lock file, a
// directory, a link or a FIFO under any name) lets a second copy in.
TEST(InstanceLock, NothingPlantedInTheFolderLetsASecondCopyIn)
{
    QTemporaryDir dir;
    const QString name = QStringLiteral("Fude_Maru12");
    const QString file = QDir(dir.path()).filePath(name + ".lock");
    ASSERT_TRUE(QDir(dir.path()).mkpath(name + ".lock/inside"));
    ASSERT_TRUE(
        QFile::link(QDir(dir.path()).filePath("elsewhere"), QDir(dir.path()).filePath("Player1.dat")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(QDir(dir.path()).filePath("fifo")).constData(), 0600), 0);
    LockFileInstanceLock first(dir.path()), second(dir.path());
    EXPECT_TRUE(first.acquire(name));
    EXPECT_TRUE(first.held());
    EXPECT_FALSE(second.acquire(name));
    EXPECT_TRUE(QDir(file).exists("inside")) << "nothing in the folder is touched";
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("elsewhere")));

    // A linked data folder: a copy that reaches it by its link sees the lock.
    const QString linked = QDir(dir.path()).filePath("linked");
    ASSERT_TRUE(QFile::link(dir.path(), linked));
    LockFileInstanceLock viaLink(linked);
    EXPECT_FALSE(viaLink.acquire(name));
    first.release();
    EXPECT_TRUE(viaLink.acquire(name));
    EXPECT_TRUE(viaLink.held());

    // A folder that cannot be made (a file stands where it should be): start-up reports it.
    QFile blocker(QDir(dir.path()).filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    LockFileInstanceLock d(QDir(dir.path()).filePath("plain/sub"));
    EXPECT_TRUE(d.acquire(name));
    EXPECT_FALSE(d.held());
}

// Start-up takes the lock whenever the folder can be opened, even while a
// file cannot be written there (a full disk for a moment): two copies never
// both run on one folder. A second copy and a folder that cannot be opened
// each get their own words.
TEST(InstanceLock, TheDataFolderIsLockedWheneverItCanBeOpened)
{
    QTemporaryDir home;
    const QString data = QDir(home.path()).filePath("share/Fudemaru");
    LockFileInstanceLock first(data), second(data);
    {
        WriteFaultForTesting full(0); // no file can be written just now
        const DataDirLock a = lockDataDir(first);
        EXPECT_EQ(a.state, DataDirLock::State::Held);
        EXPECT_TRUE(first.held());
        const DataDirLock b = lockDataDir(second);
        EXPECT_EQ(b.state, DataDirLock::State::OtherCopyRunning);
        EXPECT_EQ(b.message, QString::fromUtf8("ふでまるは もう ひらいています。"));
    }
    first.release();
    EXPECT_EQ(lockDataDir(second).state, DataDirLock::State::Held);
    second.release();

    // No folder to lock: nothing starts, and the message names the folder.
    QFile blocker(QDir(home.path()).filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    LockFileInstanceLock blocked(QDir(home.path()).filePath("plain/Fudemaru"));
    const DataDirLock c = lockDataDir(blocked);
    EXPECT_EQ(c.state, DataDirLock::State::FolderUnusable);
    EXPECT_TRUE(c.message.startsWith(QDir::toNativeSeparators(QDir(home.path()).filePath("plain/Fudemaru"))))
        << c.message.toStdString();
    EXPECT_FALSE(blocked.held());
}
