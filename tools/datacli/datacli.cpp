#include "tools/datacli/datacli.h"
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/datetime.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "data/gamescore.h"
#include "data/hintfile.h"
#include "data/locations.h"
#include "data/progress.h"
#include "data/questionbank.h"
#include "data/roster.h"
#include "data/settings.h"
#include "fudemaru_version.h"
#include "handwriting/centrelines.h"
#include "handwriting/handwriting.h"
#include "handwriting/reference.h"
#include "records/chart/progresschart.h"
#include "tools/datacli/chartfile.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <memory>
#include <sys/stat.h>

namespace fm::cli
{

namespace
{

struct Failure {
    QString line;
};

QString u(const QByteArray &cp932Bytes)
{
    return cp932::toUnicode(cp932Bytes);
}

// "1 player", "2 players": a count with its noun in the right number.
QString counted(qsizetype n, const char *noun)
{
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(noun),
                                                n == 1 ? QString() : QStringLiteral("s"));
}

// A stored name on one line of its own: control characters (and the
// backslash that introduces the escapes) are written as escapes.
QString escaped(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        const char16_t v = c.unicode();
        if (v == '\\')
            out += QStringLiteral("\\\\");
        else if (v < 0x20 || (v >= 0x7f && v < 0xa0))
            out += QStringLiteral("\\x%1").arg(int(v), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString problem(const FileError &e)
{
    return e.fileName() + ": " + (e.detail().isEmpty() ? QStringLiteral("cannot be read") : e.detail());
}

// A few numbers of a list, then how many more there are.
QString someOf(const QVector<int> &numbers)
{
    QStringList shown;
    for (int i = 0; i < numbers.size() && i < 5; ++i)
        shown << QString::number(numbers[i]);
    if (numbers.size() > 5)
        shown << QStringLiteral("... (%1 in all)").arg(numbers.size());
    return shown.join(QStringLiteral(", "));
}

// Every kanji the questions ask must be in the catalogue, and every glyph of
// the catalogue must be one double-byte character.
template <typename Fatal> void checkGlyphs(const AppState &state, QStringList &, Fatal &&fatal)
{
    QVector<int> absent, odd;
    for (int k = 1; k <= state.Bank.QuestionIndexCount; ++k)
        if (state.Cat.KanjiTable[k].Strokes == 0)
            absent << k;
    for (int k = 1; k <= MaxKanjiNumber; ++k) {
        const KanjiEntry &e = state.Cat.KanjiTable[k];
        if (e.Strokes != 0 && !cp932::isOneDoubleByteCharacter(e.Glyph))
            odd << k;
    }
    if (!absent.isEmpty())
        fatal(FileError(kanjiFileName(), QStringLiteral("%1 kanji the questions ask are missing: %2")
                                             .arg(absent.size())
                                             .arg(someOf(absent))));
    if (!odd.isEmpty())
        fatal(FileError(kanjiFileName(),
                        QStringLiteral("glyph bytes that are not one double-byte cp932 character: kanji %1")
                            .arg(someOf(odd))));
}

// Links and objects that are not files in the data directory, unless a line
// names them already. A record file that is a link is refused by the
// program; anything else it leaves alone. Directories are listed only in a
// data directory of its own (a program directory holds folders of its own).
void listForeignObjects(const QString &dir, bool ownDirectory, QStringList &lines)
{
    const QStringList names = QDir(dir).entryList(
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &n : names) {
        const QString prefix = n + QStringLiteral(": ");
        if (std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.startsWith(prefix); }))
            continue;
        struct stat st;
        if (::lstat(QFile::encodeName(programFile(dir, n)).constData(), &st) != 0 || S_ISREG(st.st_mode))
            continue;
        const bool record = writtenFileNames().contains(n);
        QString what;
        if (n == QStringLiteral(".moving") && !S_ISDIR(st.st_mode))
            what = QStringLiteral("not the program's side folder; the program removes it (never what it "
                                  "points to) at its next start");
        else if (S_ISLNK(st.st_mode))
            what = QStringLiteral("a symbolic link to %1; ")
                       .arg(QFileInfo(programFile(dir, n)).symLinkTarget()) +
                   (record ? QStringLiteral("the program refuses a record file that is a link")
                           : QStringLiteral("the program does not use it"));
        else if (S_ISDIR(st.st_mode) && (n == QStringLiteral(".moving") || (!ownDirectory && !record)))
            continue;
        else
            what = (S_ISDIR(st.st_mode) ? QStringLiteral("a directory")
                                        : QStringLiteral("not a file (%1)")
                                              .arg(S_ISFIFO(st.st_mode)   ? "a FIFO"
                                                   : S_ISSOCK(st.st_mode) ? "a socket"
                                                                          : "a device")) +
                   (record ? QStringLiteral(" in a record file's place; the program cannot use it")
                           : QStringLiteral("; the program does not use it"));
        lines << prefix + what;
    }
}

// Logs the roster has no player for, and logs set aside at a registration.
void listStrayLogs(const QString &dir, int playerCount, QStringList &lines)
{
    const QStringList names =
        QDir(dir).entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    QVector<QPair<int, QString>> unowned;
    for (const QString &n : names) {
        if (const std::optional<int> logNumber = logFileNumber(n)) {
            const int number = *logNumber;
            if (number < 1 || number > playerCount || logFileName(number) != n)
                unowned.push_back({number, n});
        } else if (isSetAsideLogName(n)) {
            lines << n + QStringLiteral(": a log set aside at a registration; it belongs to no player");
        }
    }
    std::sort(unowned.begin(), unowned.end());
    for (const auto &[number, n] : unowned)
        lines << n + QStringLiteral(": a log without a player (the roster has %1); the child registered "
                                    "next at that number starts without it")
                         .arg(playerCount);
}

// The stroke-order font's file as fontconfig (which Qt asks on Linux) finds
// it; this tool has no display to ask Qt itself. Empty when it is fine.
QString strokeOrderFontProblem()
{
    const QString family = QStringLiteral("KanjiStrokeOrders");
    QString file;
    if (FcConfig *config = FcInitLoadConfigAndFonts()) {
        FcPattern *pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>("KanjiStrokeOrders"));
        FcObjectSet *objects = FcObjectSetBuild(FC_FILE, nullptr);
        if (FcFontSet *fonts = FcFontList(config, pattern, objects)) {
            FcChar8 *path = nullptr;
            if (fonts->nfont > 0 && FcPatternGetString(fonts->fonts[0], FC_FILE, 0, &path) == FcResultMatch)
                file = QFile::decodeName(reinterpret_cast<const char *>(path));
            FcFontSetDestroy(fonts);
        }
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
        FcConfigDestroy(config);
    }
    if (file.isEmpty())
        return family + QStringLiteral(" (the stroke-order font): not installed (fonts-kanjistrokeorders)");
    // A TrueType or OpenType file begins with one of these.
    QFile f(file);
    const QByteArray head =
        QFileInfo(file).isFile() && f.open(QIODevice::ReadOnly) ? f.read(4) : QByteArray();
    if (head != QByteArray("\0\1\0\0", 4) && head != "OTTO" && head != "true" && head != "ttcf")
        return QFileInfo(file).fileName() + QStringLiteral(" (the stroke-order font): not a font file");
    return {};
}

// The writing square needs the recogniser's model, the reference strokes of
// every kanji and the stroke-order font. Without one of them the program
// runs all the same, only without the square: a remark, not a failure.
void checkWritingSquare(const QString &dir, const Catalogue *catalogue, QStringList &lines)
{
    const QString notOffered = QStringLiteral("; the writing square will not be offered");
    if (catalogue) {
        for (const QString &line : handwritingFilesProblems(dir, *catalogue))
            lines << line + notOffered;
    } else {
        try {
            ReferenceStrokes::load(dir);
        } catch (const FileError &e) {
            lines << problem(e) + notOffered;
        }
    }
    const QString font = strokeOrderFontProblem();
    if (!font.isEmpty())
        lines << font + notOffered;
    // The kanji pages and the stroke-order window draw the centre lines; the
    // program will not draw them from the reference strokes' ends alone.
    if (QFileInfo::exists(programFile(dir, ReferenceStrokesFile))) {
        try {
            CentreLines::load(dir);
        } catch (const FileError &e) {
            lines << problem(e) + QStringLiteral("; the kanji pages and the stroke order will not be shown");
        }
    }
}

// The players and each one's log: what the program skips or ignores in them.
// True when the roster itself could be read.
template <typename Fatal>
bool checkRoster(AppState &state, const QString &data, QStringList &lines, Fatal &&fatal)
{
    bool read = false;
    try {
        loadRoster(state.Players, data);
        read = true;
        for (int n = 1; n <= state.Players.PlayerCount; ++n) {
            const LogContents log = readLog(data, n);
            if (log.skipped)
                lines << logFileName(n) + QStringLiteral(": %1 records outside the data model are skipped")
                                              .arg(log.skipped);
            if (log.tailBytes)
                lines << logFileName(n) + QStringLiteral(": an incomplete last record of %1 bytes is ignored")
                                              .arg(log.tailBytes);
        }
    } catch (const FileError &e) {
        fatal(e);
    }
    return read;
}

// Every sentence a test may ask must be readable. Returns how many there are.
template <typename Fatal>
int checkSentences(AppState &state, const QString &dir, QStringList &lines, Fatal &&fatal)
{
    const auto sentences = readFileAt(dir, sentenceFileName(), 0, 0);
    if (!sentences) {
        fatal(FileError(sentenceFileName(), QStringLiteral("missing")));
        return 0;
    }
    int sentenceCount = 0;
    const qint64 records = sentences->fileSize / QuestionRecordSize;
    if (sentences->fileSize % QuestionRecordSize)
        lines << sentenceFileName() + QStringLiteral(": an incomplete last record of %1 bytes")
                                          .arg(sentences->fileSize % QuestionRecordSize);
    for (int k = 1; k <= state.Bank.QuestionIndexCount; ++k) {
        const QuestionIndexEntry &e = state.Bank.QuestionIndex[k];
        if (e.RecordCount < 1) {
            fatal(FileError(questionIndexFileName(), QStringLiteral("kanji %1 has no sentence").arg(k)));
            continue;
        }
        if (e.FirstRecord < 1 || e.FirstRecord + e.RecordCount - 1 > records) {
            fatal(FileError(sentenceFileName(),
                            QStringLiteral("kanji %1: records %2..%3 lie past the end (%4 records)")
                                .arg(k)
                                .arg(e.FirstRecord)
                                .arg(e.FirstRecord + e.RecordCount - 1)
                                .arg(records)));
            continue;
        }
        sentenceCount += e.RecordCount;
        for (int c = 1; c <= e.RecordCount; ++c) {
            const int t = readQuestionRecord(state.Bank, dir, k, c).TargetSegment;
            if (t < 1 || t > 3)
                fatal(
                    FileError(sentenceFileName(), QStringLiteral("record %1: target segment %2 outside 1..3")
                                                      .arg(e.FirstRecord + c - 1)
                                                      .arg(t)));
        }
    }
    return sentenceCount;
}

// The question index, then the sentences it points at. Returns how many
// sentences there are.
template <typename Fatal>
int checkQuestions(AppState &state, const QString &dir, QStringList &lines, Fatal &&fatal)
{
    try {
        loadQuestionIndex(state.Bank, dir);
        if (state.Bank.QuestionIndexCount < KanjiPerLevel)
            fatal(FileError(
                questionIndexFileName(),
                QStringLiteral("%1 records: not even one level").arg(state.Bank.QuestionIndexCount)));
        else if (state.Bank.QuestionIndexCount % KanjiPerLevel != 0)
            lines << questionIndexFileName() + QStringLiteral(": %1 records are not whole levels of %2")
                                                   .arg(state.Bank.QuestionIndexCount)
                                                   .arg(KanjiPerLevel);
        return checkSentences(state, dir, lines, fatal);
    } catch (const FileError &e) {
        fatal(e);
        return 0;
    }
}

// The game reads a longer board and a torn record without trouble: say
// what it does with them.
template <typename Fatal> void checkBoards(const QString &data, QStringList &lines, Fatal &&fatal)
{
    for (const GameId g : {GameId::Matching, GameId::WhackAMole}) {
        try {
            const auto board = readFileAt(data, boardFileName(g), 0, 0, Links::Refuse);
            if (!board)
                continue;
            const qint64 records = board->fileSize / GameScoreRecordSize;
            const qint64 torn = board->fileSize % GameScoreRecordSize;
            if (records > BoardSize)
                lines << boardFileName(g) +
                             QStringLiteral(
                                 ": %1 records; ten are shown; the rest are dropped at the next save")
                                 .arg(records);
            if (torn)
                lines << boardFileName(g) +
                             QStringLiteral(
                                 ": an incomplete last record of %1 bytes is ignored and dropped at "
                                 "the next save")
                                 .arg(torn);
        } catch (const FileError &e) {
            fatal(e);
        }
    }
}

// The program's start-up loading, then the files it reads later; every
// problem becomes a line. Returns true when the program could start and run,
// and then adds the summary line.
bool check(const Dirs &dirs, const Dirs &defaults, QStringList &lines)
{
    bool ok = true;
    const QString &dir = dirs.shipped;
    const QString &data = dirs.data;
    auto state = std::make_unique<AppState>();
    state->ProgramDir = dir;
    state->DataDir = data;
    auto fatal = [&](const FileError &e) {
        lines << problem(e);
        ok = false;
    };

    // Start-up reads the settings first and readies the data folder before
    // the roster: whatever stops it there stops the program.
    if (!dirs.settings.isEmpty()) {
        try {
            readSettings(state->Settings, dirs.settings, WriteBack::No);
        } catch (const FileError &e) {
            fatal(e);
        }
    }
    // Only the folder the program itself will use has to take its writes:
    // not a backup (--data) nor an old program folder (DIR). Its records may
    // still be in the program folder, read above in their place.
    const bool ownFolders = dir == defaults.shipped && (data == defaults.data || data == defaults.shipped);
    if (ownFolders && defaults.data != defaults.shipped) {
        try {
            checkDataDir(defaults.data, dir);
        } catch (const FileError &e) {
            fatal(e);
        }
    }
    bool catalogueRead = false;
    try {
        loadCatalogue(state->Cat, dir);
        catalogueRead = true;
    } catch (const FileError &e) {
        fatal(e);
    }
    const bool rosterRead = checkRoster(*state, data, lines, fatal);
    const int sentenceCount = checkQuestions(*state, dir, lines, fatal);
    if (catalogueRead && state->Bank.QuestionIndexCount > 0)
        checkGlyphs(*state, lines, fatal);
    // The hint button reads Hint.dat: without it the program ends there.
    try {
        loadHintIndex(state->Hints, dir);
    } catch (const FileError &e) {
        fatal(e);
    }
    checkBoards(data, lines, fatal);
    checkWritingSquare(dir, catalogueRead ? &state->Cat : nullptr, lines);
    if (rosterRead)
        listStrayLogs(data, state->Players.PlayerCount, lines);
    for (const QString &t : saveTemporaries(data))
        lines << t + QStringLiteral(
                         ": left by an interrupted save; the program removes it at its next start");
    listForeignObjects(data, data != dir, lines);
    // Last, once the program can run: what it found.
    if (ok)
        lines << QStringLiteral("ok: %1 kanji, %2, %3")
                     .arg(state->Bank.QuestionIndexCount)
                     .arg(counted(sentenceCount, "sentence"), counted(state->Players.PlayerCount, "player"));
    return ok;
}

void requireDir(const QString &dir)
{
    const QFileInfo info(dir);
    if (!info.isDir() || !info.isReadable())
        throw Failure{QStringLiteral("fudemaru-data: cannot read directory %1").arg(dir)};
}

bool holdsRecords(const QString &dir)
{
    for (const QString &name : writtenFileNames())
        if (QFileInfo(programFile(dir, name)).isFile())
            return true;
    return false;
}

// The directories a command reads. "[DIR]" is present when there is one more
// word than needed and stands for both (an old program directory or a
// copy of one); --data DIR names the data directory alone.
Dirs takeDirs(QStringList &words, int needed, const Dirs &defaults)
{
    Dirs dirs = defaults;
    QString data;
    const int flag = words.indexOf("--data");
    if (flag >= 0) {
        if (flag + 1 >= words.size())
            throw Failure{usage()};
        data = words[flag + 1];
        words.remove(flag, 2);
    }
    if (words.size() > needed) {
        dirs.shipped = dirs.data = words.takeFirst();
        requireDir(dirs.shipped);
    } else if (data.isEmpty() && !holdsRecords(dirs.data) && holdsRecords(dirs.shipped)) {
        // The program has not run since its records lived beside it: they
        // are still there, and are what it will move on its next start.
        dirs.data = dirs.shipped;
    }
    if (!data.isEmpty()) {
        dirs.data = data;
        requireDir(data);
    }
    return dirs;
}

int playerNumber(const QString &word, const Roster &roster)
{
    bool ok = false;
    const int n = word.toInt(&ok);
    if (!ok || n < 1 || n > roster.PlayerCount)
        throw Failure{QStringLiteral("fudemaru-data: no player %1 (the roster has %2)")
                          .arg(word)
                          .arg(roster.PlayerCount)};
    return n;
}

int runCheck(QStringList &words, const Dirs &defaults, QString &out)
{
    const Dirs dirs = takeDirs(words, 0, defaults);
    if (!words.isEmpty())
        throw Failure{usage()};
    requireDir(dirs.shipped);
    QStringList lines;
    const bool ok = check(dirs, defaults, lines);
    for (const QString &l : lines)
        out += l + '\n';
    return ok ? 0 : 1;
}

// The roster, with the levels its logs give, of the directories the words
// name; needed is how many words the command takes after them.
std::unique_ptr<AppState> loadPlayers(QStringList &words, int needed, const Dirs &defaults)
{
    words.removeAll("--csv"); // history is CSV anyway; the flag stays accepted
    const Dirs dirs = takeDirs(words, needed, defaults);
    if (words.size() != needed)
        throw Failure{usage()};
    auto state = std::make_unique<AppState>();
    state->ProgramDir = dirs.shipped;
    state->DataDir = dirs.data;
    loadRoster(state->Players, dirs.data);
    rebuildLevels(state->Players, dirs.data);
    return state;
}

int runPlayers(QStringList &words, const Dirs &defaults, QString &out)
{
    const auto state = loadPlayers(words, 0, defaults);
    for (int n = 1; n <= state->Players.PlayerCount; ++n) {
        const PlayerEntry &e = state->Players.PlayerTable[n];
        out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
                   .arg(n)
                   .arg(escaped(u(e.Name)))
                   .arg(e.Level)
                   .arg(fileValue(e.Kind))
                   .arg(e.Game1Level)
                   .arg(e.Game2Level);
    }
    return 0;
}

int runProgress(QStringList &words, const Dirs &defaults, QString &out)
{
    const auto state = loadPlayers(words, 1, defaults);
    const int n = playerNumber(words.first(), state->Players);
    try {
        loadCatalogue(state->Cat, state->ProgramDir);
    } catch (const FileError &) {
        // Glyphs are a courtesy; the progress itself comes from the log.
    }
    selectPlayer(*state, n);
    out += QStringLiteral("LevelCorrectCount\t%1\n").arg(state->LevelCorrectCount);
    for (int k = 1; k <= IndexedKanjiCount; ++k)
        for (int kind = 1; kind <= 2; ++kind) {
            const ProgressCell &c = state->Progress[k][kind];
            if (c.AskedCount > 0)
                out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
                           .arg(k)
                           .arg(u(state->Cat.KanjiTable[k].Glyph))
                           .arg(kind)
                           .arg(c.AskedCount)
                           .arg(c.CorrectCount)
                           .arg(c.Mastered ? 1 : 0);
        }
    return 0;
}

int runHistory(QStringList &words, const Dirs &defaults, QString &out)
{
    const auto state = loadPlayers(words, 1, defaults);
    const int n = playerNumber(words.first(), state->Players);
    QStringList header{"number", "time", "mode", "level", "kind"};
    for (int i = 1; i <= QuestionsPerTest; ++i)
        header << QStringLiteral("kanji%1").arg(i);
    for (int i = 1; i <= QuestionsPerTest; ++i)
        header << QStringLiteral("right%1").arg(i);
    header << "counted";
    out += header.join(',') + '\n';
    int number = 0;
    for (const StudyRecord &r : readLog(state->DataDir, n).records) {
        QStringList row{QString::number(++number), fromDayNumber(r.Time).toString(Qt::ISODate),
                        QString::number(fileValue(r.Mode)), QString::number(r.Level),
                        QString::number(fileValue(r.Kind))};
        for (int i = 1; i <= QuestionsPerTest; ++i)
            row << QString::number(r.Kanji[i]);
        for (int i = 1; i <= QuestionsPerTest; ++i)
            row << QString::number(r.Correct[i]);
        row << QString::number(r.Counted);
        out += row.join(',') + '\n';
    }
    return 0;
}

// The picture of the history screen, drawn by the same code.
int runChart(QStringList &words, const Dirs &defaults, QString &out)
{
    const int flag = words.indexOf("--out");
    if (flag < 0 || flag + 1 >= words.size())
        throw Failure{usage()};
    const QString file = words[flag + 1];
    words.remove(flag, 2);
    if (chartFormat(file) == ChartFormat::None)
        throw Failure{QStringLiteral("fudemaru-data: %1: the picture is written as .png or .svg").arg(file)};
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        throw Failure{QStringLiteral("fudemaru-data: drawing needs a QGuiApplication")};
    const Dirs dirs = takeDirs(words, 1, defaults);
    if (words.size() != 1)
        throw Failure{usage()};
    // Refused before anything is read: a look at the records never writes among them.
    const QStringList keepOut{dirs.data, dirs.shipped, defaults.data, defaults.shipped};
    if (const QString refusal = chartPathRefusal(file, keepOut); !refusal.isEmpty())
        throw Failure{QStringLiteral("fudemaru-data: %1: %2").arg(file, refusal)};
    Roster roster;
    loadRoster(roster, dirs.data);
    const int n = playerNumber(words.first(), roster);
    auto cat = std::make_unique<Catalogue>();
    try {
        loadCatalogue(*cat, dirs.shipped);
    } catch (const FileError &) {
        // Without the catalogue the weak kanji show their numbers.
    }
    const LogContents log = readLog(dirs.data, n);
    chart::ProgressChart c = chart::buildProgressChart(log.records);
    chart::nameGlyphs(c, *cat);
    const QString title = chart::chartTitle(roster.PlayerTable[n].Name);
    writeChartFile(c, title, file, keepOut);
    out += QStringLiteral("%1: %2\n").arg(file, counted(log.records.size(), "test"));
    return 0;
}

// Each command: its name, its words in the usage line and in --help, what
// --help says of it, and what it does with the words after its name,
// returning the exit status.
struct Command {
    const char *name;
    const char *usage;
    const char *term;
    const char *about;
    int (*run)(QStringList &words, const Dirs &defaults, QString &out);
};

const Command kCommands[] = {
    {"check", "check [DIR]", "check [DIR]", "check the program's files and the records, one problem a line",
     runCheck},
    {"players", "players [DIR]", "players [DIR]", "the players: number, name, level, kind, game levels",
     runPlayers},
    {"progress", "progress [DIR] N", "progress [DIR] N", "player N's progress, kanji by kanji", runProgress},
    {"history", "history [DIR] N [--csv]", "history [DIR] N", "player N's tests as CSV", runHistory},
    {"chart", "chart [DIR] N --out FILE.png|FILE.svg", "chart [DIR] N",
     "player N's progress as a picture (needs --out)", runChart},
};

// A line of --help: the term in a column of its own, then what it means.
QString helpLine(const char *term, const char *about)
{
    return QStringLiteral("  %1%2\n").arg(QLatin1String(term), -21).arg(QLatin1String(about));
}

} // namespace

QString usage()
{
    QStringList commands;
    for (const Command &c : kCommands)
        commands << QLatin1String(c.usage);
    return QStringLiteral("usage: fudemaru-data ") + commands.join(QStringLiteral(" | ")) +
           QStringLiteral("; --data DIR reads the records there; --help; --version");
}

QString help()
{
    // The manual page fudemaru-data.1 documents each command and option listed
    // here; a test holds the two together.
    QString text = QStringLiteral("Usage: fudemaru-data COMMAND [DIR] [N] [OPTIONS]\n"
                                  "A read-only look at Fudemaru's files and the children's records.\n"
                                  "\n"
                                  "Commands:\n");
    for (const Command &c : kCommands)
        text += helpLine(c.term, c.about);
    text += QStringLiteral("\n"
                           "DIR holds both the program's files and the records (an old program folder).\n"
                           "\n"
                           "Options:\n");
    const char *const options[][2] = {
        {"--data DIR", "read the records in DIR (a backup, another account's folder)"},
        {"--csv", "accepted by history, which writes CSV anyway"},
        {"--out FILE", "chart: the picture file, PNG or SVG by its extension"},
        {"--help", "show this help"},
        {"--version", "show the version"},
    };
    for (const auto &[term, about] : options)
        text += helpLine(term, about);
    return text + QStringLiteral("\n"
                                 "Exit status: 0 done (check: the program can run), 1 a file is damaged or\n"
                                 "missing (check: problems listed), 2 wrong command line or folder.\n");
}

int run(const QStringList &args, const Dirs &defaults, QString &out, QString &err)
{
    try {
        if (args.contains("--help")) {
            out += help();
            return 0;
        }
        if (args.contains("--version")) {
            out += QStringLiteral("fudemaru-data " FUDEMARU_VERSION "\n");
            return 0;
        }
        if (args.isEmpty())
            throw Failure{usage()};
        QStringList words = args.mid(1);
        for (const Command &c : kCommands)
            if (args.first() == QLatin1String(c.name))
                return c.run(words, defaults, out);
        throw Failure{QStringLiteral("fudemaru-data: unknown command %1").arg(args.first())};
    } catch (const Failure &f) {
        err += f.line + '\n';
        return 2;
    } catch (const FileError &e) {
        err += QStringLiteral("fudemaru-data: ") + problem(e) + '\n';
        return 1;
    }
}

} // namespace fm::cli
