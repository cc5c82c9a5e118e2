// The handwriting service as the screens meet it: never offered without its
// files, opened off the event loop, failing without a crash or a hang on a
// damaged model or stroke file.
#include "handwriting/handwriting.h"
#include "hwtest.h"
#include <QDir>
#include <QFile>
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

    QTemporaryDir dir;
};

} // namespace

TEST_F(Service, AMissingFileMeansNoWritingSquareAndNamesTheFile)
{
    copyShippedStrokes();
    ZinniaHandwriting noModel(test::shippedCatalogue(), dir.path(), dir.path() + "/handwriting-ja.model");
    EXPECT_EQ(noModel.status(), Handwriting::Status::Unavailable);
    EXPECT_FALSE(noModel.offered());
    EXPECT_TRUE(noModel.problem().startsWith("handwriting-ja.model")) << noModel.problem().toStdString();
    ZinniaHandwriting notInstalled(test::shippedCatalogue(), dir.path(), QString());
    EXPECT_EQ(notInstalled.status(), Handwriting::Status::Unavailable);
    // open() on an unavailable service does nothing, and the stroke-order
    // picture still has its strokes.
    noModel.open();
    EXPECT_EQ(noModel.status(), Handwriting::Status::Unavailable);
    EXPECT_EQ(noModel.reference(test::kanjiNumber("十")).size(), 2);
    EXPECT_TRUE(noModel.candidates(inkFromReference(noModel.reference(1)), 1).isEmpty());

    QTemporaryDir empty;
    const QString model = file("handwriting-ja.model", "x");
    ZinniaHandwriting noStrokes(test::shippedCatalogue(), empty.path(), model);
    EXPECT_EQ(noStrokes.status(), Handwriting::Status::Unavailable);
    EXPECT_EQ(noStrokes.problem(), "Kakijun1.dat: not found");
    EXPECT_TRUE(noStrokes.reference(1).isEmpty());
}

TEST_F(Service, ADamagedModelFailsOnTheEventLoopNamingTheFile)
{
    copyShippedStrokes();
    for (const QByteArray &bytes : {QByteArray(), QByteArray(100, '\x5a'), QByteArray("zinnia model\n")}) {
        const QString model = file("handwriting-ja.model", bytes);
        QString error;
        EXPECT_EQ(openZinniaModel(model, &error), nullptr);
        EXPECT_TRUE(error.startsWith("handwriting-ja.model: ")) << error.toStdString();

        ZinniaHandwriting hw(test::shippedCatalogue(), dir.path(), model);
        EXPECT_EQ(hw.status(), Handwriting::Status::Closed);
        EXPECT_TRUE(hw.offered());
        EXPECT_EQ(settled(hw), Handwriting::Status::Failed);
        EXPECT_FALSE(hw.offered());
        EXPECT_TRUE(hw.problem().startsWith("handwriting-ja.model: ")) << hw.problem().toStdString();
        EXPECT_TRUE(hw.candidates(inkFromReference(hw.reference(1)), 1).isEmpty());
    }
    QString error;
    EXPECT_EQ(openZinniaModel(dir.path(), &error), nullptr) << "a directory";
    EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
}

TEST_F(Service, TheRealModelOpensInTheBackgroundAndWithstandsScribblesAndDamage)
{
    const QString model = findHandwritingModel();
    if (model.isEmpty())
        GTEST_SKIP() << "tegaki-zinnia-japanese is not installed";
    copyShippedStrokes();
    ZinniaHandwriting hw(test::shippedCatalogue(), dir.path(), model);
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
        ZinniaHandwriting closed(test::shippedCatalogue(), dir.path(), model);
        closed.open();
    }
    QCoreApplication::processEvents();
    ZinniaHandwriting waited(test::shippedCatalogue(), dir.path(), model);
    QSignalSpy changed(&waited, &Handwriting::statusChanged);
    waited.open();
    waited.waitOpened();
    EXPECT_EQ(waited.status(), Handwriting::Status::Ready);
    QCoreApplication::processEvents();
    EXPECT_EQ(changed.count(), 1);

    file("Kakijun1.dat", "KKJN");
    ZinniaHandwriting damaged(test::shippedCatalogue(), dir.path(), model);
    EXPECT_EQ(settled(damaged), Handwriting::Status::Failed);
    EXPECT_TRUE(damaged.problem().startsWith("Kakijun1.dat: ")) << damaged.problem().toStdString();
    EXPECT_TRUE(damaged.reference(ten).isEmpty());

    // A stroke file made for another catalogue would give wrong advice.
    file("Kakijun1.dat", ReferenceStrokes::toBytes({{1, {{QPointF(25, 126), QPointF(226, 116)}}}}));
    ZinniaHandwriting another(test::shippedCatalogue(), dir.path(), model);
    EXPECT_TRUE(another.reference(1).isEmpty());
    EXPECT_EQ(settled(another), Handwriting::Status::Failed);
    EXPECT_EQ(another.problem(), "Kakijun1.dat: kanji 2 has no strokes");
}
