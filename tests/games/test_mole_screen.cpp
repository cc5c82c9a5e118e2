// The whack-a-mole screen on the offscreen platform: whole games driven tick
// by tick, the counters and bars, the result, the score board and the roster
// on disk, abandoning, and sound devices that fail.
#include "data/cp932.h"
#include "data/gamescore.h"
#include "data/roster.h"
#include "games/game2.h"
#include "games/gkiroku.h"
#include "support/modalwatcher.h"
#include "support/testshell.h"
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::FakeDialogs;
using fm::test::ModalWatcher;
using fm::test::TestShell;

namespace
{

QByteArray sj(const QString &text)
{
    return cp932::fromUnicode(text);
}

// Stands for the mode screen the game is opened from and goes back to.
class ModeStandIn : public ScreenFrame
{
  public:
    explicit ModeStandIn(Services &sv) : ScreenFrame(sv, FrameSpec{4, 34, QStringLiteral("モード")}) {}
};

struct MoleWorld {
    explicit MoleWorld(int game2Level = 2, int level = 5)
    {
        t.shell.MidiDeviceCount = 1;
        writePicture(QStringLiteral("Mogura.bmp"), QColor(120, 70, 20));
        writePicture(QStringLiteral("Atari.bmp"), Qt::red);
        writeQuestions();
        const QString glyphs = QStringLiteral("一右雨円王音下火花貝学気九休玉金空月犬見");
        for (int k = 1; k <= 240; ++k)
            t.state.Cat.KanjiTable[size_t(k)].Glyph = sj(glyphs.mid((k - 1) % 20, 1));
        const int n = addPlayer(t.state.Players, sj(QStringLiteral("はなこ")));
        PlayerEntry &e = t.state.Players.PlayerTable[n];
        e.Level = int16_t(level);
        e.Game2Level = int16_t(game2Level);
        t.state.CurrentPlayer = int16_t(n);
        t.state.CurrentLevel = e.Level;
        t.state.Game2Level = e.Game2Level;
        mode = t.nav.open<ModeStandIn>();
        screen = t.nav.open<TF_Game2>();
    }

    void writePicture(const QString &name, const QColor &inside)
    {
        QImage p(64, 64, QImage::Format_RGB32);
        p.fill(Qt::black);
        QPainter painter(&p);
        painter.setPen(Qt::NoPen);
        painter.setBrush(inside);
        painter.drawEllipse(QRect(4, 12, 56, 48));
        painter.end();
        ASSERT_TRUE(p.save(t.file(name), "BMP"));
    }

    // One sentence a kanji: "<k>ばんの" + "もじ" (the target) + "です".
    void writeQuestions()
    {
        QVector<QuestionIndexEntry> index;
        QByteArray sentences;
        for (int k = 1; k <= 240; ++k) {
            index << QuestionIndexEntry{0, int16_t(k), 1};
            QuestionRecord r;
            r.TargetSegment = 2;
            r.Segments = {QByteArray(), sj(QStringLiteral("%1ばんの").arg(k)), sj(QStringLiteral("もじ")),
                          sj(QStringLiteral("です"))};
            sentences += encodeQuestionRecord(r);
        }
        QFile index2(t.file(QStringLiteral("Mondai2.dat")));
        ASSERT_TRUE(index2.open(QIODevice::WriteOnly));
        index2.write(encodeQuestionIndex(index));
        index2.close();
        QFile all(t.file(QStringLiteral("Mondai1.dat")));
        ASSERT_TRUE(all.open(QIODevice::WriteOnly));
        all.write(sentences);
        all.close();
        loadQuestionIndex(t.state.Bank, t.state.ProgramDir);
    }

    void start() { QTest::mouseClick(screen->Btn_Start, Qt::LeftButton); }

    // Presses the middle of hole (c, r), low enough to meet a mole in any phase.
    void press(int c, int r)
    {
        QTest::mouseClick(screen->Img1, Qt::LeftButton, {}, QPoint((c - 1) * 72 + 40, (r - 1) * 72 + 62));
    }

    // Ticks until the game is over, hitting each target mole as it comes up
    // until `hits` were hit; with `missDecoys` every decoy is pressed too.
    // Checks the counters and bars on every tick.
    void playToEnd(int hits, bool missDecoys = false)
    {
        ModalWatcher watcher([this](QWidget *w) {
            if (auto *board = qobject_cast<TF_Game_Kiroku *>(w))
                boards.push_back(
                    {board->game(), board->board().rows.value(board->board().rank - 1).record.Score});
        });
        QPointer<TF_Game2> s = screen;
        for (int tick = 0; tick < 5000 && s && s->running(); ++tick) {
            s->Timer1Timer();
            if (!s || !s->running())
                break;
            const mole::MoleGame &g = s->game;
            EXPECT_EQ(s->Lbl_Shutsudai_Seikai->text().toInt(), g.TargetsShown);
            EXPECT_EQ(s->Shap_Shutsudai_sumi->width(), 3 * g.TargetsShown);
            for (int c = 1; c <= 5; ++c)
                for (int r = 1; r <= 5; ++r) {
                    const mole::Hole &h = g.hole(c, r);
                    if (h.Phase == 0)
                        continue;
                    if (g.isTarget(h) && g.HitCount < hits) {
                        press(c, r);
                        EXPECT_EQ(s->Lbl_Seikai->text().toInt(), g.HitCount);
                        EXPECT_EQ(s->Shap_Seikai_Sumi->width(), 3 * g.HitCount);
                        ++pressedHits;
                    } else if (!g.isTarget(h) && missDecoys && h.Phase == 3) {
                        press(c, r);
                        ++pressedDecoys;
                    }
                }
        }
        ASSERT_TRUE(s.isNull() || !s->running()) << "the game ended";
        t.processDeletes();
    }

    QVector<GameScoreRecord> board() const { return readBoard(t.state.ProgramDir, 2); }
    bool rosterOnDisk() const { return QFile::exists(t.file(QStringLiteral("Player1.dat"))); }
    int levelOnDisk() const
    {
        Roster r;
        loadRoster(r, t.state.ProgramDir);
        return r.PlayerTable[1].Game2Level;
    }
    int count(const QString &entry) const { return int(t.sound.log.count(entry)); }

    TestShell t;
    ModeStandIn *mode;
    TF_Game2 *screen;
    std::vector<std::pair<int, int>> boards; // game and new score of every board opened
    int pressedHits = 0;
    int pressedDecoys = 0;
};

} // namespace

TEST(MoleScreen, AWholeGameWonRaisesTheLevelOnDiskAndEntersTheBoard)
{
    MoleWorld w(2, 5);
    TF_Game2 *s = w.screen;
    EXPECT_TRUE(w.t.state.ScreenOpenFlags.Game2Open);
    EXPECT_EQ(s->TBar_Speed->value(), 7);
    EXPECT_FALSE(s->Shap_Shutsudai->isVisible());

    w.start();
    // Running: speed locked, header hidden, the stage's sentence in the header's row.
    EXPECT_TRUE(s->running());
    EXPECT_EQ(s->Timer1.interval(), 1300);
    EXPECT_FALSE(s->TBar_Speed->isEnabled());
    EXPECT_EQ(s->Btn_Start->text(), QStringLiteral("ゲームおわり"));
    EXPECT_FALSE(s->headerButton(4)->isVisible());
    EXPECT_TRUE(s->Shap_Shutsudai->isVisible());
    const int asked = s->game.stageKanji();
    EXPECT_GE(asked, 41);
    EXPECT_LE(asked, 60);
    EXPECT_EQ(s->SentenceLabels[1]->text(), QStringLiteral("%1ばんの").arg(asked));
    EXPECT_EQ(s->SentenceLabels[2]->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(s->SentenceLabels[2]->x(), s->SentenceLabels[1]->x() + s->SentenceLabels[1]->width());
    EXPECT_TRUE(w.t.sound.playerFor(QStringLiteral("Mogu.mid"))->playing);

    w.playToEnd(50);
    EXPECT_EQ(w.pressedHits, 50);
    // The result, the level raised and written at once, the board with all 50 hits.
    EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("おめでとう！ ごうかくです")});
    EXPECT_EQ(w.t.state.Game2Level, 3);
    EXPECT_EQ(w.t.state.Players.PlayerTable[1].Game2Level, 3);
    EXPECT_EQ(w.levelOnDisk(), 3);
    ASSERT_EQ(w.boards.size(), 1u);
    EXPECT_EQ(w.boards[0], std::make_pair(2, 50));
    ASSERT_EQ(w.board().size(), 1);
    EXPECT_EQ(w.board()[0].Score, 50);
    EXPECT_EQ(w.board()[0].Name, sj(QStringLiteral("はなこ")));
    // Hit sounds stop the miss sound and start again from the beginning.
    EXPECT_EQ(w.count(QStringLiteral("wave1 rewind")), 50);
    EXPECT_EQ(w.count(QStringLiteral("wave1 play")), 50);
    EXPECT_EQ(w.count(QStringLiteral("wave2 stop")), 50);
    // Back on the mode screen; the music is off and the game screen is gone.
    EXPECT_EQ(w.t.nav.current(), w.mode);
    EXPECT_EQ(w.t.nav.find<TF_Game2>(), nullptr);
    EXPECT_FALSE(w.t.state.ScreenOpenFlags.Game2Open);
    EXPECT_EQ(w.t.sound.playerFor(QStringLiteral("Mogu.mid")), nullptr);
}

TEST(MoleScreen, ThirtySixHitsPassAndThirtyFiveFail)
{
    for (int hits : {36, 35}) {
        MoleWorld w(2, 5);
        w.start();
        w.playToEnd(hits, true);
        SCOPED_TRACE(hits);
        EXPECT_GT(w.pressedDecoys, 0);
        ASSERT_EQ(w.boards.size(), 1u);
        EXPECT_EQ(w.boards[0].second, hits);
        EXPECT_EQ(w.board()[0].Score, hits);
        // Misses sound and cost nothing.
        EXPECT_EQ(w.count(QStringLiteral("wave2 play")), w.pressedDecoys);
        if (hits == 36) {
            EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("おめでとう！ ごうかくです")});
            EXPECT_EQ(w.levelOnDisk(), 3);
        } else {
            EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("ざんねん！ ふごうかくです")});
            EXPECT_EQ(w.t.state.Game2Level, 2);
            EXPECT_FALSE(w.rosterOnDisk());
        }
    }
}

TEST(MoleScreen, APassAtTheLimitOfTheStudyLevelKeepsTheLevel)
{
    MoleWorld w(4, 5); // 4 is not below 5 - 1
    w.start();
    w.playToEnd(50);
    EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("おめでとう！ ごうかくです")});
    EXPECT_EQ(w.t.state.Game2Level, 4);
    EXPECT_FALSE(w.rosterOnDisk());
    EXPECT_EQ(w.board().size(), 1);
}

TEST(MoleScreen, AbandonedGamesRecordNothing)
{
    // "ゲームおわり" in the middle of a game, after some hits.
    {
        MoleWorld w(2, 5);
        w.start();
        QPointer<TF_Game2> s = w.screen;
        while (s->game.HitCount < 3) {
            s->Timer1Timer();
            for (int c = 1; c <= 5; ++c)
                for (int r = 1; r <= 5; ++r)
                    if (s->game.isTarget(s->game.hole(c, r)))
                        w.press(c, r);
        }
        QTest::mouseClick(s->Btn_Start, Qt::LeftButton);
        w.t.processDeletes();
        EXPECT_TRUE(s.isNull());
        EXPECT_EQ(w.t.nav.current(), w.mode);
        EXPECT_TRUE(w.t.dialogs.calls.empty());
        EXPECT_FALSE(QFile::exists(w.t.file(QStringLiteral("Game2.dat"))));
        EXPECT_FALSE(w.rosterOnDisk());
        EXPECT_EQ(w.t.state.Game2Level, 2);
        EXPECT_FALSE(w.t.state.ScreenOpenFlags.Game2Open);
        EXPECT_EQ(w.t.sound.playerFor(QStringLiteral("Mogu.mid")), nullptr);
        EXPECT_TRUE(w.t.sound.players.empty()) << "the hit and miss players are closed too";
    }
    // The back button before a game: straight back.
    {
        MoleWorld w(2, 5);
        QTest::mouseClick(w.screen->headerButton(4), Qt::LeftButton);
        w.t.processDeletes();
        EXPECT_EQ(w.t.nav.current(), w.mode);
        EXPECT_FALSE(QFile::exists(w.t.file(QStringLiteral("Game2.dat"))));
    }
}

TEST(MoleScreen, SpeedAndPressesOutsideAGame)
{
    MoleWorld w;
    TF_Game2 *s = w.screen;
    // Presses before the start do nothing.
    w.press(3, 3);
    EXPECT_TRUE(w.t.sound.log.filter(QStringLiteral(" play")).isEmpty());
    s->TBar_Speed->setValue(15);
    // A double click on the start button does not end the game it starts.
    // (Through the window, as the desktop delivers it: press, release, press,
    // double click, release.)
    const QPoint onButton = s->Btn_Start->mapTo(s->window(), s->Btn_Start->rect().center());
    QTest::mouseDClick(s->window()->windowHandle(), Qt::LeftButton, {}, onButton);
    EXPECT_TRUE(s->running());
    EXPECT_EQ(s->Timer1.interval(), 500);
    QTest::mouseClick(s->Btn_Start, Qt::LeftButton, {}, QPoint(), 600);
    w.t.processDeletes();
    EXPECT_EQ(w.t.nav.current(), w.mode);

    MoleWorld slow;
    slow.screen->TBar_Speed->setValue(0);
    slow.start();
    EXPECT_EQ(slow.screen->Timer1.interval(), 2000);
}

TEST(MoleScreen, FailingSoundDevicesAreReportedOnceAndTheGameGoesOn)
{
    {
        // The hit sound fails on every press: one message, every hit counts.
        MoleWorld w;
        w.t.sound.failures = {QStringLiteral("wave:play")};
        w.start();
        w.playToEnd(50);
        EXPECT_EQ(w.pressedHits, 50);
        const QStringList texts = w.t.dialogs.texts();
        EXPECT_EQ(texts.count(QStringLiteral("WAVEでエラーがおこりました。 ")), 1);
        EXPECT_EQ(w.board()[0].Score, 50);
    }
    {
        // A player that cannot be opened: named once, the later one not prepared.
        MoleWorld w;
        w.t.processDeletes();
        w.t.sound.failures = {QStringLiteral("wave:open")};
        w.t.sound.log.clear();
        auto *again = w.t.nav.open<TF_Game2>();
        EXPECT_EQ(w.t.dialogs.texts(), QStringList{QStringLiteral("Atari.wavでエラーがおこりました。 ")});
        EXPECT_EQ(w.t.sound.log.filter(QStringLiteral("open")).size(), 1);
        again->Btn_StartClick();
        again->Timer1Timer();
        again->Img1MouseDown(40, 62); // no player, no crash, no message
        EXPECT_EQ(w.t.dialogs.calls.size(), 1u);
    }
}
