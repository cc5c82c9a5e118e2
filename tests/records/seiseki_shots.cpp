// Renders the history, per-kanji results and kanji list screens to PNG files
// for a look (not a test), with a player of 25 tests:
//   records_shots <output folder>
// Run with QT_SCALE_FACTOR=2.25 to see them as a 1920 x 1080 display shows them.
#include "data/catalogue.h"
#include "data/progress.h"
#include "data/studylog.h"
#include "recordfixture.h"
#include "records/kichiran.h"
#include "records/kseiseki.h"
#include "records/seiseki.h"
#include <QApplication>
#include <QBitmap>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QScrollBar>
#include <cstdio>

using namespace fm;

namespace
{

QString out;
QString suffix;

void snap(QWidget *screen, const QString &name)
{
    const QString path = QStringLiteral("%1/%2%3.png").arg(out, name, suffix);
    QPixmap shot;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        // What the display really shows.
        QTest::qWait(200);
        shot = QGuiApplication::primaryScreen()->grabWindow(0);
    } else {
        QCoreApplication::processEvents();
        shot = screen->grab();
    }
    if (!shot.save(path))
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
}

// 25 tests: levels 1 and 2 in both kinds, then level 3 reading, two of
// them practice, spread over two months.
void writeLog(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return;
    const int plan[][3] = {{1, 1, 9},  {1, 1, 10}, {1, 1, 8}, {1, 1, 10}, {1, 1, 6},  {1, 1, 9}, {1, 2, 7},
                           {1, 2, 10}, {1, 2, 9},  {1, 2, 8}, {1, 2, 10}, {2, 1, 10}, {2, 1, 9}, {2, 1, 10},
                           {2, 1, 9},  {2, 1, 8},  {2, 2, 9}, {2, 2, 10}, {2, 2, 10}, {2, 2, 9}, {2, 2, 5},
                           {2, 2, 8},  {3, 1, 7},  {3, 1, 9}, {3, 1, 4}};
    double day = 45000.4;
    int n = 0;
    for (const auto &p : plan) {
        StudyRecord r;
        r.Mode = (n == 4 || n == 20) ? 2 : 1;
        r.Level = int16_t(p[0]);
        r.Kind = int16_t(p[1]);
        r.Time = day;
        for (int i = 1; i <= 10; ++i) {
            r.Kanji[i] = int16_t(20 * (p[0] - 1) + (i + n * 3) % 20 + 1);
            r.Correct[i] = i <= p[2] ? 1 : 0;
        }
        r.Counted = p[2] >= 7 ? 1 : 0;
        f.write(encodeStudyRecord(r));
        day += 1.7 + (n % 3);
        ++n;
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: records_shots <output folder>\n");
        return 2;
    }
    fm::test::app();
    out = QString::fromLocal8Bit(argv[1]);
    const qreal scale =
        qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
    suffix = scale > 1 ? QStringLiteral("-x%1").arg(scale) : QString();
    QDir().mkpath(out);

    records_test::Shell t;
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        t.host->showOnScreen();
    const QDir bin(QStringLiteral(FUDEMARU_BIN_DIR));
    for (const char *name : {"Kanji1.dat", "Bushu1.dat", "ButtonX.bmp", "GlyphPrev.bmp", "GlyphNext.bmp",
                             "GlyphYomi.bmp", "GlyphKaki.bmp"})
        QFile::copy(bin.filePath(QLatin1String(name)), t.file(QLatin1String(name)));
    loadCatalogue(t.state.Cat, t.state.ProgramDir);
    const QImage strip(t.file(QStringLiteral("ButtonX.bmp")));
    for (int i = 0; i < 8 && !strip.isNull(); ++i) {
        const QImage cell = strip.copy(48 * i, 0, 48, 48);
        QPixmap icon = QPixmap::fromImage(cell);
        icon.setMask(QBitmap::fromImage(cell.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor)));
        t.shell.ImgLst_Header[i] = icon;
    }

    for (const char *name : {"はると", "あおい", "みなと"})
        records_test::addPlayer(t.state, QString::fromUtf8(name));
    writeLog(t.file(QStringLiteral("Kiroku1.dat")));
    rebuildLevels(t.state.Players, t.state.ProgramDir);

    auto *list = static_cast<TF_Seiseki1 *>(t.nav.open(ScreenId::Seiseki1));
    snap(list, QStringLiteral("seiseki1"));
    list->Grd_SeisekiClick(1);
    auto *history = t.nav.find<TF_Seiseki2>();
    snap(history, QStringLiteral("seiseki2-page1"));
    history->Btn_NextClick();
    history->Btn_NextClick();
    snap(history, QStringLiteral("seiseki2-page3"));
    t.nav.showMainMenu();

    selectPlayer(t.state, 1);
    auto *results = static_cast<TF_KSeiseki1 *>(t.nav.open(ScreenId::KSeiseki1));
    snap(results, QStringLiteral("kseiseki1-top"));
    results->Grd_Seiseki->verticalScrollBar()->setValue(results->Grd_Seiseki->verticalScrollBar()->maximum());
    snap(results, QStringLiteral("kseiseki1-end"));
    t.nav.showMainMenu();

    auto *kanji = static_cast<TF_K_ichiran *>(t.nav.open(ScreenId::KIchiran));
    snap(kanji, QStringLiteral("kichiran-start"));
    kanji->BtnClick(1);
    kanji->Tim_KanjiTimer();
    snap(kanji, QStringLiteral("kichiran-scattered"));
    while (kanji->phase() == 1)
        kanji->Tim_KanjiTimer();
    for (int i = 0; i < 15; ++i)
        kanji->Tim_KanjiTimer();
    snap(kanji, QStringLiteral("kichiran-moving"));
    while (kanji->phase() != 0)
        kanji->Tim_KanjiTimer();
    snap(kanji, QStringLiteral("kichiran-reading"));
    kanji->BtnClick(2);
    while (kanji->phase() != 0)
        kanji->Tim_KanjiTimer();
    snap(kanji, QStringLiteral("kichiran-writing"));
    return 0;
}
