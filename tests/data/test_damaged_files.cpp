// Every file the program reads, damaged in each way a disk, a crash or a
// curious child can damage it: its loader refuses it with the message that
// names the file, never crashes or hangs, and leaves every file as it found
// it. One row per damage; a loader that stopped naming its file, or tripped
// over one of these, fails its own row.
#include "data/catalogue.h"
#include "data/errors.h"
#include "data/gamescore.h"
#include "data/hintfile.h"
#include "data/questionbank.h"
#include "data/roster.h"
#include "data/settings.h"
#include "data/state.h"
#include "data/studylog.h"
#include "handwriting/reference.h"
#include "testutil.h"
#include <QDirIterator>
#include <QFileInfo>
#include <map>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace fm;

namespace
{

// What each loader needs besides the file it reads.
using Loader = void (*)(const QString &dir, AppState &state);

void catalogue(const QString &dir, AppState &s)
{
    loadCatalogue(s.Cat, dir);
}
void roster(const QString &dir, AppState &s)
{
    loadRoster(s.Players, dir);
}
void log(const QString &dir, AppState &)
{
    readLog(dir, 1);
}
void questionIndex(const QString &dir, AppState &s)
{
    loadQuestionIndex(s.Bank, dir);
}
void hintIndex(const QString &dir, AppState &s)
{
    loadHintIndex(s.Hints, dir);
}
void board(const QString &dir, AppState &)
{
    readBoard(dir, GameId::WhackAMole);
}
void settings(const QString &dir, AppState &s)
{
    readSettings(s.Settings, QDir(dir).filePath("Fudemaru.ini"));
}
// The fourth sentence: the second choice of the second kanji.
void sentence(const QString &dir, AppState &s)
{
    loadQuestionIndex(s.Bank, dir);
    readQuestionRecord(s.Bank, dir, 2, 2);
}
void strokes(const QString &dir, AppState &)
{
    ReferenceStrokes::load(dir);
}
void hintPage(const QString &dir, AppState &)
{
    HintRecord page;
    readHintPage(dir, 1, page);
}

enum class Damage {
    Bytes,    // replaced by `bytes`
    Missing,  // not there at all
    Folder,   // a folder in its place
    Fifo,     // a FIFO: a reader that waits for it hangs
    FifoLink, // a link to a FIFO
    Device,   // a link to /dev/zero: endless bytes
    Sparse,   // `size` bytes of zeros, far more than the format allows
};

enum class Outcome {
    Named,    // "<file>でエラーがおこりました。 "
    NotFound, // "<file> not found"
    Loads,    // not damage for this reader: only the records it needs are read
};

struct Row {
    std::string name;
    QString file;
    Damage damage;
    Loader load;
    Outcome outcome = Outcome::Named;
    QByteArray bytes = {};
    qint64 size = 0;
};

KanjiRecord kanji(int16_t n, int16_t strokes, int16_t g1 = 0, int16_t p1 = 0, int16_t g2 = 0, int16_t p2 = 0)
{
    return {n, 0x88, 0xea, strokes, g1, p1, g2, p2}; // 一
}

QByteArray kanjiFile(std::initializer_list<KanjiRecord> records)
{
    return encodeKanjiRecords(records);
}

QByteArray manyKanji(int count, int16_t g1, int16_t p1)
{
    QVector<KanjiRecord> records;
    for (int n = 1; n <= count; ++n)
        records.push_back(kanji(static_cast<int16_t>(n), 5, g1, p1));
    return encodeKanjiRecords(records);
}

QByteArray onePlayer()
{
    Roster r;
    addPlayer(r, QByteArray("ab"));
    return encodePlayers(r);
}

QByteArray hintNumbered(int16_t number)
{
    HintRecord h;
    h.Number = number;
    return encodeHintRecord(h);
}

StudyRecord fullMarks()
{
    StudyRecord r;
    r.Time = 46000.5;
    for (int i = 1; i <= QuestionsPerTest; ++i) {
        r.Kanji[i] = static_cast<int16_t>(i);
        r.Correct[i] = 1;
    }
    return r;
}

QByteArray sentences(int count)
{
    QByteArray bytes;
    QuestionRecord record;
    record.TargetSegment = 1;
    for (int i = 0; i < count; ++i)
        bytes += encodeQuestionRecord(record);
    return bytes;
}

std::vector<Row> rows()
{
    std::vector<Row> r = {
        // The catalogue: records outside the model, cut records, lists past their end.
        {"Kanji_NumberZero", "Kanji1.dat", Damage::Bytes, catalogue, Outcome::Named,
         kanjiFile({kanji(0, 1)})},
        {"Kanji_NumberPast1024", "Kanji1.dat", Damage::Bytes, catalogue, Outcome::Named,
         kanjiFile({kanji(1025, 1)})},
        {"Kanji_NoStrokes", "Kanji1.dat", Damage::Bytes, catalogue, Outcome::Named, kanjiFile({kanji(1, 0)})},
        {"Kanji_TwentyOneStrokes", "Kanji1.dat", Damage::Bytes, catalogue, Outcome::Named,
         kanjiFile({kanji(1, 21)})},
        {"Kanji_PartGroup11", "Kanji1.dat", Damage::Bytes, catalogue, Outcome::Named,
         kanjiFile({kanji(1, 1, 11, 1)})},
        {"Kanji_PartPosition51", "Kanji1.dat", Damage::Bytes, catalogue, Outcome::Named,
         kanjiFile({kanji(1, 1, 1, 51)})},
        {"Kanji_SecondPartWithoutPosition", "Kanji1.dat", Damage::Bytes, catalogue, Outcome::Named,
         kanjiFile({kanji(1, 1, 1, 1, 1, 0)})},
        {"Kanji_CutRecord", "Kanji1.dat", Damage::Bytes, catalogue, Outcome::Named,
         kanjiFile({kanji(1, 1)}).left(13)},
        {"Kanji_101WithFiveStrokes", "Kanji1.dat", Damage::Bytes, catalogue, Outcome::Named,
         manyKanji(101, 0, 0)},
        {"Kanji_51InOnePart", "Kanji1.dat", Damage::Bytes, catalogue, Outcome::Named, manyKanji(51, 2, 3)},
        {"Kanji_Missing", "Kanji1.dat", Damage::Missing, catalogue},
        {"Bushu_NumberZero", "Bushu1.dat", Damage::Bytes, catalogue, Outcome::Named,
         encodeBushuRecords({{0, 0, 1, 1}})},
        {"Bushu_Missing", "Bushu1.dat", Damage::Missing, catalogue, Outcome::NotFound},
        // The roster.
        {"Player_ElevenPlayers", "Player1.dat", Damage::Bytes, roster, Outcome::Named,
         onePlayer().repeated(11)},
        {"Player_CutRecord", "Player1.dat", Damage::Bytes, roster, Outcome::Named, onePlayer().left(27)},
        {"Player_NameOfElevenBytes", "Player1.dat", Damage::Bytes, roster, Outcome::Named,
         onePlayer().replace(16, 1, "\x0b")},
        // A child's log.
        {"Kiroku_Folder", "Kiroku1.dat", Damage::Folder, log},
        // The sentences and their index.
        {"Mondai2_241Kanji", "Mondai2.dat", Damage::Bytes, questionIndex, Outcome::Named,
         encodeQuestionIndex(QVector<QuestionIndexEntry>(241, {0, 1, 1}))},
        {"Mondai2_CutEntry", "Mondai2.dat", Damage::Bytes, questionIndex, Outcome::Named,
         QByteArray(7, '\0')},
        {"Mondai2_Missing", "Mondai2.dat", Damage::Missing, questionIndex},
        {"Mondai1_ShorterThanItsIndex", "Mondai1.dat", Damage::Bytes, sentence, Outcome::Named, sentences(3)},
        {"Mondai1_Missing", "Mondai1.dat", Damage::Missing, sentence},
        {"Mondai1_NoRedSegment", "Mondai1.dat", Damage::Bytes, sentence, Outcome::Named,
         sentences(3) + encodeQuestionRecord({0, 4, {}})},
        // The hints.
        {"Hint_Number101", "Hint.dat", Damage::Bytes, hintIndex, Outcome::Named, hintNumbered(101)},
        {"Hint_CutRecord", "Hint.dat", Damage::Bytes, hintIndex, Outcome::Named, QByteArray(509, '\0')},
        {"Hint_Missing", "Hint.dat", Damage::Missing, hintIndex},
        // The reference strokes of the writing square.
        {"Kakijun_AnotherFile", "Kakijun1.dat", Damage::Bytes, strokes, Outcome::Named,
         QByteArray("KKJM\1\0\1\0", 8)},
        {"Kakijun_HeaderOnly", "Kakijun1.dat", Damage::Bytes, strokes, Outcome::Named,
         QByteArray("KKJN\1\0\1\0", 8)},
        {"Kakijun_Missing", "Kakijun1.dat", Damage::Missing, strokes, Outcome::NotFound},
        {"Kakijun_Folder", "Kakijun1.dat", Damage::Folder, strokes},
    };

    // Odd objects in place of every file: each reader checks what it opens.
    // `tooLarge`: the size past what the format allows; 0 for a reader that
    // reads only the records it needs, where a larger file is no damage.
    const struct {
        const char *name;
        QString file;
        Loader load;
        qint64 tooLarge;
    } readers[] = {
        {"Bushu", "Bushu1.dat", catalogue, 500 * 8 + 8},
        {"Kanji", "Kanji1.dat", catalogue, 2000 * 14 + 14},
        {"Player", "Player1.dat", roster, 11 * 28},
        {"Kiroku", "Kiroku1.dat", log, 1000001LL * 52},
        {"Mondai2", "Mondai2.dat", questionIndex, 241 * 6},
        {"Mondai1", "Mondai1.dat", sentence, 0},
        {"HintIndex", "Hint.dat", hintIndex, 101 * 510},
        {"HintPage", "Hint.dat", hintPage, 0},
        {"Game2", "Game2.dat", board, 0},
        {"Settings", "Fudemaru.ini", settings, 64 * 1024 + 1},
        {"Kakijun", "Kakijun1.dat", strokes, 8 + 1024 * (4 + 30 * 4) + 1},
    };
    for (const auto &reader : readers) {
        for (const auto &[what, damage] :
             {std::pair{"_Fifo", Damage::Fifo}, std::pair{"_LinkToFifo", Damage::FifoLink},
              std::pair{"_Device", Damage::Device}, std::pair{"_TooLarge", Damage::Sparse}}) {
            Row row{std::string(reader.name) + what, reader.file, damage, reader.load};
            if (damage == Damage::Sparse) {
                row.size = reader.tooLarge ? reader.tooLarge : 64 * 1024 * 1024;
                row.outcome = reader.tooLarge ? Outcome::Named : Outcome::Loads;
                // Only its one record is read, but a record of zeros has no red segment.
                if (reader.load == sentence)
                    row.outcome = Outcome::Named;
            }
            r.push_back(row);
        }
    }
    return r;
}

// A row is named by its name alone in test lists and failures.
void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

// Regular files of the folder: their bytes, or for a large file its size.
std::map<QString, QByteArray> snapshot(const QString &dir)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QByteArray &entry = files[info.fileName()];
        if (info.isSymLink() || !info.isFile()) {
            entry = info.isSymLink() ? "link to " + info.symLinkTarget().toUtf8() : "folder";
        } else if (info.size() > 1024 * 1024) {
            entry = "size " + QByteArray::number(info.size());
        } else {
            QFile f(info.filePath());
            entry = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
        }
    }
    return files;
}

} // namespace

class DamagedFile : public DataDirTest, public ::testing::WithParamInterface<Row>
{
  protected:
    // A tiny valid program and data directory, so that each loader meets
    // only the damage its row puts in.
    void SetUp() override
    {
        write("Bushu1.dat", encodeBushuRecords({{1, 0, 1, 1}}));
        write("Kanji1.dat", kanjiFile({kanji(1, 3, 1, 1)}));
        write("Mondai2.dat", encodeQuestionIndex({{0, 1, 2}, {0, 3, 1}, {0, 3, 0}}));
        write("Mondai1.dat", sentences(4));
        write("Hint.dat", hintNumbered(1));
        write("Player1.dat", onePlayer());
        write("Kiroku1.dat", encodeStudyRecord(fullMarks()));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    }

    void damage(const Row &row)
    {
        QFile::remove(path(row.file));
        switch (row.damage) {
        case Damage::Bytes:
            write(row.file, row.bytes);
            break;
        case Damage::Missing:
            break;
        case Damage::Folder:
            ASSERT_TRUE(QDir(dir()).mkdir(row.file));
            break;
        case Damage::Fifo:
            ASSERT_EQ(::mkfifo(QFile::encodeName(path(row.file)).constData(), 0600), 0);
            break;
        case Damage::FifoLink:
            ASSERT_TRUE(QFile::link(path("fifo"), path(row.file)));
            break;
        case Damage::Device:
            ASSERT_TRUE(QFile::link("/dev/zero", path(row.file)));
            break;
        case Damage::Sparse: {
            QFile f(path(row.file));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_TRUE(f.resize(row.size));
            break;
        }
        }
    }
};

TEST_P(DamagedFile, IsRefusedByNameAndLeftAsItWas)
{
    const Row &row = GetParam();
    ASSERT_NO_FATAL_FAILURE(damage(row));
    const auto before = snapshot(dir());
    auto state = std::make_unique<AppState>();

    ::alarm(20); // a reader stuck on the FIFO ends the run instead of hanging it
    std::optional<FileError> error;
    try {
        row.load(dir(), *state);
    } catch (const FileError &e) {
        error = e;
    }
    ::alarm(0);

    if (row.outcome == Outcome::Loads) {
        EXPECT_FALSE(error) << error->message().toStdString();
    } else {
        ASSERT_TRUE(error) << "read without complaint";
        EXPECT_EQ(error->fileName(), row.file);
        EXPECT_EQ(error->message(), row.outcome == Outcome::NotFound ? row.file + QStringLiteral(" not found")
                                                                     : fileErrorMessage(row.file));
    }
    if (row.load == hintIndex) {
        EXPECT_FALSE(state->Hints.HintLoaded) << "no half-read hints are offered";
    }
    EXPECT_EQ(snapshot(dir()), before) << "a loader never writes over what it could not read";
}

INSTANTIATE_TEST_SUITE_P(EveryLoader, DamagedFile, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row> &info) { return info.param.name; });
