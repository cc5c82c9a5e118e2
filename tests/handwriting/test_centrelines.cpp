// The stroke centre lines traced when the program is built (Hitsujun1.dat):
// a damaged file is refused by name, the bent strokes a teacher checked
// follow their bends, and the stroke numbers stand clear.
#include "handwriting/centrelines.h"
#include "hwtest.h"
#include <QLineF>
#include <numbers>

using namespace fm;
using namespace fm::test;

namespace
{

const CentreLines &shipped()
{
    static const CentreLines lines = CentreLines::load(programDir());
    return lines;
}

// Whether some point along the path comes within `near` units of p.
bool passesNear(const StrokePath &path, QPointF p, double near = 14)
{
    for (const InkStroke &s : inkFromCentreLines({path}, 2))
        for (const QPointF &q : s)
            if (QLineF(q, p).length() < near)
                return true;
    return false;
}

// How far the path strays from the straight line between its ends.
double straying(const StrokePath &path)
{
    const QPointF a = path.first(), ab = path.last() - path.first();
    const double len = std::max(1.0, std::hypot(ab.x(), ab.y()));
    double most = 0;
    for (const QPointF &q : path)
        most = std::max(most, std::abs(ab.x() * (q.y() - a.y()) - ab.y() * (q.x() - a.x())) / len);
    return most;
}

// The corner of a bent stroke: the first point after which it runs mostly
// down (across first) or mostly across (down first); -1 when it never turns.
qsizetype cornerOf(const StrokePath &path, bool acrossFirst)
{
    for (qsizetype c = 1; c + 1 < path.size(); ++c) {
        const QPointF d = path[c + 1] - path[c];
        if (acrossFirst ? std::abs(d.x()) < std::abs(d.y()) : std::abs(d.y()) < std::abs(d.x()))
            return c;
    }
    return -1;
}

// Whether a bent stroke turns at one sharp corner, as a child writes 口:
// straight into the corner one way and straight out of it the other (each
// within 30 degrees), the corner being the stroke's farthest point the first
// way. A corner cut by a slant fails: the slant is neither way, or the turn
// comes short of the far side.
bool turnsSharply(const StrokePath &path, bool acrossFirst)
{
    const qsizetype c = cornerOf(path, acrossFirst);
    if (c < 0)
        return false;
    const double steep = std::tan(std::numbers::pi / 6);
    auto runs = [&](QPointF d, bool across) {
        return across ? std::abs(d.y()) <= std::abs(d.x()) * steep
                      : std::abs(d.x()) <= std::abs(d.y()) * steep;
    };
    double far = 0;
    for (const QPointF &q : path)
        far = std::max(far, acrossFirst ? q.x() : q.y());
    return runs(path[c] - path[c - 1], acrossFirst) && runs(path[c + 1] - path[c], !acrossFirst) &&
           (acrossFirst ? path[c].x() : path[c].y()) >= far - 1.5;
}

// The stroke with its corner cut: a slant from `by` units before the corner
// to `by` units after it.
StrokePath cutCorner(StrokePath path, bool acrossFirst, double by = 8)
{
    const qsizetype c = cornerOf(path, acrossFirst);
    if (c < 0)
        return path;
    const QPointF p = path[c];
    auto towards = [&](QPointF q) { return p + (q - p) * (by / QLineF(p, q).length()); };
    const QPointF before = towards(path[c - 1]), after = towards(path[c + 1]);
    path[c] = after;
    path.insert(c, before);
    return path;
}

} // namespace

TEST(CentreLinesFile, ADamagedFileIsRefusedByName)
{
    const QHash<int, StrokePaths> one{{7, {{{10, 20}, {200, 20}}, {{30, 5}, {30, 100}, {90, 100}}}}};
    const QByteArray good = CentreLines::toBytes(one);
    const CentreLines back = CentreLines::fromBytes(good);
    ASSERT_EQ(back.of(7).size(), 2);
    EXPECT_EQ(back.of(7)[1], (StrokePath{{30, 5}, {30, 100}, {90, 100}}));
    EXPECT_TRUE(back.of(8).isEmpty());

    auto with = [&](int at, char value) {
        QByteArray b = good;
        b[at] = value;
        return b;
    };
    const struct {
        const char *name;
        QByteArray bytes;
    } damaged[] = {
        {"empty", {}},
        {"cut short", good.left(good.size() - 1)},
        {"a byte too many", good + '\0'},
        {"wrong signature", with(0, 'X')},
        {"no kanji", with(6, 0)},
        {"a stroke of one point", with(12, 1)},
        {"more points than the file holds", with(12, 60)},
        {"stroke count zero", with(10, 0)},
    };
    for (const auto &d : damaged) {
        try {
            CentreLines::fromBytes(d.bytes);
            ADD_FAILURE() << d.name << " was read";
        } catch (const FileError &e) {
            EXPECT_TRUE(e.message().startsWith(CentreLinesFile)) << d.name;
        }
    }
    EXPECT_THROW(CentreLines::toBytes({{7, {{{1, 1}}}}}), FileError) << "a stroke needs two points";
}

TEST(CentreLinesFile, EveryKanjiHasItsStrokesAndTheBentOnesFollowTheirBends)
{
    Catalogue cat;
    loadCatalogue(cat, programDir());
    EXPECT_NO_THROW(requireCentreLinesOfEveryKanji(shipped(), cat));

    // Right then down (横折), or down then right (縦折): the right side of
    // every box shape, and the corner of 山.
    const struct {
        const char *glyph;
        int stroke; // from 0
        bool acrossFirst;
    } bent[] = {{"口", 1, true}, {"山", 1, false}, {"日", 1, true}, {"田", 1, true}, {"里", 1, true},
                {"右", 3, true}, {"円", 1, true},  {"四", 1, true}, {"中", 1, true}, {"名", 4, true},
                {"石", 3, true}, {"古", 3, true},  {"回", 1, true}, {"語", 12, true}};
    for (const auto &b : bent) {
        const StrokePath path = shipped().of(kanjiNumber(b.glyph))[b.stroke];
        const QPointF from = path.first(), to = path.last();
        // The far side of the bend: the stroke's rightmost x along its top,
        // or its lowest y below its start.
        double far = b.acrossFirst ? from.x() : from.y();
        for (const QPointF &q : path)
            far = std::max(far, b.acrossFirst ? q.x() : q.y());
        const QPointF corner = b.acrossFirst ? QPointF(far, from.y()) : QPointF(from.x(), far);
        EXPECT_TRUE(passesNear(path, corner)) << b.glyph << " stroke " << b.stroke + 1;
        // The guard: a straight line between the ends misses that corner.
        EXPECT_FALSE(passesNear({from, to}, corner)) << b.glyph;
        // And the corner is sharp, not cut by a slant; the guard: the same
        // stroke with its corner cut is not.
        EXPECT_TRUE(turnsSharply(path, b.acrossFirst)) << b.glyph << " stroke " << b.stroke + 1;
        EXPECT_FALSE(turnsSharply(cutCorner(path, b.acrossFirst), b.acrossFirst)) << b.glyph;
    }
    for (const char *straight : {"一", "二", "三", "十"})
        for (const StrokePath &p : shipped().of(kanjiNumber(straight)))
            EXPECT_LT(straying(p), 0.05 * InkSide) << straight;
}

TEST(CentreLinesFile, StrokeNumbersNeitherOverlapNorSitOnAStroke)
{
    // The number box of the stroke-order window, in the strokes' units.
    const QSizeF box(22, 18);
    int overlapping = 0, onStroke = 0, numbers = 0;
    for (int k = 1; k <= 240; ++k) {
        const StrokePaths paths = shipped().of(k);
        const QVector<QPointF> places = strokeNumberPlaces(paths, box, 5);
        ASSERT_EQ(places.size(), paths.size());
        QVector<QRectF> boxes;
        for (const QPointF &c : places) {
            QRectF r(QPointF(), box);
            r.moveCenter(c);
            boxes << r;
        }
        const QString glyph = cp932::toUnicode(shippedCatalogue().KanjiTable[k].Glyph);
        const bool checked =
            glyph == QStringLiteral("米") || glyph == QStringLiteral("何") || glyph == QStringLiteral("顔");
        for (int i = 0; i < boxes.size(); ++i) {
            ++numbers;
            for (int j = 0; j < i; ++j)
                if (boxes[i].intersects(boxes[j])) {
                    ++overlapping;
                    EXPECT_FALSE(checked) << qPrintable(glyph) << " numbers " << j + 1 << " and " << i + 1;
                }
            bool on = false;
            for (const InkStroke &s : inkFromCentreLines(paths, 2))
                for (const QPointF &q : s)
                    on = on || boxes[i].contains(q);
            onStroke += on;
        }
    }
    // Where a crowded kanji leaves no room, a number may touch a stroke's
    // line (65 of 1718 when this was written); two numbers never overlap.
    EXPECT_EQ(overlapping, 0);
    EXPECT_LT(onStroke, numbers / 20) << onStroke << " of " << numbers;
}
