// The stroke judge of guided writing: named cases a child produces, every
// taught kanji written through it from our own centre lines and from another
// font's strokes, and the guard that it stops strokes written out of order.
#include "handwriting/centrelines.h"
#include "handwriting/strokejudge.h"
#include "hwtest.h"
#include "support/independentink.h"
#include <QLineF>
#include <cmath>
#include <cstdio>
#include <numbers>

using namespace fm;
using namespace fm::test;
using Verdict = StrokeJudge::Verdict;

namespace
{

const CentreLines &shippedLines()
{
    static const CentreLines lines = CentreLines::load(programDir());
    return lines;
}

StrokePaths linesOf(const char *glyph)
{
    return shippedLines().of(kanjiNumber(glyph));
}

InkStroke dense(const StrokePath &path)
{
    return inkFromCentreLines({path}).first();
}

// The whole ink laid at another size and place on the square.
Ink placed(Ink ink, double scale, QPointF shift)
{
    const QPointF middle(InkSide / 2.0, InkSide / 2.0);
    for (InkStroke &s : ink)
        for (QPointF &p : s)
            p = middle + (p - middle) * scale + shift;
    return ink;
}

QString glyphOf(int k)
{
    return cp932::toUnicode(shippedCatalogue().KanjiTable[k].Glyph);
}

// Which of our strokes each of the other font's strokes is: the one it lies
// nearest, both kanji brought to the same box. Some kanji are written in
// another order in Chinese (田, 王, 右); their strokes are put into ours.
// Empty when two of its strokes are nearest the same one of ours.
QVector<int> strokeMatch(const Ink &other, const StrokePaths &ours)
{
    auto normalised = [](const QVector<QVector<QPointF>> &strokes) {
        QRectF box;
        for (const auto &s : strokes)
            for (const QPointF &p : s)
                box |= QRectF(p, QSizeF(0.01, 0.01));
        QVector<QVector<QPointF>> out;
        for (const auto &s : strokes) {
            QVector<QPointF> n;
            const InkStroke dense = inkFromCentreLines({s}, 2).first();
            for (const QPointF &q : dense)
                n << QPointF((q.x() - box.left()) / box.width(), (q.y() - box.top()) / box.height());
            QVector<QPointF> sampled;
            for (int i = 0; i < 16; ++i)
                sampled << n[qsizetype(i * (n.size() - 1) / 15)];
            out << sampled;
        }
        return out;
    };
    const auto a = normalised(other), b = normalised(ours);
    QVector<int> match;
    for (int i = 0; i < a.size(); ++i) {
        int best = -1;
        double bestDistance = 1e9;
        for (int j = 0; j < b.size(); ++j) {
            double d = 0;
            for (int k = 0; k < 16; ++k)
                d += QLineF(a[i][k], b[j][k]).length();
            if (d < bestDistance) {
                bestDistance = d;
                best = j;
            }
        }
        if (match.contains(best))
            return {};
        match << best;
    }
    return match;
}

// Writes the ink stroke by stroke; the index of the first stroke refused, or -1.
int firstRefused(StrokeJudge &judge, const Ink &ink, StrokeJudge::Judgement *refusal = nullptr)
{
    for (int i = 0; i < ink.size(); ++i) {
        const StrokeJudge::Judgement j = judge.write(ink[i]);
        if (!j.right()) {
            if (refusal)
                *refusal = j;
            return i;
        }
    }
    return -1;
}

} // namespace

TEST(StrokeJudge, NamedStrokesAChildWrites)
{
    struct Case {
        const char *name;
        const char *glyph;
        int before; // strokes written right first
        std::function<Ink(const StrokePaths &)> child;
        bool right;
        Verdict verdict; // when not right
    };
    auto stroke = [](int i) { return [i](const StrokePaths &p) { return Ink{dense(p[i])}; }; };
    // The stroke as one straight line as long as it is, from its start
    // towards its end: the bend missed, nothing else.
    auto unbent = [](int i) {
        return [i](const StrokePaths &p) {
            const QPointF a = p[i].first(), d = p[i].last() - a;
            const double len = pathLength(p[i]) / std::max(1.0, std::hypot(d.x(), d.y()));
            return Ink{dense({a, a + d * len})};
        };
    };
    const Case cases[] = {
        {"right stroke",
         "十",
         0,
         [](const StrokePaths &p) { return jittered({dense(p[0])}, 4, 1); },
         true,
         {}},
        {"right stroke, small and aside",
         "十",
         0,
         [](const StrokePaths &p) {
             return placed({dense(p[0])}, 0.7, {30, -25});
         },
         true,
         {}},
        {"backwards", "十", 0,
         [](const StrokePaths &p) {
             InkStroke s = dense(p[0]);
             std::reverse(s.begin(), s.end());
             return Ink{s};
         },
         false, Verdict::Backwards},
        {"too short", "十", 0,
         [](const StrokePaths &p) { return Ink{dense(p[0]).mid(0, dense(p[0]).size() / 3)}; }, false,
         Verdict::TooShort},
        {"a dot", "十", 0,
         [](const StrokePaths &p) {
             return Ink{{p[0].first(), p[0].first()}};
         },
         false, Verdict::TooShort},
        {"wrong stroke", "三", 1, stroke(2), false, Verdict::WrongStroke},
        {"the middle line drawn low, near the third", "三", 1,
         [](const StrokePaths &p) {
             return placed({dense(p[1])}, 1.0, {0, 45});
         },
         false, Verdict::WrongStroke},
        {"wrong place", "十", 1,
         [](const StrokePaths &p) {
             return placed({dense(p[1])}, 1.0, {60, 0});
         },
         false, Verdict::WrongPlace},
        {"wrong place, with the first stroke small", "十", 1,
         [](const StrokePaths &p) {
             return placed({dense(p[1])}, 0.8, {45, 20});
         },
         false, Verdict::WrongPlace},
        {"口: the bent stroke",
         "口",
         1,
         [](const StrokePaths &p) { return jittered({dense(p[1])}, 3, 2); },
         true,
         {}},
        {"口: the bent stroke cut straight", "口", 1, unbent(1), false, Verdict::WrongShape},
        {"九: the bent stroke",
         "九",
         1,
         [](const StrokePaths &p) { return jittered({dense(p[1])}, 3, 3); },
         true,
         {}},
        {"九: the bent stroke cut straight", "九", 1, unbent(1), false, Verdict::WrongShape},
        {"a scribble", "口", 1,
         [](const StrokePaths &) {
             InkStroke s;
             for (int i = 0; i < 12; ++i)
                 s << QPointF(40 + 15 * i, i % 2 ? 60 : 200);
             return Ink{s};
         },
         false, Verdict::TooLong},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const StrokePaths lines = linesOf(c.glyph);
        ASSERT_FALSE(lines.isEmpty()) << c.glyph;
        StrokeJudge judge(lines);
        for (int i = 0; i < c.before; ++i)
            ASSERT_TRUE(judge.write(dense(lines[i])).right());
        const StrokeJudge::Judgement j = judge.write(c.child(lines).first());
        EXPECT_EQ(j.right(), c.right);
        if (!c.right) {
            EXPECT_EQ(int(j.verdict), int(c.verdict));
        }
        EXPECT_EQ(judge.next(), c.before + (c.right ? 1 : 0))
            << "a refused stroke leaves the next one waiting";
    }
}

// A dot's slant differs from hand to hand: 六 with its dot slanting 50
// degrees to the right is accepted, and so is every stroke after it (the
// slanting dot must not shrink the frame the later strokes are judged in).
// The dot written upwards is still refused.
TEST(StrokeJudge, ADotSlantingAnotherWayIsStillTheDot)
{
    const StrokePaths lines = linesOf("六");
    ASSERT_EQ(lines.size(), 4);
    const QPointF top = lines[0].first();
    InkStroke slanted;
    const double c = std::cos(50 * std::numbers::pi / 180), s = std::sin(50 * std::numbers::pi / 180);
    for (const QPointF &p : dense(lines[0])) {
        const QPointF d = p - top; // turned 50 degrees towards the right
        slanted << top + QPointF(d.x() * c + d.y() * s, -d.x() * s + d.y() * c);
    }
    for (const auto paper : {StrokeJudge::Paper::Blank, StrokeJudge::Paper::OverTheModel}) {
        StrokeJudge upwards(lines, paper);
        InkStroke backwards = slanted;
        std::reverse(backwards.begin(), backwards.end());
        EXPECT_EQ(int(upwards.write(backwards).verdict), int(Verdict::Backwards));

        Ink ink = inkFromCentreLines(lines);
        ink[0] = slanted;
        for (const double scale : {1.0, 0.65}) {
            if (paper == StrokeJudge::Paper::OverTheModel && scale != 1.0)
                continue;
            StrokeJudge judge(lines, paper);
            EXPECT_EQ(firstRefused(judge, jittered(placed(ink, scale, {}), 2.5, 7)), -1) << scale;
        }
    }
}

TEST(StrokeJudge, ADoubleClickOrAStrokeInTwoPiecesIsOnlyATryAgain)
{
    const StrokePaths lines = linesOf("十");
    GuidedStrokes guide(lines, StrokeJudge::Paper::OverTheModel);
    const QPointF at = lines[0].first();
    EXPECT_EQ(guide.write({at, at}), GuidedStrokes::Outcome::TryAgain);
    EXPECT_EQ(guide.write({at + QPointF(1, 0), at + QPointF(1, 0)}), GuidedStrokes::Outcome::TryAgain);
    // A third miss: the program writes the stroke and the child goes on.
    const InkStroke whole = dense(lines[0]);
    EXPECT_EQ(guide.write(whole.mid(0, whole.size() / 2)), GuidedStrokes::Outcome::DrawnForChild);
    EXPECT_EQ(guide.next(), 1);
    EXPECT_EQ(guide.helped(), 1);
    EXPECT_EQ(guide.write(dense(lines[1])), GuidedStrokes::Outcome::Right);
    EXPECT_TRUE(guide.finished());
}

// Every taught kanji written carefully from its own centre lines, at full
// size, small and off-centre, with a child's wobble: each stroke accepted.
TEST(StrokeJudge, EveryKanjiFromItsOwnLinesAtAnySizeAndPlace)
{
    ASSERT_EQ(shippedLines().kanjiCount(), 240);
    const struct {
        const char *name;
        double scale;
        QPointF shift;
    } ways[] = {{"full size", 1.0, {}}, {"small", 0.65, {}}, {"off-centre", 0.7, {35, -30}}};
    for (const auto &w : ways)
        for (int k = 1; k <= 240; ++k) {
            const StrokePaths lines = shippedLines().of(k);
            StrokeJudge judge(lines);
            const Ink ink = jittered(placed(inkFromCentreLines(lines), w.scale, w.shift), 2.5, unsigned(k));
            EXPECT_EQ(firstRefused(judge, ink), -1) << w.name << " " << qPrintable(glyphOf(k));
        }
}

// The same with strokes from another font: nothing of it went into the judge.
TEST(StrokeJudge, EveryKanjiFromAnotherFontsStrokes)
{
    if (independentInkDir().isEmpty())
        GTEST_SKIP() << "the independent stroke data is not installed (scripts/setup --test)";
    int covered = 0, reordered = 0, unmatched = 0, accepted = 0, acceptedReordered = 0;
    QStringList refused;
    for (int k = 1; k <= 240; ++k) {
        const auto source = independentInk(glyphOf(k));
        if (!source || source->size() != shippedLines().of(k).size())
            continue;
        const QVector<int> match = strokeMatch(*source, shippedLines().of(k));
        if (match.isEmpty()) {
            ++unmatched;
            continue;
        }
        Ink other(source->size());
        for (int i = 0; i < match.size(); ++i)
            other[match[i]] = (*source)[i];
        const bool inOurOrder = other == *source;
        ++(inOurOrder ? covered : reordered);
        bool all = true;
        for (const auto &[scale, shift] :
             {std::pair{1.0, QPointF()}, {0.65, QPointF()}, {0.7, QPointF(35, -30)}}) {
            StrokeJudge judge(shippedLines().of(k));
            StrokeJudge::Judgement why;
            const int at = firstRefused(judge, placed(other, scale, shift), &why);
            if (at >= 0) {
                refused << QStringLiteral("%1 stroke %2 at %3 (verdict %4, place %5, shape %6, length %7)")
                               .arg(glyphOf(k) + (inOurOrder ? QString() : QStringLiteral(" (reordered)")))
                               .arg(at + 1)
                               .arg(scale)
                               .arg(int(why.verdict))
                               .arg(why.placeError, 0, 'f', 0)
                               .arg(why.shapeError, 0, 'f', 0)
                               .arg(why.lengthRatio, 0, 'f', 2);
                all = false;
            }
        }
        (inOurOrder ? accepted : acceptedReordered) += all;
    }
    EXPECT_GE(covered + reordered, 200);
    std::printf("another font: %d kanji in our order, %d accepted at every size; %d in another order put "
                "into ours, %d accepted; %d not matched\n",
                covered, accepted, reordered, acceptedReordered, unmatched);
    // Not every one: the other font draws some kanji in their Chinese forms
    // (穴 of 空 with 八, ⻌ ending straight down, a hook on 糸's vertical,
    // the ㇒ of 考 as 一, 氵's rising stroke and 化's ノ twice as long).
    // When this was written 175 of 185 in our order and 25 of 30 put into
    // our order were accepted at every size.
    EXPECT_GE(accepted * 100, covered * 92) << qPrintable(refused.join(QStringLiteral(", ")));
    EXPECT_GE(acceptedReordered * 100, reordered * 75) << qPrintable(refused.join(QStringLiteral(", ")));
    if (qEnvironmentVariableIsSet("FUDEMARU_SHOW_REFUSED"))
        std::printf("%s\n", qPrintable(refused.join(QStringLiteral("\n"))));
}

// The guard: the judge must be able to say no. Every kanji written with two
// strokes swapped, over its model (the first two rounds) or on blank paper
// (where the strokes written so far also tell the size and place; after a
// dot, only roughly), is stopped at the swap: its second and third strokes,
// and its last two.
TEST(StrokeJudge, TwoStrokesSwappedAreStoppedAtTheSwap)
{
    for (const auto paper : {StrokeJudge::Paper::OverTheModel, StrokeJudge::Paper::Blank})
        for (const bool last : {false, true}) {
            int stopped = 0, kanji = 0;
            QStringList missed;
            for (int k = 1; k <= 240; ++k) {
                const StrokePaths lines = shippedLines().of(k);
                if (lines.size() < 2)
                    continue;
                ++kanji;
                // After the first stroke where there is one, or the last two.
                const int a = last ? int(lines.size()) - 2 : lines.size() >= 3 ? 1 : 0;
                Ink ink = inkFromCentreLines(lines);
                std::swap(ink[a], ink[a + 1]);
                StrokeJudge judge(lines, paper);
                if (firstRefused(judge, ink) == a)
                    ++stopped;
                else
                    missed << glyphOf(k);
            }
            EXPECT_EQ(stopped, kanji) << (last ? "the last two " : "the second and third ")
                                      << qPrintable(missed.join(QLatin1Char(' ')));
        }
}
