// Checks the shipped content as the program sees it: the files the build
// wrote into the program directory, loaded through the data layer, against
// KANJIDIC and against the limits of the screens that show them.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/errors.h"
#include "data/hintfile.h"
#include "data/levels.h"
#include "data/questionbank.h"
#include "kanjidic.h"
#include "shell/catalogue.h"
#include "tools/contentgen/sources.h"
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QMap>
#include <QSet>
#include <gtest/gtest.h>
#include <memory>

namespace
{

const QString BinDir = QStringLiteral(FUDEMARU_BIN_DIR);

const QHash<QString, KanjidicEntry> &kanjidic()
{
    static const QHash<QString, KanjidicEntry> dic = loadKanjidic();
    return dic;
}

QString glyphOf(const fm::Catalogue &cat, int n)
{
    return fm::cp932::toUnicode(cat.KanjiTable[n].Glyph);
}

bool isHiragana(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!(c.unicode() >= 0x3041 && c.unicode() <= 0x3093) && c != QChar(0x30FC))
            return false;
    return true;
}

bool isKanji(QChar c)
{
    return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
}

class Content : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        cat = std::make_unique<fm::Catalogue>();
        fm::loadCatalogue(*cat, BinDir);
        bank = std::make_unique<fm::QuestionBank>();
        fm::loadQuestionIndex(*bank, BinDir);
    }
    void SetUp() override
    {
        ASSERT_FALSE(kanjidic().isEmpty())
            << KanjidicPath << " is missing: scripts/setup installs the kanjidic package";
    }
    static std::unique_ptr<fm::Catalogue> cat;
    static std::unique_ptr<fm::QuestionBank> bank;
};
std::unique_ptr<fm::Catalogue> Content::cat;
std::unique_ptr<fm::QuestionBank> Content::bank;

TEST_F(Content, TheKanjiAreTheTwoFirstGradesInLevelOrderWithKanjidicStrokes)
{
    QSet<QString> shipped;
    for (int n = 1; n <= 240; ++n) {
        const QString g = glyphOf(*cat, n);
        ASSERT_EQ(g.size(), 1) << "kanji " << n;
        EXPECT_FALSE(shipped.contains(g)) << qPrintable(g) << " twice";
        shipped.insert(g);
        ASSERT_TRUE(kanjidic().contains(g)) << qPrintable(g);
        const KanjidicEntry &e = kanjidic()[g];
        // Levels 1-4 are the first school year, 5-12 the second.
        EXPECT_EQ(e.grade, n <= 80 ? 1 : 2) << "kanji " << n << " " << qPrintable(g);
        EXPECT_EQ(cat->KanjiTable[n].Strokes, e.strokes) << qPrintable(g);
    }
    EXPECT_TRUE(cat->KanjiTable[241].Glyph.isEmpty());
    // Every kanji of both grades is taught.
    int grades12 = 0;
    for (auto it = kanjidic().cbegin(); it != kanjidic().cend(); ++it)
        if (it->grade == 1 || it->grade == 2) {
            ++grades12;
            EXPECT_TRUE(shipped.contains(it.key())) << qPrintable(it.key()) << " is missing";
        }
    EXPECT_EQ(grades12, 240);
}

TEST_F(Content, PartsFitTheAnswerPanels)
{
    int highestCell = 0;
    for (int g = 1; g <= fm::PartGroupCount; ++g)
        for (int p = 1; p <= fm::PartPositionCount; ++p) {
            const int cell = cat->RadicalTable[g][p];
            if (!cell)
                continue;
            EXPECT_LE(g, 8) << "only eight groups have a button";
            EXPECT_LE(p, 19) << "group " << g << ": the part panel shows positions 1..19";
            highestCell = std::max(highestCell, cell);
            EXPECT_LE(cat->byPart(g, p).size(), 49) << "group " << g << " position " << p;
            EXPECT_GE(cat->byPart(g, p).size(), 1)
                << "group " << g << " position " << p << " leads to no kanji";
        }
    for (int s = 1; s <= fm::MaxStrokes; ++s)
        EXPECT_LE(cat->byStrokes(s).size(), 79) << s << " strokes";
    // Every referenced part has a picture; positions of a group have no gaps
    // (the panel stops at the first empty one).
    for (int n = 1; n <= 240; ++n) {
        const fm::KanjiEntry &k = cat->KanjiTable[n];
        if (k.Part1Group >= 1) {
            EXPECT_NE(cat->RadicalTable[k.Part1Group][k.Part1Position], 0) << "kanji " << n;
        }
        if (k.Part2Group >= 1) {
            EXPECT_NE(cat->RadicalTable[k.Part2Group][k.Part2Position], 0) << "kanji " << n;
        }
    }
    for (int g = 1; g <= 8; ++g) {
        bool gap = false;
        for (int p = 1; p <= 19; ++p) {
            if (!cat->RadicalTable[g][p])
                gap = true;
            else
                EXPECT_FALSE(gap) << "group " << g << " position " << p << " follows an empty position";
        }
    }
    const QImage strip(BinDir + "/BuhinX.bmp");
    ASSERT_FALSE(strip.isNull());
    EXPECT_EQ(strip.height(), 64);
    EXPECT_GE(strip.width(), 64 * highestCell);
    for (int g = 1; g <= 8; ++g) {
        const QImage pic(BinDir + QStringLiteral("/bushu%1.bmp").arg(g));
        ASSERT_FALSE(pic.isNull()) << "bushu" << g << ".bmp";
        EXPECT_LE(pic.width(), 128);
        EXPECT_LE(pic.height(), 48);
    }
}

// The targets of every kanji's sentences, as the test reads them from Mondai1.dat.
QMap<int, QStringList> shippedTargets(const fm::QuestionBank &bank)
{
    QMap<int, QStringList> out;
    for (int k = 1; k <= 240; ++k)
        for (int c = 1; c <= bank.QuestionIndex[k].RecordCount; ++c) {
            const fm::QuestionRecord r = fm::readQuestionRecord(bank, BinDir, k, c);
            if (r.TargetSegment >= 1 && r.TargetSegment <= 3)
                out[k] << fm::cp932::toUnicode(fm::segmentText(r.Segments[r.TargetSegment]));
        }
    return out;
}

// The taught readings and sound changes as content/ lists them.
struct Taught {
    QVector<fm::content::Kanji> kanji;
    QVector<fm::content::TaughtReadings> readings;
    QVector<fm::content::SoundChange> changes;
    QVector<fm::content::SpecialReading> specials;
    QStringList problems;
};

Taught readTaught(const fm::Catalogue &cat)
{
    Taught t;
    for (int n = 1; n <= 240; ++n) {
        fm::content::Kanji k;
        k.number = n;
        k.glyph = glyphOf(cat, n);
        t.kanji << k;
    }
    const auto read = [](const char *name) {
        QFile f(QStringLiteral(FUDEMARU_CONTENT_DIR "/") + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    t.readings = fm::content::readReadings("readings.tsv", read("readings.tsv"), t.kanji, t.problems);
    t.changes = fm::content::readSoundChanges("sound-changes.tsv", read("sound-changes.tsv"), t.kanji,
                                              t.readings, t.problems);
    t.specials = fm::content::readSpecialReadings("word-readings.tsv", read("word-readings.tsv"), t.kanji,
                                                  t.readings, t.problems);
    return t;
}

// What a teacher would mark in the readings asked: a taught reading KANJIDIC
// does not know, a target that is neither a taught reading nor a listed sound
// change of one, a taught reading no sentence asks; a special reading of one
// word that KANJIDIC lists after all, which belongs with the taught ones.
QStringList auditReadings(const Taught &t, const QHash<QString, KanjidicEntry> &dic,
                          const QMap<int, QStringList> &targets)
{
    QStringList out;
    for (const fm::content::Kanji &k : t.kanji) {
        const fm::content::TaughtReadings &r = t.readings.value(k.number - 1);
        const QSet<QString> known = dic.value(k.glyph).readings;
        for (const QString &stem : r.stems)
            if (!known.contains(stem))
                out << QStringLiteral("%1: the taught reading %2 is not in KANJIDIC").arg(k.glyph, stem);
        QHash<QString, QString> changes; // form -> reading
        for (const fm::content::SoundChange &c : t.changes)
            if (c.kanji == k.number) {
                changes.insert(c.form, c.reading);
                if (!known.contains(c.reading))
                    out << QStringLiteral("%1: %2 changes %3, which is not in KANJIDIC")
                               .arg(k.glyph, c.form, c.reading);
            }
        QSet<QString> specials;
        for (const fm::content::SpecialReading &c : t.specials)
            if (c.kanji == k.number) {
                specials.insert(c.reading);
                if (known.contains(c.reading))
                    out << QStringLiteral("%1: %2 is a KANJIDIC reading: list it in readings.tsv")
                               .arg(k.glyph, c.reading);
            }
        QSet<QString> asked;
        for (const QString &target : targets.value(k.number)) {
            if (r.stems.contains(target) || specials.contains(target))
                asked.insert(target);
            else if (changes.contains(target))
                asked.insert(changes.value(target));
            else if (known.contains(target))
                out << QStringLiteral("%1: %2 is a reading of it, but not one taught in grades 1-2")
                           .arg(k.glyph, target);
            else
                out << QStringLiteral("%1: %2 is no reading of it").arg(k.glyph, target);
        }
        for (const QString &stem : r.stems)
            if (!asked.contains(stem))
                out << QStringLiteral("%1: %2 is taught but never asked").arg(k.glyph, stem);
    }
    return out;
}

TEST_F(Content, EveryKanjiHasSentencesThatShowOnlyKanjiTaughtByItsLevel)
{
    ASSERT_EQ(bank->QuestionIndexCount, 240);
    QHash<QString, int> number;
    for (int k = 1; k <= 240; ++k)
        number.insert(glyphOf(*cat, k), k);
    int total = 0;
    for (int k = 1; k <= 240; ++k) {
        const QString glyph = glyphOf(*cat, k);
        const fm::QuestionIndexEntry &idx = bank->QuestionIndex[k];
        EXPECT_GE(idx.RecordCount, 3) << qPrintable(glyph);
        for (int c = 1; c <= idx.RecordCount; ++c) {
            const fm::QuestionRecord r = fm::readQuestionRecord(*bank, BinDir, k, c);
            ++total;
            const QString where = QStringLiteral("%1 sentence %2").arg(glyph).arg(c);
            ASSERT_GE(r.TargetSegment, 1) << qPrintable(where);
            ASSERT_LE(r.TargetSegment, 3) << qPrintable(where);
            for (int i = 1; i <= 3; ++i) {
                const QByteArray bytes = fm::segmentText(r.Segments[i]);
                const QString text = fm::cp932::toUnicode(bytes);
                EXPECT_FALSE(text.contains(QChar(0xFFFD))) << qPrintable(where) << ": a split character";
                EXPECT_FALSE(text.contains('?')) << qPrintable(where) << ": a character cp932 lacks";
                if (i != r.TargetSegment) {
                    // Kanji the child has learned, and its own only in the red target.
                    for (QChar c : text)
                        if (isKanji(c)) {
                            const int n = number.value(QString(c));
                            EXPECT_TRUE(n >= 1 && n <= fm::lastKanjiOf((k - 1) / fm::KanjiPerLevel + 1) &&
                                        n != k)
                                << qPrintable(where) << ": shows " << qPrintable(QString(c));
                        }
                    continue;
                }
                // The expected answer: what the child types on the kana keys.
                EXPECT_TRUE(isHiragana(text)) << qPrintable(where) << ": target " << qPrintable(text);
                EXPECT_LE(fm::cp932::charCount(bytes), 4) << qPrintable(where);
            }
        }
    }
    EXPECT_GE(total, 720);

    // The words read as a whole: each under a kanji of its word, read in kana.
    EXPECT_GE(bank->WholeWords.size(), 13);
    for (const fm::QuestionRecord &r : bank->WholeWords) {
        QByteArray word, reading;
        ASSERT_TRUE(fm::splitWholeWord(fm::segmentText(r.Segments[r.TargetSegment]), &word, &reading));
        EXPECT_TRUE(fm::cp932::toUnicode(word).contains(glyphOf(*cat, r.Unused))) << r.Unused;
        EXPECT_TRUE(isHiragana(fm::cp932::toUnicode(reading))) << r.Unused;
    }
}

TEST_F(Content, EveryTaughtReadingIsAskedAndNothingElse)
{
    const Taught t = readTaught(*cat);
    ASSERT_TRUE(t.problems.isEmpty()) << qPrintable(t.problems.join('\n'));
    const QMap<int, QStringList> targets = shippedTargets(*bank);
    const QStringList problems = auditReadings(t, kanjidic(), targets);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));

    // The audit is only worth its silence if it speaks up: plant the faults a
    // teacher would mark and see each one named.
    const auto numberOf = [&](const char *glyph) {
        for (const fm::content::Kanji &k : t.kanji)
            if (k.glyph == QString::fromUtf8(glyph))
                return k.number;
        return 0;
    };
    const int yama = numberOf("山"), mori = numberOf("森"), ishi = numberOf("石");
    ASSERT_TRUE(yama && mori && ishi);

    QMap<int, QStringList> wrong = targets;
    wrong[yama][0] = QString::fromUtf8("やば");
    Taught wrongTable = t;
    wrongTable.readings[yama - 1].stems << QString::fromUtf8("やば");
    EXPECT_TRUE(
        auditReadings(t, kanjidic(), wrong).contains(QString::fromUtf8("山: やば is no reading of it")));
    EXPECT_TRUE(auditReadings(wrongTable, kanjidic(), targets)
                    .contains(QString::fromUtf8("山: the taught reading やば is not in KANJIDIC")));

    QMap<int, QStringList> missing = targets;
    missing[mori].removeAll(QString::fromUtf8("しん"));
    EXPECT_EQ(auditReadings(t, kanjidic(), missing),
              QStringList{QString::fromUtf8("森: しん is taught but never asked")});

    QMap<int, QStringList> overLevel = targets;
    overLevel[ishi] << QString::fromUtf8("しゃく"); // じしゃく: a secondary-school reading
    EXPECT_EQ(
        auditReadings(t, kanjidic(), overLevel),
        QStringList{QString::fromUtf8("石: しゃく is a reading of it, but not one taught in grades 1-2")});
}

TEST_F(Content, SentencesOfOneKanjiDiffer)
{
    for (int k = 1; k <= 240; ++k) {
        QSet<QByteArray> seen;
        for (int c = 1; c <= bank->QuestionIndex[k].RecordCount; ++c) {
            const fm::QuestionRecord r = fm::readQuestionRecord(*bank, BinDir, k, c);
            const QByteArray whole = r.Segments[1] + r.Segments[2] + r.Segments[3];
            EXPECT_FALSE(seen.contains(whole)) << "kanji " << k << " sentence " << c;
            seen.insert(whole);
        }
    }
}

TEST_F(Content, HintPagesCoverEveryScreenAndTestSituation)
{
    QFile f(BinDir + "/" + fm::hintFileName());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QVector<fm::HintRecord> pages = fm::decodeHintFile(f.readAll());
    ASSERT_FALSE(pages.isEmpty());
    ASSERT_LE(pages.size(), fm::MaxHintRecords);
    QSet<QString> contexts, finished;
    QString previous;
    for (int i = 0; i < pages.size(); ++i) {
        const fm::HintRecord &p = pages[i];
        EXPECT_EQ(p.Number, i + 1) << "the window reads page n at position n";
        const QString ctx = QStringLiteral("%1,%2,%3").arg(p.Screen).arg(p.Situation).arg(p.Kind);
        if (ctx != previous) {
            EXPECT_FALSE(finished.contains(ctx)) << qPrintable(ctx) << ": its pages are not together";
            finished.insert(previous);
            previous = ctx;
        }
        contexts.insert(ctx);
        bool any = false;
        for (const QByteArray &line : p.Level1Lines) {
            EXPECT_LE(line.size(), fm::HintLevel1Bytes);
            EXPECT_FALSE(fm::cp932::toUnicode(line).contains(QChar(0xFFFD))) << qPrintable(ctx);
            any = any || !line.isEmpty();
        }
        for (const QByteArray &line : p.Level2Lines) {
            EXPECT_LE(line.size(), fm::HintLevel2Bytes);
            EXPECT_FALSE(fm::cp932::toUnicode(line).contains(QChar(0xFFFD))) << qPrintable(ctx);
        }
        EXPECT_TRUE(any) << qPrintable(ctx) << ": a page without its question";
    }
    const auto key = [](int screen, fm::HintSituation situation, fm::StudyKind kind) {
        return QStringLiteral("%1,%2,%3").arg(screen).arg(fm::fileValue(situation)).arg(fm::fileValue(kind));
    };
    for (int id = 0; id < fm::ScreenIdCount; ++id) {
        const fm::ScreenRow &screen = fm::screenRow(fm::ScreenId(id));
        EXPECT_TRUE(contexts.contains(key(screen.number, fm::HintSituation::Screen, fm::StudyKind::Reading)))
            << screen.name;
    }
    const int test = fm::screenRow(fm::ScreenId::Shutsudai).number;
    for (fm::HintSituation situation :
         {fm::HintSituation::Screen, fm::HintSituation::Question, fm::HintSituation::WritingChoice,
          fm::HintSituation::WritingParts, fm::HintSituation::WritingPartList})
        for (fm::StudyKind kind : {fm::StudyKind::Reading, fm::StudyKind::Writing})
            EXPECT_TRUE(contexts.contains(key(test, situation, kind)))
                << "test situation " << fm::fileValue(situation) << " kind " << fm::fileValue(kind);
    // Page 1 stands in for an unknown context: it must be the menu's.
    EXPECT_EQ(pages[0].Screen, fm::screenRow(fm::ScreenId::Main).number);
}

TEST(ContentHelp, EveryHelpContextHasAPageAndEveryPageIsOpened)
{
    QSet<int> opened{fm::help::TestReading, fm::help::TestWriting, fm::help::Review, fm::help::HintPicture};
    for (int id = 0; id < fm::ScreenIdCount; ++id)
        opened.insert(fm::screenRow(fm::ScreenId(id)).helpContext);
    QSet<int> shipped;
    for (const QString &name : QDir(BinDir + "/help").entryList({"*.html"}, QDir::Files))
        shipped.insert(name.chopped(5).toInt());
    EXPECT_EQ(shipped, opened) << "a page no screen opens, or a screen without its page";
    for (int ctx : opened) {
        QFile f(BinDir + QStringLiteral("/help/%1.html").arg(ctx));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "help/" << ctx << ".html";
        const QString html = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(html.contains("<h1>")) << ctx;
        EXPECT_TRUE(html.contains("charset=\"utf-8\"")) << ctx;
    }
}

} // namespace
