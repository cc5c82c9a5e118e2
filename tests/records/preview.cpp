// Shows the registration, player selection and mode screens on the current
// display and saves what the display shows as PNG files, for a look:
//   records_preview <output folder> <number of players> [<program folder with Stars.bmp>]
#include "recordfixture.h"
#include "records/mode.h"
#include "records/player.h"
#include "records/touroku.h"
#include <QApplication>
#include <QBitmap>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTest>
#include <cstdio>

using namespace fm;

namespace
{

void snap(const QString &path)
{
    QTest::qWait(300);
    QScreen *screen = QGuiApplication::primaryScreen();
    const QPixmap shot = screen->grabWindow(0, 0, 0, DesignWidth, DesignHeight);
    if (!shot.save(path))
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: records_preview <output folder> <players> [<program folder>]\n");
        return 2;
    }
    fm::test::app();
    const QString out = QString::fromLocal8Bit(argv[1]);
    const int players = std::clamp(atoi(argv[2]), 0, MaxPlayers);
    QDir().mkpath(out);

    records_test::Shell t;
    if (argc > 3) {
        for (const char *name : {"Stars.bmp", "GlyphClear.bmp", "GlyphOk.bmp", "ButtonX.bmp"})
            QFile::copy(QDir(QString::fromLocal8Bit(argv[3])).filePath(QLatin1String(name)),
                        t.file(QLatin1String(name)));
    }
    // The header icons, cut from the program's strip as the menu does.
    const QImage strip(t.file(QStringLiteral("ButtonX.bmp")));
    for (int i = 0; i < 8 && !strip.isNull(); ++i) {
        const QImage cell = strip.copy(48 * i, 0, 48, 48);
        QPixmap icon = QPixmap::fromImage(cell);
        icon.setMask(QBitmap::fromImage(cell.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor)));
        t.shell.ImgLst_Header[i] = icon;
    }
    if (!QFile::exists(t.file(QStringLiteral("Stars.bmp"))))
        records_test::writeStars(t);

    static const char *const names[] = {"みなと", "はると", "ゆい",   "あおい", "りく",
                                        "めい",   "そうた", "ひまり", "ゆうと", "さくら"};
    for (int i = 0; i < players; ++i) {
        PlayerEntry &e = records_test::addPlayer(t.state, QString::fromUtf8(names[i]),
                                                 i == 2 ? 13 : 1 + (i * 5) % 12, 1 + i % 2);
        e.Game1Level = int16_t(i % 13);
        e.Game2Level = int16_t((i * 7) % 13);
    }

    auto *reg = t.nav.open<TF_Touroku>();
    for (int k : {6, 11, 29})
        reg->Btn_MojiClick(k);
    snap(QStringLiteral("%1/touroku-%2.png").arg(out).arg(players));
    t.nav.showMainMenu();

    auto *list = t.nav.open<TF_Player>();
    if (players > 0)
        list->Lbl_PlayerMouseMove(1);
    snap(QStringLiteral("%1/player-%2.png").arg(out).arg(players));

    if (players > 0) {
        list->Lbl_PlayerClick(players); // the last one: level 13 with 3 players
        t.state.LevelCorrectCount = 20; // halfway through the current level
        auto *mode = static_cast<TF_Mode *>(t.nav.replace(ScreenId::Mode));
        mode->Lbl_Command1MouseMove(3);
        snap(QStringLiteral("%1/mode-%2.png").arg(out).arg(players));
    }
    return 0;
}
