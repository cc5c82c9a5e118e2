// fudemaru-data chart: the history screen's picture written to a file a
// parent can print or send, and every way it can fail told in one line.
#include "data/catalogue.h"
#include "data/roster.h"
#include "data/studylog.h"
#include "testutil.h"
#include "tools/datacli/datacli.h"
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <functional>
#include <unistd.h>

using namespace fm;

namespace
{

QGuiApplication &guiApp()
{
    static int argc = 1;
    static char name[] = "test_chartcli";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

class ChartCliTest : public DataDirTest
{
  protected:
    void SetUp() override
    {
        guiApp();
        const QString glyphs = QString::fromUtf8("一二三四五六七八九十山川田人口目耳手足力");
        QVector<KanjiRecord> kanji;
        for (int k = 1; k <= 20; ++k) {
            const QByteArray g = cp932::fromUnicode(glyphs.mid(k - 1, 1));
            kanji.push_back({int16_t(k), uint8_t(g[0]), uint8_t(g[1]), 3, 0, 0, 0, 0});
        }
        write("Kanji1.dat", encodeKanjiRecords(kanji));
        write("Bushu1.dat", {});
        Roster roster;
        addPlayer(roster, sj("たろう"));
        saveRoster(roster, dir());
        // Ten tests over ten days; kanji 9 and 10 always wrong.
        QByteArray log;
        for (int t = 0; t < 10; ++t) {
            StudyRecord r;
            r.Time = 46000.4 + t;
            for (int i = 1; i <= 10; ++i) {
                r.Kanji[i] = int16_t(i);
                r.Correct[i] = i <= 8;
            }
            r.Counted = 1;
            log += encodeStudyRecord(r);
        }
        write("Kiroku1.dat", log);
    }
    int run(const QStringList &args)
    {
        out.clear();
        err.clear();
        return cli::run(args, {dir(), dir()}, out, err);
    }
    // Pictures go to a folder of their own, never among the records.
    QString picture(const QString &name) const { return QDir(pictures.path()).filePath(name); }
    QByteArray bytesOf(const QString &p) const
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir pictures;
    QString out, err;
};

} // namespace

TEST_F(ChartCliTest, WritesThePictureAsPngOrSvg)
{
    ASSERT_EQ(run({"chart", dir(), "1", "--out", picture("taro.png")}), 0) << err.toStdString();
    EXPECT_EQ(out, picture("taro.png") + ": 10 tests\n");
    const QImage png(picture("taro.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(1590, 1038)); // 636 x 415 design pixels, 2.5 times
    EXPECT_EQ(QColor(png.pixel(png.width() - 4, png.height() - 4)), QColor(0, 0, 128));

    // One test is "1 test", not "1 tests".
    write("Kiroku1.dat", read("Kiroku1.dat").left(StudyRecordSize));
    ASSERT_EQ(run({"chart", "1", "--out", picture("one.png")}), 0) << err.toStdString();
    EXPECT_EQ(out, picture("one.png") + ": 1 test\n");

    ASSERT_EQ(run({"chart", "1", "--out", picture("taro.SVG")}), 0) << err.toStdString();
    const QByteArray svg = bytesOf(picture("taro.SVG"));
    QXmlStreamReader xml(svg);
    QString texts;
    QString viewBox;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("svg"))
            viewBox = xml.attributes().value("viewBox").toString();
        if (xml.tokenType() == QXmlStreamReader::Characters)
            texts += xml.text();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(viewBox, "0 0 636 415");
    // It draws as the PNG does: navy, the weak kanji's yellow cards on the right.
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    QImage drawn(renderer.viewBox().size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    EXPECT_EQ(QColor(drawn.pixel(drawn.width() - 4, drawn.height() - 4)), QColor(0, 0, 128));
    EXPECT_EQ(QColor(drawn.pixel(440, 64)), QColor(255, 255, 0));
    EXPECT_EQ(QColor(png.pixel(440 * 5 / 2, 64 * 5 / 2)), QColor(255, 255, 0));
    // The child's name, the weak kanji with their glyphs, a date of the history's form.
    for (const char *shown : {"たろうのグラフ", "にがてな かんじ", "九", "十", "2025/12/09"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(shown))) << shown;
}

TEST_F(ChartCliTest, FailuresNameWhatWentWrongAndWriteNothing)
{
    QDir(pictures.path()).mkdir("folder.png");
    const struct {
        QStringList args;
        int code;
        const char *named;
    } cases[] = {
        {{"chart", "1"}, 2, "usage"},
        {{"chart", "1", "--out", picture("taro.jpg")}, 2, "taro.jpg"},
        {{"chart", "2", "--out", picture("taro.png")}, 2, "no player 2"},
        {{"chart", "1", "--out", picture("missing/taro.png")}, 1, "taro.png"},
        {{"chart", "1", "--out", picture("folder.png")}, 1, "folder.png"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(run(c.args), c.code) << c.args.join(' ').toStdString();
        EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.named))) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(picture("taro.png")));
    EXPECT_TRUE(QFileInfo(picture("folder.png")).isDir());

    // A log that is no file: its name, and no picture.
    QFile::remove(path("Kiroku1.dat"));
    ASSERT_TRUE(QDir(dir()).mkdir("Kiroku1.dat"));
    EXPECT_EQ(run({"chart", "1", "--out", picture("taro.png")}), 1);
    EXPECT_TRUE(err.startsWith("fudemaru-data: Kiroku1.dat")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(picture("taro.png")));
}

// The look at the records never writes over one: not through a link named
// like a picture, not over a file with another name, not into the folders
// it reads, not over a file that is no picture. Each refusal names the file
// and leaves every byte where it was; a picture of the same name is replaced.
TEST_F(ChartCliTest, ThePictureNeverReplacesARecordOrAnythingButAPicture)
{
    const QByteArray roster = read("Player1.dat");
    QTemporaryDir elsewhere;
    const QString notes = QDir(elsewhere.path()).filePath("notes.txt");
    {
        QFile f(notes);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a parent's notes");
    }
    const struct {
        const char *name;
        std::function<QString()> make; // the --out path
        const char *why;
    } refused[] = {
        {"a link to the roster",
         [&] {
             QFile::link(path("Player1.dat"), picture("taro.png"));
             return picture("taro.png");
         },
         "symbolic link"},
        {"a link to a link's target that does not exist yet",
         [&] {
             QFile::link(path("Game1.dat"), picture("taro.svg"));
             return picture("taro.svg");
         },
         "symbolic link"},
        {"a hard link to the roster",
         [&] {
             ::link(QFile::encodeName(path("Player1.dat")).constData(),
                    QFile::encodeName(picture("hard.png")).constData());
             return picture("hard.png");
         },
         "hard link"},
        {"a path into the data folder", [&] { return path("taro.png"); }, "folder"},
        {"the data folder by another spelling",
         [&] {
             QFile::link(dir(), picture("records"));
             return picture("records/../records/taro.png");
         },
         "folder"},
        {"a file that is no picture",
         [&] {
             QFile::copy(notes, picture("notes.png"));
             return picture("notes.png");
         },
         "not a PNG picture"},
    };
    for (const auto &r : refused) {
        SCOPED_TRACE(r.name);
        const QString out = r.make();
        EXPECT_EQ(run({"chart", "1", "--out", out}), 2);
        EXPECT_TRUE(err.contains(QFileInfo(out).fileName())) << err.toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(r.why))) << err.toStdString();
        EXPECT_EQ(read("Player1.dat"), roster) << "the roster keeps every byte";
        EXPECT_FALSE(QFileInfo::exists(path("Game1.dat")));
        EXPECT_FALSE(QFileInfo::exists(path("taro.png")));
    }
    EXPECT_EQ(bytesOf(picture("notes.png")), "a parent's notes");
    QFile::remove(picture("hard.png"));

    // An older picture of the same name is simply replaced.
    ASSERT_EQ(run({"chart", "1", "--out", picture("again.png")}), 0) << err.toStdString();
    const QByteArray first = bytesOf(picture("again.png"));
    ASSERT_EQ(run({"chart", "1", "--out", picture("again.png")}), 0) << err.toStdString();
    EXPECT_EQ(bytesOf(picture("again.png")), first);
}
