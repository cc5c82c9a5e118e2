// The grading screen on the offscreen platform: paced marking with sounds,
// the points, and the three finishes with the result window and the review.
#include "data/cp932.h"
#include "data/studylog.h"
#include "shell/look.h"
#include "study/levelup.h"
#include "study/saiten.h"
#include "support/find.h"
#include "support/modalwatcher.h"
#include "support/testshell.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTableWidget>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::child;
using fm::test::TestShell;

namespace
{

QByteArray sj(const char *utf8)
{
    return cp932::fromUnicode(QString::fromUtf8(utf8));
}

// A small placeable metafile of our own, so the tests need no generated files.
QByteArray tinyWmf()
{
    QByteArray b;
    auto u16 = [&b](int v) {
        b.append(char(v & 0xff));
        b.append(char((v >> 8) & 0xff));
    };
    auto u32 = [&](int v) {
        u16(v & 0xffff);
        u16((v >> 16) & 0xffff);
    };
    u32(int(0x9AC6CDD7u));
    u16(0);
    u16(0), u16(0), u16(100), u16(100);
    u16(1440);
    u32(0);
    int sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= uint8_t(b[i]) | (uint8_t(b[i + 1]) << 8);
    u16(sum);
    u16(1), u16(9), u16(0x0300), u32(9 + 3 * 7 + 3), u16(0), u32(7), u16(0);
    // Three nested rectangles (bottom, right, top, left): libuemf wants more
    // bytes after the header than a single record gives.
    for (int i = 0; i < 3; ++i)
        u32(7), u16(0x041B), u16(90 - 10 * i), u16(90 - 10 * i), u16(10 + 10 * i), u16(10 + 10 * i);
    u32(3), u16(0); // end of file
    return b;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class FakeTestScreen : public ScreenFrame
{
  public:
    explicit FakeTestScreen(Services &sv) : ScreenFrame(sv, ScreenId::Shutsudai, FrameLayout{27}) {}
    int shows = 0, closes = 0;
    bool reviewAtLastShow = false;
    void FormShow() override
    {
        ++shows;
        reviewAtLastShow = state.ReviewMode;
    }
    void FormClose() override { ++closes; }
};

class FakeModeScreen : public ScreenFrame
{
  public:
    explicit FakeModeScreen(Services &sv) : ScreenFrame(sv, ScreenId::Mode)
    {
        levelAtCreation = state.currentEntry().Level;
        kindAtCreation = fileValue(state.currentEntry().Kind);
        countAtCreation = state.LevelCorrectCount;
    }
    int levelAtCreation, kindAtCreation, countAtCreation;
};

using fm::test::ModalWatcher;

struct Grading {
    TestShell t;
    FakeModeScreen *mode = nullptr;
    FakeTestScreen *test = nullptr;
    TF_Saiten *saiten = nullptr;

    Grading()
    {
        t.screens.add(ScreenId::Mode, [](Services &sv) { return new FakeModeScreen(sv); });
        t.state.Players.PlayerCount = 1;
        t.state.Players.PlayerTable[1].Name = sj("たろう");
        t.state.Players.PlayerTable[1].Level = 2;
        t.state.Players.PlayerTable[1].Kind = fm::StudyKind::Reading;
        t.state.CurrentPlayer = 1;
        t.state.CurrentLevel = 2;
        t.state.CurrentKind = fm::StudyKind::Reading;
        t.state.ChallengeMode = true;
        for (const char *name : {"Present1.wmf", "Present2.wmf", "Present3.wmf"})
            writeFile(t.file(QString::fromLatin1(name)), tinyWmf());
        t.shell.MaruBatsu.open(t.sound, t.state.ProgramDir);
    }

    // Ten questions of level 2; the first `right` of them answered right.
    void answer(int right)
    {
        for (int n = 1; n <= 10; ++n) {
            QuestionSlot &q = t.state.QuestionSlots[n];
            q.Kanji = int16_t(20 + n);
            q.ShownSegments = {QByteArray(), sj("きょうは"), sj("雨"), sj("がふる。")};
            q.CorrectAnswer = sj("あめ");
            q.PlayerAnswer = n <= right ? sj("あめ") : sj("あま");
            q.Correct = 0;
        }
    }

    void open()
    {
        mode = t.nav.open<FakeModeScreen>();
        test = t.nav.open<FakeTestScreen>();
        saiten = t.nav.open<TF_Saiten>(test);
    }

    // The grading screen's controls, by their object names.
    template <typename T> T *ctl(const char *name) const { return child<T>(saiten, name); }
    // One step of the marking, as its timer gives it.
    void tick() const { fm::test::tick(saiten, "Tim_Saiten"); }

    void markAll()
    {
        for (int i = 0; i < 10; ++i)
            tick();
    }

    QVector<StudyRecord> log() const
    {
        QFile f(t.file(QStringLiteral("Kiroku1.dat")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return decodeLog(f.readAll()).records;
    }

    int visibleScreens() const
    {
        int n = 0;
        for (Screen *s : t.nav.screens())
            n += s->isVisible();
        return n;
    }
};

struct SeenResult {
    QString message, levelMessage, picture;
    bool reviewMode = false;
    int testShows = 0;
};

SeenResult readResult(QWidget *w, const Grading &g)
{
    SeenResult r;
    auto *d = dynamic_cast<TF_Level_Up *>(w);
    if (!d)
        return r;
    r.message = child<QLabel>(d, "Lbl_Goukaku_Msg1")->text().remove(QLatin1Char('\n')); // as one line
    r.levelMessage = child<QLabel>(d, "Lbl_Level_Msg1")->text().remove(QLatin1Char('\n'));
    r.picture = d->pictureFile();
    r.reviewMode = g.t.state.ReviewMode;
    r.testShows = g.test ? g.test->shows : -1;
    return r;
}

} // namespace

TEST(GradingScreen, MarksOneRowPerTickWithItsSound)
{
    Grading g;
    g.answer(1);
    g.open();
    EXPECT_EQ(g.t.state.TestScore, 0);
    EXPECT_EQ(g.saiten->gradingRow(), 0);
    EXPECT_TRUE(g.ctl<QTimer>("Tim_Saiten")->isActive());
    EXPECT_EQ(g.ctl<QTimer>("Tim_Saiten")->interval(), 1500);
    EXPECT_EQ(g.saiten->findChild<HeaderButton *>(QStringLiteral("Img_Button1")), nullptr);
    EXPECT_EQ(g.t.state.HintContext, (HintCtx{9, HintSituation::Screen, StudyKind::Reading}));
    QTableWidget *grid = g.ctl<QTableWidget>("Grd_Saiten");
    EXPECT_EQ(grid->rowCount(), 11);
    EXPECT_EQ(grid->columnCount(), 5);
    EXPECT_EQ(grid->item(0, 2)->text(), QStringLiteral("あなたのこたえ"));
    EXPECT_TRUE(grid->item(1, 0)->text().isEmpty());

    g.t.sound.log.clear();
    g.tick();
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("1"));
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("きょうは雨がふる。"));
    EXPECT_EQ(grid->item(1, 2)->text(), QStringLiteral("あめ"));
    EXPECT_EQ(grid->item(1, 3)->text(), QStringLiteral("あめ"));
    EXPECT_EQ(grid->item(1, 4)->text(), QStringLiteral("○"));
    EXPECT_EQ(g.ctl<QLabel>("Lbl_Tokuten")->text(), QStringLiteral("10てん"));
    EXPECT_EQ(g.t.sound.log, (QStringList{"wave2 stop", "wave1 rewind", "wave1 play"}));
    EXPECT_TRUE(grid->item(2, 0)->text().isEmpty()); // one row per tick

    g.t.sound.log.clear();
    g.tick();
    EXPECT_EQ(grid->item(2, 2)->text(), QStringLiteral("あま"));
    EXPECT_EQ(grid->item(2, 4)->text(), QStringLiteral("×"));
    EXPECT_EQ(g.t.sound.log, (QStringList{"wave1 stop", "wave2 rewind", "wave2 play"}));
    EXPECT_EQ(g.t.state.QuestionSlots[2].Correct, 0);
    EXPECT_EQ(g.t.state.TestScore, 1);
}

TEST(GradingScreen, PointsTurnRedAtTheSeventhRightRow)
{
    Grading g;
    g.answer(7);
    g.open();
    const QColor red = colour::Red;
    for (int row = 1; row <= 7; ++row) {
        g.tick();
        const QColor now = g.ctl<QLabel>("Lbl_Tokuten")->palette().color(QPalette::WindowText);
        EXPECT_EQ(now == red, row == 7) << row;
    }
    EXPECT_EQ(g.ctl<QLabel>("Lbl_Tokuten")->text(), QStringLiteral("70てん"));
    ModalWatcher w;
    for (int i = 0; i < 4; ++i)
        g.tick();
    EXPECT_EQ(g.ctl<QLabel>("Lbl_Tokuten")->text(), QStringLiteral("70てん")); // wrong rows add nothing
}

TEST(GradingScreen, NoRightAnswerLeavesThePointsEmpty)
{
    Grading g;
    g.answer(0);
    g.t.state.QuestionSlots[4].PlayerAnswer.clear(); // an unanswered question is wrong too
    g.open();
    ModalWatcher w;
    g.markAll();
    EXPECT_TRUE(g.ctl<QLabel>("Lbl_Tokuten")->text().isEmpty());
    EXPECT_EQ(g.t.state.TestScore, 0);
}

TEST(GradingScreen, TenRightRecordsAPassAndEndsOnAFreshModeScreen)
{
    Grading g;
    g.answer(10);
    g.open();
    QPointer<FakeModeScreen> oldMode = g.mode;
    QPointer<FakeTestScreen> test = g.test;
    QPointer<TF_Saiten> saiten = g.saiten;
    SeenResult seen;
    int recordsWhenResultShown = -1;
    ModalWatcher w([&](QWidget *d) {
        seen = readResult(d, g);
        recordsWhenResultShown = int(g.log().size());
        EXPECT_TRUE(saiten->isVisible()); // the grading stays behind the result
        EXPECT_EQ(g.visibleScreens(), 1);
    });
    g.markAll();
    EXPECT_TRUE(child<QTimer>(saiten, "Tim_Saiten")->isActive());
    g.tick(); // the finish comes one tick after the tenth row
    EXPECT_FALSE(child<QTimer>(saiten, "Tim_Saiten")->isActive());

    EXPECT_EQ(w.seen, 1);
    EXPECT_EQ(seen.message, QStringLiteral("やったね！ １００てん、おめでとう！"));
    EXPECT_EQ(seen.picture, QStringLiteral("Present1.wmf"));
    EXPECT_EQ(recordsWhenResultShown, 1);
    const auto records = g.log();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].Counted, 1);
    EXPECT_EQ(records[0].Mode, StudyMode::Challenge);
    EXPECT_EQ(records[0].rightCount(), 10);
    EXPECT_EQ(g.t.state.LevelCorrectCount, 10);
    EXPECT_FALSE(g.t.state.ReviewMode);

    TestShell::processDeletes();
    EXPECT_TRUE(test.isNull());
    EXPECT_TRUE(saiten.isNull());
    EXPECT_TRUE(oldMode.isNull());
    auto *fresh = dynamic_cast<FakeModeScreen *>(g.t.nav.current());
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(fresh->countAtCreation, 10); // built after the record
    EXPECT_EQ(g.t.nav.screens().size(), 1u);
    EXPECT_EQ(g.t.state.HintContext, (HintCtx{4, HintSituation::Screen, StudyKind::Reading}));
}

TEST(GradingScreen, EightRightGoesToTheReviewFirstAndRecordsNothing)
{
    Grading g;
    g.answer(8);
    g.open();
    QPointer<TF_Saiten> saiten = g.saiten;
    ModalWatcher w;
    g.markAll();
    g.t.sound.log.clear();
    g.tick();

    EXPECT_EQ(w.seen, 0);
    EXPECT_TRUE(g.log().isEmpty());
    EXPECT_FALSE(QFile::exists(g.t.file(QStringLiteral("Kiroku1.dat"))));
    EXPECT_EQ(g.t.state.LevelCorrectCount, 0);
    EXPECT_TRUE(g.t.state.ReviewMode);
    EXPECT_EQ(g.t.sound.log, (QStringList{"wave1 stop", "wave2 stop"})); // both silenced
    EXPECT_EQ(g.t.nav.current(), g.test);
    EXPECT_EQ(g.test->shows, 2);
    EXPECT_TRUE(g.test->reviewAtLastShow);
    EXPECT_EQ(g.test->closes, 0);
    EXPECT_EQ(g.t.state.QuestionSlots[9].Correct, 0);
    EXPECT_EQ(g.t.state.QuestionSlots[8].Correct, 1);
    EXPECT_EQ(g.t.state.TestScore, 8);
    TestShell::processDeletes();
    EXPECT_TRUE(saiten.isNull());
    EXPECT_EQ(g.visibleScreens(), 1);
}

TEST(GradingScreen, FourRightRecordsAFailShowsTheResultThenTheReview)
{
    Grading g;
    g.answer(4);
    g.open();
    SeenResult seen;
    ModalWatcher w([&](QWidget *d) { seen = readResult(d, g); });
    g.markAll();
    g.tick();

    ASSERT_EQ(w.seen, 1);
    EXPECT_EQ(seen.message,
              QStringLiteral("ざんねんだったね。またがんばろうね。ふくしゅうもちゃんとやろうね。"));
    EXPECT_TRUE(seen.picture.isEmpty());
    EXPECT_FALSE(seen.reviewMode); // the review comes after the result
    EXPECT_EQ(seen.testShows, 1);
    const auto records = g.log();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].Counted, 0);
    EXPECT_EQ(records[0].rightCount(), 4);
    EXPECT_EQ(g.t.state.LevelCorrectCount, 0); // a failed test counts nothing toward the level
    EXPECT_EQ(g.t.state.Progress[21][1].CorrectCount, 1);
    EXPECT_TRUE(g.t.state.ReviewMode);
    EXPECT_EQ(g.t.nav.current(), g.test);
    EXPECT_TRUE(g.test->reviewAtLastShow);
}

TEST(GradingScreen, FortyRightAnswersRaiseTheLevel)
{
    Grading g;
    QStringList levelMessages;
    QStringList pictures;
    for (int test = 1; test <= 4; ++test) {
        g.answer(10);
        g.open();
        ModalWatcher w([&](QWidget *d) {
            const SeenResult r = readResult(d, g);
            levelMessages << r.levelMessage;
            pictures << r.picture;
        });
        g.markAll();
        g.tick();
        TestShell::processDeletes();
        // The next test starts from the fresh mode screen, as a child's would.
        g.t.nav.close(g.t.nav.current(), false);
        TestShell::processDeletes();
    }
    EXPECT_EQ(levelMessages, (QStringList{"", "", "", "やったね。これでレベルがあがったよ。"}));
    EXPECT_EQ(pictures.last(), QStringLiteral("Present2.wmf"));
    EXPECT_EQ(g.t.state.Players.PlayerTable[1].Level, 2);
    EXPECT_EQ(g.t.state.Players.PlayerTable[1].Kind, fm::StudyKind::Writing); // reading passed: writing next
    EXPECT_EQ(g.t.state.LevelCorrectCount, 0);
    EXPECT_EQ(g.log().size(), 4);
}

TEST(GradingScreen, PracticeChangesNoProgress)
{
    Grading g;
    g.t.state.ChallengeMode = false;
    g.t.state.LevelCorrectCount = 12;
    g.answer(10);
    g.open();
    SeenResult seen;
    ModalWatcher w([&](QWidget *d) { seen = readResult(d, g); });
    g.markAll();
    g.tick();
    EXPECT_EQ(seen.levelMessage, QStringLiteral("こんどは、チャレンジモードでがんばろうね。"));
    const auto records = g.log();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].Mode, StudyMode::Practice);
    EXPECT_EQ(g.t.state.LevelCorrectCount, 12);
    EXPECT_FALSE(g.t.state.LevelUpFlag);
    for (int k = 21; k <= 30; ++k)
        EXPECT_EQ(g.t.state.Progress[k][1].AskedCount, 0) << k;
    EXPECT_EQ(g.t.state.Players.PlayerTable[1].Level, 2);
    EXPECT_EQ(g.t.state.Players.PlayerTable[1].Kind, fm::StudyKind::Reading);
}

TEST(GradingScreen, AnUnwritableLogEndsTheProgramWithItsName)
{
    Grading g;
    QDir(g.t.state.ProgramDir).mkdir(QStringLiteral("Kiroku1.dat")); // a folder in the log's place
    g.answer(10);
    g.open();
    ModalWatcher w;
    g.markAll();
    g.tick();
    EXPECT_EQ(w.seen, 0); // no result window after a failed record
    EXPECT_TRUE(g.t.nav.quitRequested());
    ASSERT_EQ(g.t.dialogs.count(test::FakeDialogs::Kind::Fatal), 1);
    EXPECT_EQ(g.t.dialogs.calls.back().text, QStringLiteral("Kiroku1.datでエラーがおこりました。 "));
}
