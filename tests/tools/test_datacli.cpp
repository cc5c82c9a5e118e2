#include "data/catalogue.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "data/gamescore.h"
#include "data/hintfile.h"
#include "data/locations.h"
#include "data/progress.h"
#include "data/settings.h"
#include "handwriting/centrelines.h"
#include "handwriting/reference.h"
#include "handwriting/zinniamodel.h"
#include "testutil.h"
#include "tools/datacli/datacli.h"
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <sys/stat.h>

using namespace fm;

// A small program directory built by hand: 20 kanji (one level), one
// sentence each, two players with logs.
class DataCliTest : public DataDirTest
{
  protected:
    void SetUp() override
    {
        const QString glyphs = QString::fromUtf8("一二三四五六七八九十山川田人口目耳手足力");
        QVector<KanjiRecord> kanji;
        QVector<QuestionIndexEntry> index;
        QByteArray sentences;
        for (int k = 1; k <= 20; ++k) {
            const QByteArray g = cp932::fromUnicode(glyphs.mid(k - 1, 1));
            kanji.push_back({static_cast<int16_t>(k), static_cast<uint8_t>(g[0]), static_cast<uint8_t>(g[1]),
                             3, 0, 0, 0, 0});
            index.push_back({0, static_cast<int16_t>(k), 1});
            QuestionRecord q;
            q.TargetSegment = 2;
            q.Segments[1] = sj("あの");
            q.Segments[2] = sj("やま");
            q.Segments[3] = sj("です。");
            sentences += encodeQuestionRecord(q);
        }
        write("Kanji1.dat", encodeKanjiRecords(kanji));
        QHash<int, ReferenceStrokeList> strokes;
        for (int k = 1; k <= 20; ++k)
            strokes[k] = ReferenceStrokeList(3, {QPointF(10, 10 * k), QPointF(200, 10 * k)});
        write(ReferenceStrokesFile, ReferenceStrokes::toBytes(strokes));
        QHash<int, StrokePaths> lines;
        for (int k = 1; k <= 20; ++k)
            lines[k] = StrokePaths(3, {QPointF(10, 10 * k), QPointF(200, 10 * k)});
        write(CentreLinesFile, CentreLines::toBytes(lines));
        QFile model(QStringLiteral(FUDEMARU_BIN_DIR "/") + HandwritingModelFile);
        if (model.open(QIODevice::ReadOnly))
            write(HandwritingModelFile, model.readAll());
        write("Bushu1.dat", {});
        write("Mondai2.dat", encodeQuestionIndex(index));
        write("Mondai1.dat", sentences);
        HintRecord hint;
        hint.Number = 1;
        write("Hint.dat", encodeHintRecord(hint));
        Roster roster;
        addPlayer(roster, sj("たろう"));
        addPlayer(roster, sj("はなこ"));
        roster.PlayerTable[2].Game2Level = 4;
        saveRoster(roster, dir());
        StudyRecord r;
        r.Time = toDay(2026, 12, 7, 9, 30);
        for (int i = 1; i <= 10; ++i) {
            r.Kanji[i] = static_cast<int16_t>(i);
            r.Correct[i] = 1;
        }
        r.Counted = 1;
        QByteArray log;
        for (int t = 0; t < 4; ++t)
            log += encodeStudyRecord(r);
        write("Kiroku2.dat", log);
    }
    static double toDay(int y, int m, int d, int h, int min)
    {
        return QDate(1899, 12, 30).daysTo(QDate(y, m, d)) + (h * 60 + min) / 1440.0;
    }
    int run(const QStringList &args)
    {
        out.clear();
        err.clear();
        return cli::run(args, {dir(), dir()}, out, err);
    }
    QString out, err;
};

TEST_F(DataCliTest, CheckPassesAGoodDirectoryAndNamesEachProblem)
{
    EXPECT_EQ(run({"check", dir()}), 0) << out.toStdString();
    EXPECT_EQ(out, "ok: 20 kanji, 20 sentences, 2 players\n");

    write("Kiroku1.dat", QByteArray(60, '\0')); // one record outside the model plus a torn tail
    QFile::remove(path("Mondai1.dat"));
    EXPECT_EQ(run({"check"}), 1);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 3) << out.toStdString();
    for (const QString &l : lines)
        EXPECT_TRUE(l.startsWith("Kiroku1.dat: ") || l.startsWith("Mondai1.dat: ")) << l.toStdString();
}

TEST_F(DataCliTest, PlayersShowsLevelsRebuiltFromTheLogs)
{
    ASSERT_EQ(run({"players", dir()}), 0) << err.toStdString();
    EXPECT_EQ(out, QString::fromUtf8("1\tたろう\t1\t1\t0\t0\n2\tはなこ\t1\t2\t0\t4\n"));
}

TEST_F(DataCliTest, ProgressAndHistoryOfOnePlayer)
{
    ASSERT_EQ(run({"progress", "2"}), 0) << err.toStdString();
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], "LevelCorrectCount\t0") << "the entry is at writing now; reading answers don't count";
    EXPECT_EQ(lines[1], QString::fromUtf8("1\t一\t1\t4\t4\t1"));

    ASSERT_EQ(run({"history", dir(), "2", "--csv"}), 0);
    const QString csv = out;
    ASSERT_EQ(run({"history", "2"}), 0) << "CSV without the flag too";
    EXPECT_EQ(out, csv);
    const QStringList rows = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_TRUE(rows[0].startsWith("number,time,mode,level,kind,kanji1,"));
    EXPECT_EQ(rows[1], "1,2026-12-07T09:30:00,1,1,1,1,2,3,4,5,6,7,8,9,10,1,1,1,1,1,1,1,1,1,1,1");
}

TEST_F(DataCliTest, BadRequestsFailWithOneLine)
{
    for (const QStringList &args :
         {QStringList{"frobnicate"}, QStringList{"progress", "3"}, QStringList{"progress", "x"},
          QStringList{"players", path("nowhere")}, QStringList{"players", "--data", path("nowhere")},
          QStringList{"history", "1", "--data"}, QStringList{}}) {
        EXPECT_NE(run(args), 0) << args.join(' ').toStdString();
        EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
    write("Player1.dat", QByteArray(5, 'x'));
    EXPECT_EQ(run({"players"}), 1);
    EXPECT_TRUE(err.startsWith("fudemaru-data: Player1.dat: "));
}

TEST_F(DataCliTest, RecordsAreReadFromTheDataDirectoryApartFromTheShippedFiles)
{
    const QString home = path("home/.local/share/Fudemaru");
    ASSERT_TRUE(QDir().mkpath(home));
    for (const char *name : {"Player1.dat", "Kiroku2.dat"})
        ASSERT_TRUE(QFile::rename(path(name), QDir(home).filePath(name)));
    const QString players = QString::fromUtf8("1\tたろう\t1\t1\t0\t0\n2\tはなこ\t1\t2\t0\t4\n");

    // As installed: shipped files beside the tool, records in the data directory.
    out.clear();
    ASSERT_EQ(cli::run({"check"}, {dir(), home}, out, err), 0) << out.toStdString() << err.toStdString();
    EXPECT_EQ(out, "ok: 20 kanji, 20 sentences, 2 players\n");
    out.clear();
    ASSERT_EQ(cli::run({"players"}, {dir(), home}, out, err), 0);
    EXPECT_EQ(out, players);

    // Another data directory by name; the shipped files stay the default ones.
    ASSERT_EQ(run({"players", "--data", home}), 0) << err.toStdString();
    EXPECT_EQ(out, players);
    ASSERT_EQ(run({"history", "--data", home, "2"}), 0);
    EXPECT_EQ(out.count('\n'), 5);

    // Before the program's first start in the new place, the records still
    // beside it are the ones shown.
    ASSERT_TRUE(QFile::rename(QDir(home).filePath("Player1.dat"), path("Player1.dat")));
    out.clear();
    ASSERT_EQ(cli::run({"players"}, {dir(), path("never-started")}, out, err), 0) << err.toStdString();
    EXPECT_EQ(out.count('\n'), 2);
}

TEST_F(DataCliTest, CheckFindsWhatTheProgramWouldTripOverEachUnderItsOwnName)
{
    const QByteArray kanji = read("Kanji1.dat"), index = read("Mondai2.dat"), hint = read("Hint.dat");
    const struct {
        const char *what;
        std::function<void()> damage;
        QString line;
    } cases[] = {
        {"empty catalogue", [&] { write("Kanji1.dat", {}); },
         "Kanji1.dat: 20 kanji the questions ask are missing"},
        {"no hint pages", [&] { QFile::remove(path("Hint.dat")); }, "Hint.dat: missing"},
        {"half a glyph",
         [&] {
             QVector<KanjiRecord> k = decodeKanjiRecords(kanji);
             k[6].Trail = 0x20; // a lead byte and a blank
             write("Kanji1.dat", encodeKanjiRecords(k));
         },
         "Kanji1.dat: glyph bytes that are not one double-byte cp932 character: kanji 7"},
        {"empty question index", [&] { write("Mondai2.dat", {}); }, "Mondai2.dat: 0 records"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.damage();
        EXPECT_EQ(run({"check"}), 1);
        const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1) << out.toStdString();
        EXPECT_TRUE(lines[0].startsWith(c.line)) << lines[0].toStdString();
        write("Kanji1.dat", kanji);
        write("Mondai2.dat", index);
        write("Hint.dat", hint);
    }
    EXPECT_EQ(run({"check"}), 0) << out.toStdString();
}

// What stands in the folder besides the program's own files, and boards the
// game reads its own way: each is one line saying what the program does.
TEST_F(DataCliTest, CheckSaysWhatTheProgramDoesWithLinksOddObjectsAndLongBoards)
{
    QTemporaryDir outside;
    const QString elsewhere = QDir(outside.path()).filePath("elsewhere.dat");
    QFile f(elsewhere);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(2 * GameScoreRecordSize, '\0'));
    f.close();
    QVector<GameScoreRecord> eleven(11, GameScoreRecord{5, sj("たろう"), 46000.0});
    const struct {
        const char *name;
        std::function<void()> make;
        int exitCode;
        QString line;
    } cases[] = {
        {"Game1.dat", [&] { writeBoard(dir(), GameId::Matching, eleven); }, 0,
         "Game1.dat: 11 records; ten are shown; the rest are dropped at the next save"},
        {"Game2.dat", [&] { write("Game2.dat", QByteArray(GameScoreRecordSize + 5, '\0')); }, 0,
         "Game2.dat: an incomplete last record of 5 bytes is ignored and dropped at the next save"},
        {"Kiroku1.dat", [&] { QFile::link(elsewhere, path("Kiroku1.dat")); }, 1,
         "Kiroku1.dat: is a symbolic link"},
        {"Game2.dat", [&] { QFile::link(elsewhere, path("Game2.dat")); }, 1, "Game2.dat: is a symbolic link"},
        {"Kiroku9.dat", [&] { QFile::link(elsewhere, path("Kiroku9.dat")); }, 0,
         "Kiroku9.dat: a symbolic link to " + elsewhere +
             "; the program refuses a record file that is a link"},
        {"notes", [&] { QFile::link(elsewhere, path("notes")); }, 0,
         "notes: a symbolic link to " + elsewhere + "; the program does not use it"},
        {"pipe", [&] { ::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600); }, 0,
         "pipe: not a file (a FIFO); the program does not use it"},
        // The live log and a "cp -al" backup of it share their contents.
        {"Kiroku2.dat",
         [&] {
             ::link(QFile::encodeName(path("Kiroku2.dat")).constData(),
                    QFile::encodeName(QDir(outside.path()).filePath("backup-Kiroku2.dat")).constData());
         },
         1, "Kiroku2.dat: has 2 hard links"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        c.make();
        EXPECT_EQ(run({"check"}), c.exitCode) << out.toStdString();
        const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), c.exitCode == 0 ? 2 : 1) << out.toStdString();
        EXPECT_TRUE(lines[0].startsWith(c.line)) << lines[0].toStdString();
        QFile::remove(path(c.name));
    }
    QFile e(elsewhere);
    ASSERT_TRUE(e.open(QIODevice::ReadOnly));
    EXPECT_EQ(e.readAll(), QByteArray(2 * GameScoreRecordSize, '\0')) << "check never writes";
}

TEST_F(DataCliTest, LogsWithoutAPlayerAndLeftoversAreReportedAndSetAsideAtRegistration)
{
    // Player1.dat lost two children: their logs 3 and 4 are still here.
    const QByteArray third = read("Kiroku2.dat");
    write("Kiroku3.dat", third);
    write("Kiroku4.dat", third.left(52));
    write("Player1.dat.saving-Q1w2E3", read("Player1.dat"));
    EXPECT_EQ(run({"check"}), 0) << "the program still runs";
    EXPECT_EQ(
        out.split('\n', Qt::SkipEmptyParts),
        QStringList({"Kiroku3.dat: a log without a player (the roster has 2); the child registered next at "
                     "that number starts without it",
                     "Kiroku4.dat: a log without a player (the roster has 2); the child registered next at "
                     "that number starts without it",
                     "Player1.dat.saving-Q1w2E3: left by an interrupted save; the program removes it at its "
                     "next start",
                     "ok: 20 kanji, 20 sentences, 2 players"}));

    Roster roster;
    loadRoster(roster, dir());
    ASSERT_EQ(registerPlayer(roster, dir(), sj("さくら")), 3);
    EXPECT_TRUE(readLog(dir(), 3).records.isEmpty()) << "the new child starts with an empty history";
    ASSERT_EQ(run({"check"}), 0);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << out.toStdString();
    EXPECT_EQ(lines[3], "ok: 20 kanji, 20 sentences, 3 players");
    EXPECT_TRUE(lines[0].startsWith("Kiroku3.orphaned-")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(".dat: a log set aside at a registration; it belongs to no player"));
    EXPECT_EQ(read(lines[0].section(':', 0, 0)), third) << "set aside whole, never deleted";
    EXPECT_TRUE(lines[1].startsWith("Kiroku4.dat: a log without a player (the roster has 3)"));

    // A disk that is full at the next registration: nothing is handed over, nothing lost.
    {
        WriteFaultForTesting full(0);
        EXPECT_THROW(registerPlayer(roster, dir(), sj("もも")), FileError);
    }
    EXPECT_EQ(roster.PlayerCount, 3);
    Roster onDisk;
    loadRoster(onDisk, dir());
    EXPECT_EQ(onDisk.PlayerCount, 3);
    EXPECT_EQ(QDir(dir()).entryList({"Kiroku4*"}).size(), 1);
    EXPECT_TRUE(QDir(dir()).entryList({"Kiroku4.dat"}).isEmpty()) << "set aside before the failed save";
}

TEST_F(DataCliTest, PlayersKeepsOneLinePerPlayerWhateverTheNames)
{
    Roster roster;
    loadRoster(roster, dir());
    roster.PlayerTable[1].Name = QByteArray("a\nb\tc\x1b\\");
    roster.PlayerTable[2].Name.clear();
    write("Player1.dat", encodePlayers(roster)); // names the program never writes itself
    ASSERT_EQ(run({"players"}), 0) << err.toStdString();
    EXPECT_EQ(out, QString::fromUtf8("1\ta\\x0ab\\x09c\\x1b\\\\\t1\t1\t0\t0\n2\t\t1\t2\t0\t4\n"));
}

TEST_F(DataCliTest, AMissingOrDamagedStrokeFileIsARemarkNotAFailure)
{
    QFile::remove(path(ReferenceStrokesFile));
    EXPECT_EQ(run({"check"}), 0);
    EXPECT_TRUE(out.startsWith("Kakijun1.dat: not found; the writing square will not be offered\n"))
        << out.toStdString();
    write(ReferenceStrokesFile, ReferenceStrokes::toBytes({{1, {{QPointF(1, 1), QPointF(9, 9)}}}}));
    EXPECT_EQ(run({"check"}), 0);
    EXPECT_TRUE(
        out.startsWith("Kakijun1.dat: kanji 1 has 1 strokes, the catalogue 3; the writing square will "
                       "not be offered\n"))
        << out.toStdString();
    EXPECT_TRUE(out.endsWith("ok: 20 kanji, 20 sentences, 2 players\n"));

    // The centre lines, missing or damaged, beside whole reference strokes.
    write(ReferenceStrokesFile, ReferenceStrokes::toBytes({{1, {{QPointF(1, 1), QPointF(9, 9)}}}}));
    QFile::remove(path(CentreLinesFile));
    EXPECT_EQ(run({"check"}), 0);
    EXPECT_TRUE(
        out.contains("Hitsujun1.dat: not found; the kanji pages and the stroke order will not be shown\n"))
        << out.toStdString();
    write(CentreLinesFile, "HTSJ");
    EXPECT_EQ(run({"check"}), 0);
    EXPECT_TRUE(
        out.contains(QRegularExpression("\nHitsujun1.dat: .*; the kanji pages and the stroke order will "
                                        "not be shown\n")))
        << out.toStdString();

    // The model: damaged (its tail zeroed, as a torn copy looks) or not a
    // file is said so, never "not found", and the check does not crash.
    if (!QFile::exists(path(HandwritingModelFile)))
        return;
    QFile::remove(path(ReferenceStrokesFile));
    QFile model(path(HandwritingModelFile));
    ASSERT_TRUE(model.open(QIODevice::ReadWrite));
    QByteArray bytes = model.readAll();
    std::fill(bytes.begin() + bytes.size() / 2, bytes.end(), '\0');
    model.seek(0);
    model.write(bytes);
    model.close();
    EXPECT_EQ(run({"check"}), 0);
    EXPECT_TRUE(
        out.contains(QRegularExpression("\nTegaki1.model: character \\d+ .*; the writing square will not be "
                                        "offered\n")))
        << out.toStdString();
    QFile::remove(path(HandwritingModelFile));
    QDir(dir()).mkdir(HandwritingModelFile);
    EXPECT_EQ(run({"check"}), 0);
    EXPECT_TRUE(
        out.contains("\nTegaki1.model: is not a regular file; the writing square will not be offered\n"))
        << out.toStdString();
}

// Whatever keeps the program from starting before its menu (the settings
// file it reads first, the data folder it must open and write, the first
// start's copy of an old program folder's records) check reports too, and
// nothing else: each row runs check, then the program's own first steps.
TEST_F(DataCliTest, CheckFailsExactlyWhereTheProgramsStartFails)
{
    const bool root = ::geteuid() == 0; // permission bits bind everyone but root
    struct Row {
        const char *name;
        std::function<void(const QString &data, const QString &ini)> make;
        bool starts;
        const char *line; // the start of check's line naming the cause
        qint64 bytesThatFit = -1;
        bool needsNonRoot = false;
    };
    const auto fifo = [](const QString &p) { ::mkfifo(QFile::encodeName(p).constData(), 0600); };
    const auto file = [](const QString &p, const QByteArray &bytes) {
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    };
    const auto mode = [](const QString &p, mode_t m) {
        QDir().mkpath(QFileInfo(p).absolutePath());
        ::chmod(QFile::encodeName(p).constData(), m);
    };
    const Row rows[] = {
        {"a first start: no folder, no settings", [](auto &, auto &) {}, true, nullptr},
        {"settings as written by hand", [&](auto &, auto &ini) { file(ini, "[Kanji1]\r\nRead_Time=7\r\n"); },
         true, nullptr},
        {"a FIFO as the settings file", [&](auto &, auto &ini) { fifo(ini); }, false,
         "Fudemaru.ini: is not a regular file"},
        {"a directory as the settings file", [](auto &, auto &ini) { QDir().mkpath(ini); }, false,
         "Fudemaru.ini: is not a regular file"},
        {"a device as the settings file", [](auto &, auto &ini) { QFile::link("/dev/null", ini); }, false,
         "Fudemaru.ini: is not a regular file"},
        {"an oversized settings file", [&](auto &, auto &ini) { file(ini, QByteArray(70000, ';')); }, false,
         "Fudemaru.ini: 70000 bytes"},
        {"an unreadable settings file",
         [&](auto &, auto &ini) {
             file(ini, "[Kanji1]\n");
             mode(ini, 0);
         },
         false, "Fudemaru.ini: cannot be opened", -1, true},
        {"a file in the data folder's place", [&](auto &data, auto &) { file(data, "x"); }, false, ""},
        {"a file in a parent folder's place",
         [&](auto &data, auto &) { file(QFileInfo(data).absolutePath(), "x"); }, false, ""},
        {"a data folder that cannot be written", [&](auto &data, auto &) { mode(data + "/", 0500); }, false,
         "", -1, true},
        {"a data folder that cannot be opened", [&](auto &data, auto &) { mode(data + "/", 0300); }, false,
         "", -1, true},
        {"a full disk at start", [](auto &, auto &) {}, false, "", 0},
        {"old records that do not fit", [](auto &, auto &) {}, false, "", 100},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        if (r.needsNonRoot && root)
            continue;
        QTemporaryDir home;
        const QString data = QDir(home.path()).filePath("share/Fudemaru");
        const QString ini = QDir(home.path()).filePath("config/Fudemaru.ini");
        QDir().mkpath(QFileInfo(ini).absolutePath());
        if (r.name != std::string("a file in a parent folder's place"))
            QDir().mkpath(QFileInfo(data).absolutePath());
        r.make(data, ini);

        QString checkOut, checkErr;
        int code = 0;
        {
            WriteFaultForTesting room(r.bytesThatFit);
            code = cli::run({"check"}, {dir(), data, ini}, checkOut, checkErr);
        }
        // The program's steps before its menu, in its order.
        bool started = true;
        try {
            WriteFaultForTesting room(r.bytesThatFit);
            AppState state;
            readSettings(state.Settings, ini);
            prepareDataDir(data, dir());
            loadRoster(state.Players, data);
        } catch (const FileError &) {
            started = false;
        }
        QDir().mkpath(data);
        ::chmod(QFile::encodeName(data).constData(), 0700);
        ::chmod(QFile::encodeName(ini).constData(), 0600);

        EXPECT_EQ(started, r.starts);
        EXPECT_EQ(code == 0, r.starts) << checkOut.toStdString() << checkErr.toStdString();
        if (r.line) {
            const QString cause =
                *r.line ? QString::fromUtf8(r.line) : QDir::toNativeSeparators(QDir::cleanPath(data)) + ": ";
            EXPECT_TRUE(checkOut.startsWith(cause)) << checkOut.toStdString();
        }
    }
}
