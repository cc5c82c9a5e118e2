// The parts as a child searches them: the lists the build wrote into the
// program directory hold the kanji a teacher expects under each radical, and
// the part pictures show where a part sits, so that look-alike parts of
// different places (口 and 囗, 夂 and 攵) do not look alike.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "kanjidic.h"
#include "tools/contentgen/sources.h"
#include <QFile>
#include <QHash>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace
{

const QString BinDir = QStringLiteral(FUDEMARU_BIN_DIR);
const QString ContentDir = QStringLiteral(FUDEMARU_CONTENT_DIR);
constexpr int Cell = 64; // one part picture of BuhinX.bmp

// The shapes a radical takes as a part: its own character and its forms at
// the side or on top (水 is 氵 on the left, 艸 is 艹 on top).
QStringList formsOf(int radical)
{
    static const QHash<int, QString> other{
        {9, QStringLiteral("亻𠆢")}, {18, QStringLiteral("刂")},  {35, QStringLiteral("夂")},
        {42, QStringLiteral("⺌")},  {61, QStringLiteral("忄")},  {66, QStringLiteral("攵")},
        {73, QStringLiteral("日")},  {85, QStringLiteral("氵")},  {86, QStringLiteral("灬")},
        {96, QStringLiteral("王")},  {113, QStringLiteral("礻")}, {118, QStringLiteral("⺮")},
        {122, QStringLiteral("罒")}, {125, QStringLiteral("耂")}, {130, QStringLiteral("月")},
        {140, QStringLiteral("艹")}, {162, QStringLiteral("辶")}};
    // The Kangxi radical signs U+2F00.. stand for the characters they decompose to.
    QStringList forms{QString(QChar(0x2F00 + radical - 1)).normalized(QString::NormalizationForm_KC)};
    const QString more = other.value(radical);
    for (int i = 0; i < more.size(); ++i) {
        const int len = more[i].isHighSurrogate() ? 2 : 1;
        forms << more.mid(i, len);
        i += len - 1;
    }
    return forms;
}

class Parts : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        cat = std::make_unique<fm::Catalogue>();
        fm::loadCatalogue(*cat, BinDir);
        QStringList problems;
        sources = std::make_unique<fm::content::Sources>(fm::content::readAll(ContentDir, problems));
        dic = loadKanjidic();
    }
    void SetUp() override
    {
        ASSERT_FALSE(dic.isEmpty()) << KanjidicPath
                                    << " is missing: scripts/setup installs the kanjidic package";
        ASSERT_FALSE(sources->parts.isEmpty());
    }
    static QString glyphOf(int n) { return fm::cp932::toUnicode(cat->KanjiTable[n].Glyph); }
    static int numberOf(const QString &glyph)
    {
        for (int n = 1; n <= 240; ++n)
            if (glyphOf(n) == glyph)
                return n;
        return 0;
    }
    // The part list a child opens for group:name, as the program reads it.
    static QVector<int16_t> listOf(const fm::content::Part &p) { return cat->byPart(p.group, p.position); }
    static QString refOf(const fm::content::Part &p)
    {
        return fm::content::groupNames()[p.group - 1] + ':' + p.name;
    }

    static std::unique_ptr<fm::Catalogue> cat;
    static std::unique_ptr<fm::content::Sources> sources;
    static QHash<QString, KanjidicEntry> dic;
};
std::unique_ptr<fm::Catalogue> Parts::cat;
std::unique_ptr<fm::content::Sources> Parts::sources;
QHash<QString, KanjidicEntry> Parts::dic;

TEST_F(Parts, AKanjiIsListedUnderTheRadicalATeacherNamesWheneverThatRadicalIsOffered)
{
    int checked = 0;
    for (int n = 1; n <= 240; ++n) {
        const QString glyph = glyphOf(n);
        const QStringList forms = formsOf(dic.value(glyph).radical);
        if (forms.contains(glyph))
            continue; // a kanji that is its radical has no parts
        QStringList offered;
        bool listed = false;
        for (const fm::content::Part &p : sources->parts)
            if (forms.contains(p.name)) {
                offered << refOf(p);
                listed = listed || listOf(p).contains(int16_t(n));
            }
        if (offered.isEmpty())
            continue;
        ++checked;
        EXPECT_TRUE(listed) << qPrintable(glyph) << " is missing from " << qPrintable(offered.join(' '));
    }
    EXPECT_GE(checked, 120);

    // What a grade 1-2 teacher looks for, in the group where the child sees it.
    const QList<std::pair<const char *, const char *>> expected{
        {"歩", "かんむり:止"}, {"冬", "あし:冫"},   {"冬", "かんむり:夂"}, {"夜", "その他:夕"},
        {"市", "あし:巾"},     {"帰", "つくり:巾"}, {"友", "その他:又"},   {"千", "その他:十"},
        {"午", "その他:十"},   {"半", "その他:十"}, {"出", "かまえ:凵"},   {"来", "その他:木"},
        {"六", "その他:八"},   {"国", "かまえ:囗"}, {"右", "あし:口"},     {"数", "つくり:攵"}};
    for (const auto &[kanji, ref] : expected) {
        const QString k = QString::fromUtf8(kanji), r = QString::fromUtf8(ref);
        const auto part = std::find_if(sources->parts.cbegin(), sources->parts.cend(),
                                       [&](const fm::content::Part &p) { return refOf(p) == r; });
        if (part == sources->parts.cend()) {
            ADD_FAILURE() << qPrintable(r) << " is not offered";
            continue;
        }
        EXPECT_TRUE(listOf(*part).contains(int16_t(numberOf(k))))
            << qPrintable(k) << " is not under " << qPrintable(r);
    }
}

// Where the dark strokes of one cell of BuhinX.bmp lie.
struct Ink {
    QRect box;
    QPointF centre;
};

Ink inkOf(const QImage &strip, int cell)
{
    Ink ink;
    double sx = 0, sy = 0;
    int count = 0;
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x)
            if (qGray(strip.pixel(Cell * (cell - 1) + x, y)) < 100) {
                ink.box |= QRect(x, y, 1, 1);
                sx += x;
                sy += y;
                ++count;
            }
    if (count)
        ink.centre = QPointF(sx / count, sy / count);
    return ink;
}

TEST_F(Parts, EachPictureShowsItsPartWhereItSitsSoLookAlikesDiffer)
{
    const QImage strip(BinDir + "/BuhinX.bmp");
    ASSERT_FALSE(strip.isNull());
    const double half = Cell / 2.0;
    QHash<QString, Ink> byRef;
    for (const fm::content::Part &p : sources->parts) {
        const int cell = cat->RadicalTable[p.group][p.position];
        ASSERT_GE(cell, 1) << qPrintable(refOf(p));
        ASSERT_LE(Cell * cell, strip.width()) << qPrintable(refOf(p));
        const Ink ink = inkOf(strip, cell);
        ASSERT_FALSE(ink.box.isEmpty()) << qPrintable(refOf(p)) << " has an empty picture";
        byRef.insert(refOf(p), ink);
        const QString where = refOf(p);
        switch (p.group) {
        case 1:
            EXPECT_LT(ink.centre.x(), half * 0.8) << qPrintable(where) << " is not on the left";
            break;
        case 2:
            EXPECT_GT(ink.centre.x(), half * 1.2) << qPrintable(where) << " is not on the right";
            break;
        case 3:
            EXPECT_LT(ink.centre.y(), half * 0.8) << qPrintable(where) << " is not on top";
            break;
        case 4:
            EXPECT_GT(ink.centre.y(), half * 1.2) << qPrintable(where) << " is not at the bottom";
            break;
        default:
            break;
        }
    }
    // 囗 is the whole box; 口 is a small square wherever it sits.
    const Ink box = byRef.value(QStringLiteral("かまえ:囗"));
    ASSERT_FALSE(box.box.isEmpty());
    EXPECT_GE(box.box.width(), Cell * 0.78);
    EXPECT_GE(box.box.height(), Cell * 0.78);
    int mouths = 0;
    for (const QString &ref :
         {QStringLiteral("へん:口"), QStringLiteral("あし:口"), QStringLiteral("その他:口")}) {
        if (!byRef.contains(ref))
            continue;
        ++mouths;
        const QRect mouth = byRef.value(ref).box;
        EXPECT_LE(mouth.width() * mouth.height(), box.box.width() * box.box.height() / 2)
            << qPrintable(ref) << " is nearly as large as 囗";
    }
    EXPECT_GE(mouths, 2);
    // 攵 stands on the right, 夂 lies on top or at the bottom: the ink of one
    // never covers the ink of the other.
    const Ink strike = byRef.value(QStringLiteral("つくり:攵"));
    for (const QString &ref : {QStringLiteral("かんむり:夂"), QStringLiteral("あし:夂")}) {
        ASSERT_TRUE(byRef.contains(ref)) << qPrintable(ref);
        const QRect winter = byRef.value(ref).box;
        EXPECT_GT(winter.width(), winter.height()) << qPrintable(ref) << " should lie flat";
        EXPECT_LT(strike.box.width(), strike.box.height() * 1.1) << "攵 should stand upright";
        EXPECT_GT(std::abs(strike.centre.y() - byRef.value(ref).centre.y()) +
                      std::abs(strike.centre.x() - byRef.value(ref).centre.x()),
                  half * 0.4)
            << "攵 and " << qPrintable(ref) << " sit in the same place";
    }
}

} // namespace
