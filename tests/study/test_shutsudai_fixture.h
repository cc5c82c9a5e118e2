#pragma once
// A small program directory for the test screen: 240 kanji with parts and
// stroke counts, one or two sentences per kanji, the panel pictures and the
// result pictures, a player, a mode screen to come from, and the study
// screens registered.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/questionbank.h"
#include "data/studylog.h"
#include "shell/look.h"
#include "study/register.h"
#include "study/saiten.h"
#include "study/shutsudai.h"
#include "support/find.h"
#include "support/glyphs.h"
#include "support/modalwatcher.h"
#include "support/testshell.h"
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace studytest
{

using namespace fm;

inline QByteArray sj(const char *utf8)
{
    return cp932::fromUnicode(QString::fromUtf8(utf8));
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A small placeable metafile (one rectangle), as libuemf writes it.
inline QByteArray tinyWmf()
{
    static const unsigned char bytes[] = {
        0xd7, 0xcd, 0xc6, 0x9a, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xa0, 0x05, 0xa0, 0x05, 0xa0, 0x05,
        0x00, 0x00, 0x00, 0x00, 0xb1, 0x52, 0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0x28, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x0b, 0x02, 0x00, 0x00,
        0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x0c, 0x02, 0x64, 0x00, 0x64, 0x00, 0x07, 0x00, 0x00, 0x00,
        0x1b, 0x04, 0x5a, 0x00, 0x5a, 0x00, 0x0a, 0x00, 0x0a, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00};
    return QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes);
}

// Kanji k of the test catalogue: a first-level JIS kanji, k strokes modulo
// 12 plus 1, one part (group k mod 8 + 1, position (k / 8) mod 5 + 1).
using fm::test::glyphOf;
inline int strokesOf(int k)
{
    return k % 12 + 1;
}
inline int groupOf(int k)
{
    return k % 8 + 1;
}
inline int positionOf(int k)
{
    return (k / 8) % 5 + 1;
}
inline int sentencesOf(int k)
{
    return k % 3 == 0 ? 1 : 2;
}

// The two kana of the target word of kanji k's sentence c (shown keys only).
inline QByteArray targetWord(int k, int c)
{
    QList<int> shown;
    for (int i = 1; i <= KanaKeyCount; ++i)
        if (kanaKeyShown(i))
            shown << i;
    return kanaKey(shown[(k * 7 + c * 3) % shown.size()]) + kanaKey(shown[(k * 11 + c) % shown.size()]);
}

// A mode screen to come from and go back to.
class TestModeScreen : public ScreenFrame
{
  public:
    explicit TestModeScreen(Services &sv) : ScreenFrame(sv, ScreenId::Mode) {}
    int shows = 0, closes = 0;
    void FormShow() override { ++shows; }
    void FormClose() override { ++closes; }
};

using fm::test::ModalWatcher;

struct TestWorld {
    fm::test::TestShell t;
    TestModeScreen *mode = nullptr;
    TF_Shutsudai *test = nullptr;

    explicit TestWorld(int level = 2, fm::StudyKind kind = fm::StudyKind::Reading, bool challenge = true)
    {
        registerStudyScreens(t.screens);
        t.screens.add(ScreenId::Mode, [](Services &sv) { return new TestModeScreen(sv); });
        writeCatalogue();
        writeQuestions();
        writePictures();
        t.state.Players.PlayerCount = 1;
        t.state.Players.PlayerTable[1].Name = sj("はなこ");
        t.state.Players.PlayerTable[1].Level = int16_t(level);
        t.state.Players.PlayerTable[1].Kind = kind;
        t.state.CurrentPlayer = 1;
        t.state.CurrentLevel = int16_t(level);
        t.state.CurrentKind = kind;
        t.state.ChallengeMode = challenge;
        t.state.ReviewMode = false;
        t.shell.MidiDeviceCount = 1;
        t.shell.MaruBatsu.open(t.sound, t.state.ProgramDir);
    }

    void writeCatalogue()
    {
        QVector<KanjiRecord> kanji;
        for (int k = 1; k <= 240; ++k) {
            const QByteArray g = glyphOf(k);
            kanji << KanjiRecord{int16_t(k),
                                 uint8_t(g[0]),
                                 uint8_t(g[1]),
                                 int16_t(strokesOf(k)),
                                 int16_t(groupOf(k)),
                                 int16_t(positionOf(k)),
                                 0,
                                 0};
        }
        QVector<BushuRecord> bushu;
        for (int g = 1; g <= 8; ++g)
            for (int p = 1; p <= 5; ++p)
                bushu << BushuRecord{int16_t(g), 0, int16_t(p), int16_t((g - 1) * 5 + p)};
        writeFile(t.file(QStringLiteral("Kanji1.dat")), encodeKanjiRecords(kanji));
        writeFile(t.file(QStringLiteral("Bushu1.dat")), encodeBushuRecords(bushu));
        loadCatalogue(t.state.Cat, t.state.ProgramDir);
    }

    void writeQuestions()
    {
        QVector<QuestionIndexEntry> index;
        QByteArray sentences;
        int next = 1;
        for (int k = 1; k <= 240; ++k) {
            index << QuestionIndexEntry{0, int16_t(next), int16_t(sentencesOf(k))};
            for (int c = 1; c <= sentencesOf(k); ++c) {
                QuestionRecord r;
                r.TargetSegment = int16_t(c == 1 ? 2 : 1);
                const QByteArray word = targetWord(k, c);
                if (c == 1)
                    r.Segments = {QByteArray(), sj("きょうは"), word, sj("をみた。")};
                else
                    r.Segments = {QByteArray(), word, sj("がすき。"), QByteArray()};
                sentences += encodeQuestionRecord(r);
                ++next;
            }
        }
        writeFile(t.file(QStringLiteral("Mondai2.dat")), encodeQuestionIndex(index));
        writeFile(t.file(QStringLiteral("Mondai1.dat")), sentences);
        loadQuestionIndex(t.state.Bank, t.state.ProgramDir);
    }

    void writePictures()
    {
        // 40 part cells, each its own colour with its number.
        QImage strip(64 * 40, 64, QImage::Format_RGB32);
        strip.fill(Qt::white);
        QPainter p(&strip);
        p.setFont(pixelFont(28, true));
        for (int i = 0; i < 40; ++i) {
            p.fillRect(64 * i + 6, 6, 52, 52, QColor::fromHsv(i * 9, 120, 255));
            p.drawText(QRect(64 * i, 0, 64, 64), Qt::AlignCenter, QString::number(i + 1));
        }
        p.end();
        ASSERT_TRUE(strip.save(t.file(QStringLiteral("BuhinX.bmp"))));
        for (int g = 1; g <= 8; ++g) {
            QImage pic(40, 40, QImage::Format_RGB32);
            pic.fill(QColor::fromHsv(g * 40, 200, 230));
            ASSERT_TRUE(pic.save(t.file(QStringLiteral("bushu%1.bmp").arg(g))));
        }
        for (const char *name : {"Present1.wmf", "Present2.wmf", "Present3.wmf"})
            writeFile(t.file(QString::fromLatin1(name)), tinyWmf());
    }

    // The program files the build made, instead of the small ones; false
    // when the build has not made them.
    bool useBuildFiles()
    {
        const QStringList names = {QStringLiteral("Kanji1.dat"),  QStringLiteral("Bushu1.dat"),
                                   QStringLiteral("Mondai1.dat"), QStringLiteral("Mondai2.dat"),
                                   QStringLiteral("Mondai3.dat"), QStringLiteral("BuhinX.bmp")};
        QStringList all = names;
        for (int g = 1; g <= 8; ++g)
            all << QStringLiteral("bushu%1.bmp").arg(g);
        for (const QString &name : all)
            if (!QFile::exists(QStringLiteral(FUDEMARU_BIN_DIR "/") + name))
                return false;
        for (const QString &name : all) {
            QFile::remove(t.file(name));
            if (!QFile::copy(QStringLiteral(FUDEMARU_BIN_DIR "/") + name, t.file(name)))
                return false;
        }
        loadCatalogue(t.state.Cat, t.state.ProgramDir);
        loadQuestionIndex(t.state.Bank, t.state.ProgramDir);
        return true;
    }

    // The build's stroke centre lines, which the kanji's page and the
    // stroke-order window need beside the reference strokes.
    bool useCentreLines()
    {
        return QFile::copy(QStringLiteral(FUDEMARU_BIN_DIR "/Hitsujun1.dat"),
                           t.file(QStringLiteral("Hitsujun1.dat")));
    }

    // The mode screen, then the test screen opened from it by id.
    TF_Shutsudai *open()
    {
        mode = t.nav.open<TestModeScreen>();
        test = dynamic_cast<TF_Shutsudai *>(t.nav.open(ScreenId::Shutsudai));
        return test;
    }

    // The test screen's controls (the panels' too), by their object names.
    template <typename T> T *ctl(const char *name) const { return fm::test::child<T>(test, name); }
    template <typename T> T *ctl(const char *name, int n) const { return fm::test::child<T>(test, name, n); }
    QPushButton *button(const char *name) const { return ctl<QPushButton>(name); }
    QPushButton *button(const char *name, int n) const { return ctl<QPushButton>(name, n); }
    // Whether the screen holds a control of that name at all (reading builds no kanji panels).
    bool has(const char *name) const
    {
        return test->findChild<QObject *>(QString::fromLatin1(name)) != nullptr;
    }

    void click(QWidget *w) { t.click(w); }
    void start() { click(button("Btn_Next")); }
    // A second of the test's clock, as its timer gives it.
    void tickClock() { fm::test::tick(test, "Tim_Clock"); }
    // The next step of the grading screen's marking.
    void tickGrading() { fm::test::tick(grading(), "Tim_Saiten"); }

    QuestionSlot &slot(int n) { return t.state.QuestionSlots[n]; }
    QuestionSlot &current() { return slot(test->currentQuestion()); }

    // Types text on the kana keys.
    void typeKana(const QByteArray &text)
    {
        for (int c = 0; c < cp932::charCount(text); ++c) {
            const QByteArray ch = cp932::charAt(text, c);
            int key = 0;
            for (int i = 1; i <= KanaKeyCount && !key; ++i)
                if (kanaKeyShown(i) && kanaKey(i) == ch)
                    key = i;
            ASSERT_NE(key, 0) << "no key for a character";
            ASSERT_TRUE(button("Btn_Moji", key)->isVisible());
            click(button("Btn_Moji", key));
        }
    }

    // Clicks the visible candidate showing glyph; false when there is none.
    bool clickCandidate(const QByteArray &glyph)
    {
        for (int i = 1; i <= CandidateCount; ++i) {
            QPushButton *b = button("Btn_Kanji", i);
            if (b->isVisible() && b->text() == cp932::toUnicode(glyph)) {
                click(b);
                return true;
            }
        }
        return false;
    }

    // Reading on screen: the three labels as one text.
    QString sentence() const
    {
        return ctl<QLabel>("Lbl_Segment", 1)->text() + ctl<QLabel>("Lbl_Segment", 2)->text() +
               ctl<QLabel>("Lbl_Segment", 3)->text();
    }

    TF_Saiten *grading() const { return t.nav.find<TF_Saiten>(); }
    // Answers the remaining questions with つぎ, takes the test to grading,
    // marks all but the missed questions right and starts the review.
    void reviewWithMissed(TF_Shutsudai *s, std::initializer_list<int> missed)
    {
        t.dialogs.answers = {Answer::Yes};
        for (int i = 0; i < 11 && !grading(); ++i)
            click(fm::test::child<QPushButton>(s, "Btn_Next"));
        ASSERT_NE(grading(), nullptr);
        for (auto &q : t.state.QuestionSlots)
            q.Correct = 1;
        for (int n : missed)
            slot(n).Correct = 0;
        t.state.TestScore = int16_t(10 - int(missed.size()));
        t.state.ReviewMode = true;
        t.nav.closeAndShow(s);
        ASSERT_EQ(s->phase(), TF_Shutsudai::Phase::Review);
    }
    int gradingScreens() const
    {
        int n = 0;
        for (Screen *s : t.nav.screens())
            n += dynamic_cast<TF_Saiten *>(s) != nullptr;
        return n;
    }

    QVector<StudyRecord> log() const
    {
        QFile f(t.file(QStringLiteral("Kiroku1.dat")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return decodeLog(f.readAll()).records;
    }
};

} // namespace studytest
