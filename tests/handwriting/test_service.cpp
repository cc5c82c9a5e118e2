// The handwriting service as the screens meet it: never offered without its
// files, opened off the event loop, failing without a crash or a hang on a
// damaged model or stroke file.
#include "data/levels.h"
#include "handwriting/handwriting.h"
#include "handwriting/zinniamodel.h"
#include "hwtest.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace fm;

namespace
{

class Service : public ::testing::Test
{
  protected:
    void SetUp() override { test::ensureApplication(); }

    QString file(const QString &name, const QByteArray &bytes)
    {
        QFile f(QDir(dir.path()).filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    void copyShippedStrokes()
    {
        ASSERT_TRUE(
            QFile::copy(test::programDir() + "/Kakijun1.dat", QDir(dir.path()).filePath("Kakijun1.dat")));
    }
    // Waits on the event loop, as a screen would, for the status to settle.
    static Handwriting::Status settled(ZinniaHandwriting &hw)
    {
        QSignalSpy changed(&hw, &Handwriting::statusChanged);
        hw.open();
        EXPECT_EQ(hw.status(), Handwriting::Status::Opening);
        EXPECT_TRUE(changed.wait(20000));
        EXPECT_EQ(changed.count(), 1);
        return hw.status();
    }

    static QString shippedModel() { return test::programDir() + '/' + HandwritingModelFile; }
    static QByteArray shippedModelBytes()
    {
        QFile f(shippedModel());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void copyShippedModel()
    {
        ASSERT_TRUE(QFile::copy(shippedModel(), QDir(dir.path()).filePath(HandwritingModelFile)));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(Service, AMissingFileMeansNoWritingSquareAndNamesTheFile)
{
    copyShippedStrokes();
    ZinniaHandwriting noModel(test::shippedCatalogue(), dir.path());
    EXPECT_EQ(noModel.status(), Handwriting::Status::Unavailable);
    EXPECT_FALSE(noModel.offered());
    EXPECT_EQ(noModel.problem(), "Tegaki1.model: not found");
    // open() on an unavailable service does nothing, and the stroke-order
    // picture still has its strokes.
    noModel.open();
    EXPECT_EQ(noModel.status(), Handwriting::Status::Unavailable);
    EXPECT_EQ(noModel.reference(test::kanjiNumber("十")).size(), 2);
    EXPECT_TRUE(noModel.candidates(inkFromReference(noModel.reference(1)), 1).isEmpty());

    QTemporaryDir empty;
    ASSERT_TRUE(QFile::copy(shippedModel(), QDir(empty.path()).filePath(HandwritingModelFile)));
    ZinniaHandwriting noStrokes(test::shippedCatalogue(), empty.path());
    EXPECT_EQ(noStrokes.status(), Handwriting::Status::Unavailable);
    EXPECT_EQ(noStrokes.problem(), "Kakijun1.dat: not found");
    EXPECT_TRUE(noStrokes.reference(1).isEmpty());
}

// zinnia checks only a model's header; every one of these damaged models
// would take the program down when the square opened. They are found before
// zinnia reads them: the square is not offered, and the reason names the file.
TEST_F(Service, ADamagedModelIsFoundBeforeZinniaReadsItAndTheSquareIsNotOffered)
{
    const QByteArray good = shippedModelBytes();
    ASSERT_GT(good.size(), 100000);
    // The size in the header as zinnia checks it, so that only our own check stands between.
    const auto withSize = [](QByteArray b) {
        const quint32 magic = 0x0ef71821u ^ quint32(b.size());
        for (int i = 0; i < 4; ++i)
            b[i] = char(magic >> (8 * i));
        return b;
    };
    const auto at = [](QByteArray b, qsizetype offset, quint32 v) {
        for (int i = 0; i < 4; ++i)
            b[offset + i] = char(v >> (8 * i));
        return b;
    };
    // The first character's end mark: the first (-1, 0) pair after its 16 + 4 bytes.
    const qsizetype firstEnd = good.indexOf(QByteArray("\xff\xff\xff\xff\0\0\0\0", 8), 12 + 20);
    ASSERT_GT(firstEnd, 0);
    QByteArray zeroedTail = good;
    std::fill(zeroedTail.begin() + good.size() * 3 / 5, zeroedTail.end(), '\0');
    const struct {
        const char *name;
        QByteArray bytes;
        const char *why;
    } rows[] = {
        {"empty", QByteArray(), "too short"},
        {"text", QByteArray("zinnia model\n").repeated(10), "not a handwriting model, or not whole"},
        {"truncated", good.left(good.size() - 1000), "not a handwriting model, or not whole"},
        {"truncated, header mended", withSize(good.left(good.size() - 1000)), "no end mark before the end"},
        {"last 40 % zeroed", zeroedTail, "has its features out of order"},
        {"an end mark changed", at(good, firstEnd, 0x7fffffffu), "out of order"},
        {"more characters claimed", at(good, 8, 241), "runs past the end of the file"},
        {"a billion characters claimed", at(good, 8, 1000000000u), "more than its"},
        {"bytes after the last", withSize(good + QByteArray(8, '\1')), "8 bytes follow the last character"},
        {"another version", at(good, 4, 2), "version 2"},
    };
    copyShippedStrokes();
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString model = file(HandwritingModelFile, row.bytes);
        QString error;
        EXPECT_EQ(openZinniaModel(model, &error), nullptr);
        EXPECT_TRUE(error.startsWith("Tegaki1.model: ")) << error.toStdString();
        EXPECT_TRUE(error.contains(row.why)) << error.toStdString();

        ZinniaHandwriting hw(test::shippedCatalogue(), dir.path());
        EXPECT_FALSE(hw.offered());
        EXPECT_EQ(hw.status(), Handwriting::Status::Unavailable);
        EXPECT_EQ(hw.problem(), error);
        EXPECT_EQ(handwritingFilesProblems(dir.path(), test::shippedCatalogue()), QStringList{error});
        hw.open();
        EXPECT_EQ(hw.status(), Handwriting::Status::Unavailable);
    }
    // Guard: the undamaged model passes the same check, or the rows above prove nothing.
    file(HandwritingModelFile, good);
    EXPECT_TRUE(handwritingFilesProblems(dir.path(), test::shippedCatalogue()).isEmpty());

    // A model that is there but cannot be read is not "not found".
    const QString model = QDir(dir.path()).filePath(HandwritingModelFile);
    QFile::remove(model);
    ASSERT_TRUE(QDir(dir.path()).mkdir(HandwritingModelFile));
    const QStringList problems = handwritingFilesProblems(dir.path(), test::shippedCatalogue());
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems.first(), "Tegaki1.model: is not a regular file");
}

TEST_F(Service, TheRealModelOpensInTheBackgroundAndWithstandsScribblesAndDamage)
{
    if (!QFileInfo::exists(shippedModel()))
        GTEST_SKIP() << "tegaki-zinnia-japanese is not installed: no Tegaki1.model was built";
    copyShippedStrokes();
    copyShippedModel();
    ZinniaHandwriting hw(test::shippedCatalogue(), dir.path());
    EXPECT_EQ(settled(hw), Handwriting::Status::Ready) << hw.problem().toStdString();
    const int ten = test::kanjiNumber("十");
    const QVector<int> found = hw.candidates(inkFromReference(hw.reference(ten)), 20);
    ASSERT_FALSE(found.isEmpty());
    EXPECT_EQ(found.first(), ten);
    hw.open(); // already open: nothing more happens
    EXPECT_EQ(hw.status(), Handwriting::Status::Ready);
    // A pen held down a long while, back and forth across the square, then
    // hundreds of taps: candidates all the same, in bounded time and memory.
    InkStroke held;
    for (int i = 0; i < 50000; ++i)
        held.push_back(QPointF(20 + (i % 400 < 200 ? i % 200 : 200 - i % 200), 30 + i / 250.0));
    Ink scribble{held};
    for (int i = 0; i < 500; ++i)
        scribble.push_back({QPointF(i % 256, (i * 7) % 256)});
    EXPECT_EQ(hw.candidates(scribble, 12).size(), HandwritingCandidateMax);

    {
        // Closed while still opening: the destructor waits, the posted call goes with it.
        ZinniaHandwriting closed(test::shippedCatalogue(), dir.path());
        closed.open();
    }
    QCoreApplication::processEvents();
    ZinniaHandwriting waited(test::shippedCatalogue(), dir.path());
    QSignalSpy changed(&waited, &Handwriting::statusChanged);
    waited.open();
    waited.waitOpened();
    EXPECT_EQ(waited.status(), Handwriting::Status::Ready);
    QCoreApplication::processEvents();
    EXPECT_EQ(changed.count(), 1);

    file("Kakijun1.dat", "KKJN");
    ZinniaHandwriting damaged(test::shippedCatalogue(), dir.path());
    EXPECT_EQ(damaged.status(), Handwriting::Status::Unavailable);
    EXPECT_TRUE(damaged.problem().startsWith("Kakijun1.dat: ")) << damaged.problem().toStdString();
    EXPECT_TRUE(damaged.reference(ten).isEmpty());

    // A stroke file made for another catalogue would give wrong advice.
    file("Kakijun1.dat", ReferenceStrokes::toBytes({{1, {{QPointF(25, 126), QPointF(226, 116)}}}}));
    ZinniaHandwriting another(test::shippedCatalogue(), dir.path());
    EXPECT_TRUE(another.reference(1).isEmpty());
    EXPECT_EQ(another.status(), Handwriting::Status::Unavailable);
    EXPECT_EQ(another.problem(), "Kakijun1.dat: kanji 2 has no strokes");
}

// The taught kanji's model is the full model's own weights: each taught
// kanji scores exactly as it does among all 6,420 characters.
TEST_F(Service, TheTaughtKanjisModelScoresEachKanjiAsTheFullModelDoes)
{
    const QString full = findHandwritingModel();
    if (full.isEmpty() || !QFileInfo::exists(shippedModel()))
        GTEST_SKIP() << "tegaki-zinnia-japanese is not installed";
    QString error;
    const std::unique_ptr<Recognizer> all = openZinniaModel(full, &error);
    ASSERT_NE(all, nullptr) << error.toStdString();
    const std::unique_ptr<Recognizer> taught = openZinniaModel(shippedModel(), &error);
    ASSERT_NE(taught, nullptr) << error.toStdString();
    const ReferenceStrokes *strokes = test::shippedStrokes();
    ASSERT_NE(strokes, nullptr);
    for (const int k : {1, 17, 60, 133, 240}) {
        const Ink ink = inkFromReference(strokes->of(k));
        QHash<QString, double> scoreInFull;
        for (const RecognizerGuess &g : all->classify(ink, 7000))
            scoreInFull.insert(g.glyph, g.score);
        const QVector<RecognizerGuess> mine = taught->classify(ink, 7000);
        ASSERT_EQ(mine.size(), KanjiCount) << "kanji " << k;
        for (const RecognizerGuess &g : mine) {
            ASSERT_TRUE(scoreInFull.contains(g.glyph)) << g.glyph.toStdString();
            EXPECT_FLOAT_EQ(float(g.score), float(scoreInFull.value(g.glyph))) << g.glyph.toStdString();
        }
    }
}
