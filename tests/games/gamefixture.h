#pragma once
// A small program directory for the matching game: a glyph and two
// sentences for every kanji, a player, and a mode screen to come from.
#include "data/cp932.h"
#include "data/questionbank.h"
#include "data/roster.h"
#include "games/game1.h"
#include "games/gkiroku.h"
#include "games/register.h"
#include "records/mode.h"
#include "records/register.h"
#include "support/find.h"
#include "support/glyphs.h"
#include "support/modalwatcher.h"
#include "support/testshell.h"
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace gametest
{

using namespace fm;

inline QByteArray sj(const char *utf8)
{
    return cp932::fromUnicode(QString::fromUtf8(utf8));
}

using fm::test::glyphOf;

struct GameWorld {
    fm::test::TestShell t;
    TF_Mode *mode = nullptr;
    TF_Game1 *game = nullptr;

    // A child at study level 5 with the given game level, on the game
    // screen opened from the mode screen.
    explicit GameWorld(int game1Level = 2, int studyLevel = 5, LayoutSize layout = LayoutSize::Normal)
    {
        t.shell.Layout = layout;
        t.shell.MidiDeviceCount = 1;
        for (int k = 1; k <= 240; ++k)
            t.state.Cat.KanjiTable[size_t(k)].Glyph = glyphOf(k);
        writeQuestions();
        t.state.Players.PlayerCount = 1;
        PlayerEntry &e = t.state.Players.PlayerTable[1];
        e.Name = sj("はるか");
        e.Level = int16_t(studyLevel);
        e.Game1Level = int16_t(game1Level);
        t.state.CurrentPlayer = 1;
        t.state.CurrentLevel = int16_t(studyLevel);
        t.state.Game1Level = int16_t(game1Level);
        writeStars();
        registerRecordScreens(t.screens);
        registerGameScreens(t.screens);
        mode = static_cast<TF_Mode *>(t.nav.open(ScreenId::Mode));
        QTest::mouseClick(fm::test::child<QLabel>(mode, "Lbl_Game1"), Qt::LeftButton);
        game = dynamic_cast<TF_Game1 *>(t.nav.current());
    }

    // Two 34 x 34 "stars" side by side on white, as the mode screen expects.
    void writeStars()
    {
        QImage bmp(68, 34, QImage::Format_RGB32);
        bmp.fill(Qt::white);
        QPainter p(&bmp);
        p.fillRect(3, 3, 28, 28, Qt::yellow);
        p.fillRect(37, 3, 28, 28, Qt::gray);
        p.end();
        bmp.save(t.file(QStringLiteral("Stars.bmp")), "BMP");
    }

    void writeQuestions()
    {
        QVector<QuestionIndexEntry> index;
        QByteArray sentences;
        for (int k = 1; k <= 240; ++k) {
            index << QuestionIndexEntry{0, int16_t(2 * k - 1), 2};
            for (int c = 1; c <= 2; ++c) {
                QuestionRecord r;
                r.TargetSegment = int16_t(c);
                r.Segments[1] = sj("きょうは");
                r.Segments[2] = sj("やまに");
                r.Segments[3] = sj("のぼる。");
                sentences += encodeQuestionRecord(r);
            }
        }
        QFile i(t.file(QStringLiteral("Mondai2.dat")));
        ASSERT_TRUE(i.open(QIODevice::WriteOnly));
        i.write(encodeQuestionIndex(index));
        i.close();
        QFile s(t.file(QStringLiteral("Mondai1.dat")));
        ASSERT_TRUE(s.open(QIODevice::WriteOnly));
        s.write(sentences);
        s.close();
        loadQuestionIndex(t.state.Bank, t.state.ProgramDir);
    }

    const games::MatchGame &g() const { return game->game(); }
    // The game's controls, by their names.
    template <typename T> T *ctl(const char *name) const { return fm::test::child<T>(game, name); }
    ClickLabel *card(int c) const { return fm::test::child<ClickLabel>(game, "Btn_E", c); }
    QLabel *kanjiLabel(int k) const { return fm::test::child<QLabel>(game, "KanjiLabel", k); }
    // Strength items 0..2: "つよい", "ふつう", "よわい".
    QRadioButton *strengthButton(int item) const
    {
        return fm::test::child<QRadioButton>(game, "Rad_Tsuyosa", item);
    }
    QTimer *timer() const { return ctl<QTimer>("Timer1"); }
    // The computer's next step, when its timer is due.
    void tick() const { fm::test::tick(game, "Timer1"); }

    void click(int c) { QTest::mouseClick(card(c), Qt::LeftButton); }
    void chooseStrength(games::Strength s) { QTest::mouseClick(strengthButton(int(s) - 1), Qt::LeftButton); }
    void start() { QTest::mouseClick(ctl<QPushButton>("Btn_Start"), Qt::LeftButton); }

    // The partner of a card on the board (a card with the same kanji), or
    // with wantPair false a card with another kanji, when there is one.
    int partner(int card, bool wantPair) const
    {
        const auto &cards = g().cards;
        int fallback = 0;
        for (int i = 1; i <= cards.RemainingCount; ++i) {
            const int c = cards.CardsOnBoard[size_t(i)];
            if (c == card)
                continue;
            const bool same = cards.CardKanji[size_t(c)] == cards.CardKanji[size_t(card)];
            if (same == wantPair)
                return c;
            fallback = c;
        }
        return fallback;
    }
};

} // namespace gametest
