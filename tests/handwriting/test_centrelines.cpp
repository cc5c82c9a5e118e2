// The stroke centre lines traced when the program is built (Hitsujun1.dat):
// a damaged file is refused by name, the bent strokes a teacher checked
// follow their bends and turn sharply, and the stroke numbers stand clear,
// each by its own stroke's start.
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

double distanceToBox(const QRectF &r, QPointF p)
{
    return std::hypot(std::max({r.left() - p.x(), 0.0, p.x() - r.right()}),
                      std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()}));
}

// What a kanji's stroke numbers do wrong, each number counted once for
// each fault.
struct NumberFaults {
    int overlapping = 0; // two numbers on one another
    int runTogether = 0; // side by side under 4 units apart: "4" "10" reads 410
    int onStroke = 0;    // within half a pen's width of a stroke's centre line
    int misleading = 0;  // as near another stroke's start as its own
    bool operator==(const NumberFaults &) const = default;
    NumberFaults &operator+=(const NumberFaults &o)
    {
        overlapping += o.overlapping;
        runTogether += o.runTogether;
        onStroke += o.onStroke;
        misleading += o.misleading;
        return *this;
    }
};

std::ostream &operator<<(std::ostream &os, const NumberFaults &f)
{
    return os << "overlapping " << f.overlapping << ", run together " << f.runTogether << ", on a stroke "
              << f.onStroke << ", misleading " << f.misleading;
}

NumberFaults faultsOf(const StrokePaths &paths, const QVector<QRectF> &boxes, double halfWidth)
{
    NumberFaults f;
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        for (qsizetype j = 0; j < i; ++j) {
            if (boxes[i].intersects(boxes[j]))
                ++f.overlapping;
            else if (boxes[i].adjusted(-2, 0, 2, 0).intersects(boxes[j].adjusted(-2, 0, 2, 0)))
                ++f.runTogether;
        }
        bool on = false;
        for (const InkStroke &s : inkFromCentreLines(paths, 0.5))
            for (const QPointF &q : s)
                on = on || distanceToBox(boxes[i], q) < halfWidth;
        f.onStroke += on;
        // Starts closer than a stroke is wide look like one point (the
        // first two of 口): there the way each stroke leaves it counts.
        const QPointF c = boxes[i].center();
        for (qsizetype j = 0; j < paths.size(); ++j) {
            QPointF mine = paths[i].first(), theirs = paths[j].first();
            if (QLineF(mine, theirs).length() < 12) {
                mine = pointAlong(paths[i], 12);
                theirs = pointAlong(paths[j], 12);
            }
            if (j != i && QLineF(c, theirs).length() <= QLineF(c, mine).length()) {
                ++f.misleading;
                break;
            }
        }
    }
    return f;
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

TEST(CentreLinesFile, StrokeNumbersStandClearAndByTheirOwnStrokes)
{
    // The number box of the stroke-order window and half its pen's width,
    // in the strokes' units.
    const QSizeF box(22, 18);
    const double halfWidth = 5;
    NumberFaults all, guard;
    int numbers = 0;
    for (int k = 1; k <= 240; ++k) {
        const StrokePaths paths = shipped().of(k);
        const QVector<QRectF> boxes = strokeNumberBoxes(paths, box, halfWidth);
        ASSERT_EQ(boxes.size(), paths.size());
        const QString glyph = cp932::toUnicode(shippedCatalogue().KanjiTable[k].Glyph);
        for (const QRectF &r : boxes)
            EXPECT_TRUE(QRectF(0, 0, InkSide, InkSide).contains(r)) << qPrintable(glyph);
        numbers += int(boxes.size());
        const NumberFaults f = faultsOf(paths, boxes, halfWidth);
        all += f;
        // A teacher's examples: 米's 5 and 6 on the strokes, 何's "23" and
        // 顔's "410" and "1718" run together.
        if (glyph == QStringLiteral("米") || glyph == QStringLiteral("何") || glyph == QStringLiteral("顔")) {
            EXPECT_EQ(f, NumberFaults{}) << qPrintable(glyph);
        }
        // The guard: every number on the next stroke's start.
        QVector<QRectF> misplaced;
        for (qsizetype i = 0; i < paths.size(); ++i) {
            QRectF r(QPointF(), box);
            r.moveCenter(paths[(i + 1) % paths.size()].first());
            misplaced << r;
        }
        guard += faultsOf(paths, misplaced, halfWidth);
    }
    EXPECT_EQ(all.overlapping, 0);
    EXPECT_EQ(all.runTogether, 0);
    EXPECT_EQ(all.misleading, 0);
    // Only where every place nearer the stroke's own start than any other's
    // lies on a line (the crossings of 森 and 場) does a number touch one:
    // 5 of 1718 numbers when this was written.
    EXPECT_LE(all.onStroke, 5) << all.onStroke << " of " << numbers;
    EXPECT_EQ(guard.onStroke, numbers);
    EXPECT_GT(guard.misleading, numbers * 3 / 4);
    EXPECT_GT(guard.overlapping + guard.runTogether, 0);
}
