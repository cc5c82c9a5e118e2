#pragma once
// The whack-a-mole screen's test world: a player, the pictures and one
// sentence a kanji in a temporary program directory, and the game screen
// opened from the mode screen.
#include "data/cp932.h"
#include "data/gamescore.h"
#include "data/roster.h"
#include "games/game2.h"
#include "games/gkiroku.h"
#include "games/register.h"
#include "records/mode.h"
#include "records/register.h"
#include "support/find.h"
#include "support/modalwatcher.h"
#include "support/testshell.h"
#include <QFile>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace moletest
{

using namespace fm;
using fm::test::ModalWatcher;
using fm::test::TestShell;

inline QByteArray sj(const QString &text)
{
    return cp932::fromUnicode(text);
}

struct MoleWorld {
    // With programFiles the pictures, kanji and sentences the build made are
    // used (when it has made them) instead of small generated ones.
    explicit MoleWorld(int game2Level = 2, int level = 5, bool programFiles = false)
    {
        t.shell.MidiDeviceCount = 1;
        if (!programFiles || !copyProgramFiles()) {
            t.pictures.bitmaps[QStringLiteral("Mogura.bmp")] = picture(QColor(120, 70, 20));
            t.pictures.bitmaps[QStringLiteral("Atari.bmp")] = picture(Qt::red);
            writeQuestions();
            for (int k = 1; k <= 240; ++k)
                t.state.Cat.KanjiTable[size_t(k)].Glyph =
                    sj(QStringLiteral("一右雨円王音下火花貝").mid(k % 10, 1));
        }
        const int n = addPlayer(t.state.Players, sj(QStringLiteral("はなこ")));
        t.state.Players.PlayerTable[n].Level = int16_t(level);
        t.state.Players.PlayerTable[n].Game2Level = int16_t(game2Level);
        t.state.CurrentPlayer = int16_t(n);
        t.state.CurrentLevel = int16_t(level);
        t.state.Game2Level = int16_t(game2Level);
        QImage stars(68, 34, QImage::Format_RGB32); // a filled and an empty "star" on white
        stars.fill(Qt::white);
        QPainter(&stars).fillRect(3, 3, 28, 28, Qt::yellow);
        stars.save(t.file(QStringLiteral("Stars.bmp")), "BMP");
        registerRecordScreens(t.screens);
        registerGameScreens(t.screens);
        mode = static_cast<TF_Mode *>(t.nav.open(ScreenId::Mode));
        QTest::mouseClick(fm::test::child<QLabel>(mode, "Lbl_Game2"), Qt::LeftButton);
        screen = dynamic_cast<TF_Game2 *>(t.nav.current());
    }

    bool copyProgramFiles()
    {
        for (const char *name : {"Mogura.bmp", "Atari.bmp", "Kanji1.dat", "Bushu1.dat", "Mondai1.dat",
                                 "Mondai2.dat", "GlyphStart.bmp", "GlyphBack.bmp"})
            if (!QFile::copy(QStringLiteral(FUDEMARU_BIN_DIR "/") + name, t.file(QLatin1String(name))))
                return false;
        loadCatalogue(t.state.Cat, t.state.ProgramDir);
        loadQuestionIndex(t.state.Bank, t.state.ProgramDir);
        return true;
    }

    static QImage picture(const QColor &inside)
    {
        QImage p(64, 64, QImage::Format_RGB32);
        p.fill(Qt::black);
        QPainter(&p).fillRect(QRect(8, 24, 48, 36), inside);
        return p;
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
        for (const auto &[name, bytes] :
             {std::pair{"Mondai2.dat", encodeQuestionIndex(index)}, std::pair{"Mondai1.dat", sentences}}) {
            QFile f(t.file(QLatin1String(name)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        }
        loadQuestionIndex(t.state.Bank, t.state.ProgramDir);
    }

    // A click on "ゲームはじめ" / "ゲームおわり", a second after anything before it.
    void start()
    {
        t.clock.advanceSeconds(1);
        QTest::mouseClick(fm::test::child<QPushButton>(screen, "Btn_Start"), Qt::LeftButton);
    }

    // Presses the middle of hole (c, r), low enough to meet a mole in any phase.
    void press(int c, int r)
    {
        QTest::mouseClick(fm::test::child<QWidget>(screen, "Img1"), Qt::LeftButton, {},
                          QPoint((c - 1) * 72 + 40, (r - 1) * 72 + 62));
    }

    // Ticks to the end of the game, hitting each target mole as it comes up
    // until `hits` were hit; with `missDecoys` decoys are pressed too. The
    // counters and bars are checked on every tick.
    void playToEnd(int hits, bool missDecoys = false)
    {
        ModalWatcher closesTheBoard;
        QPointer<TF_Game2> s = screen;
        for (int tick = 0; tick < 5000 && s && s->running(); ++tick) {
            fm::test::tick(s, "Timer1");
            if (!s || !s->running())
                break;
            const mole::MoleGame &g = s->game();
            EXPECT_EQ(fm::test::child<QLabel>(s, "Lbl_Shutsudai_Seikai")->text().toInt(), g.TargetsShown);
            EXPECT_EQ(fm::test::child<QLabel>(s, "Shap_Shutsudai_sumi")->width(), 3 * g.TargetsShown);
            for (int c = 1; c <= 5; ++c)
                for (int r = 1; r <= 5; ++r) {
                    const mole::Hole &h = g.hole(c, r);
                    if (g.isTarget(h) && g.HitCount < hits) {
                        press(c, r);
                        EXPECT_EQ(fm::test::child<QLabel>(s, "Lbl_Seikai")->text().toInt(), g.HitCount);
                        EXPECT_EQ(fm::test::child<QLabel>(s, "Shap_Seikai_Sumi")->width(), 3 * g.HitCount);
                    } else if (h.Phase == 3 && !g.isTarget(h) && missDecoys) {
                        press(c, r);
                        ++pressedDecoys;
                        // A miss is seen on its hole, not only heard.
                        EXPECT_EQ(fm::test::child<JudgeMark>(s, "Mark_Miss")->mark(), QStringLiteral("×"));
                        EXPECT_EQ(fm::test::child<JudgeMark>(s, "Mark_Miss")->geometry(),
                                  mole::cellRect(c, r));
                    }
                }
        }
        ASSERT_TRUE(s.isNull() || !s->running()) << "the game ended";
        t.processDeletes();
    }

    QVector<GameScoreRecord> board() const { return readBoard(t.state.ProgramDir, GameId::WhackAMole); }
    bool rosterOnDisk() const { return QFile::exists(t.file(QStringLiteral("Player1.dat"))); }
    int levelOnDisk() const
    {
        Roster r;
        loadRoster(r, t.state.ProgramDir);
        return r.PlayerTable[1].Game2Level;
    }

    TestShell t;
    QPointer<TF_Mode> mode;
    TF_Game2 *screen;
    int pressedDecoys = 0;
};

} // namespace moletest
