#include "handwriting/strokeorder.h"
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

// Each stroke is reduced to its start and end point, placed in the unit
// square by its drawing's bounding box (the child's ink and the reference
// each by their own, one scale for both axes so that a flat kanji like 一
// keeps its shape). The strokes are then paired with the reference strokes
// in the way that fits best overall. The order differs only when pairing the
// child's strokes with the reference strokes in the order written fits
// clearly worse than that best pairing: a wobbly but rightly ordered kanji,
// or one whose strokes are nearly alike, is never told it is wrong.
//
// A stroke drawn backwards (from its end to its start) is paired just as
// well as one drawn forwards: the direction of a stroke is not its order,
// and a six-year-old's 一 drawn from the right is not worth a remark here.

namespace fm
{

namespace
{

struct Ends {
    QPointF from, to;
};

// How much worse, in unit-square distance summed over both ends of the
// strokes, the order written may fit than the best pairing.
constexpr double kOrderSlack = 0.3;

// Places `strokes` in the unit square by the extent of `by` (one scale for
// both axes, centred).
QVector<Ends> placedBy(QVector<Ends> strokes, const QVector<Ends> &by)
{
    double left = std::numeric_limits<double>::max(), top = left;
    double right = std::numeric_limits<double>::lowest(), bottom = right;
    for (const Ends &e : by)
        for (const QPointF &p : {e.from, e.to}) {
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
    const double side = std::max({right - left, bottom - top, 1.0});
    const QPointF centre((left + right) / 2, (top + bottom) / 2);
    for (Ends &e : strokes) {
        e.from = (e.from - centre) / side + QPointF(0.5, 0.5);
        e.to = (e.to - centre) / side + QPointF(0.5, 0.5);
    }
    return strokes;
}

QVector<Ends> normalised(const QVector<Ends> &strokes)
{
    return placedBy(strokes, strokes);
}

// Plain sqrt: std::hypot's care for overflow costs several times as much,
// and the candidates take hundreds of thousands of these per stroke.
double distance(const QPointF &a, const QPointF &b)
{
    const double dx = a.x() - b.x(), dy = a.y() - b.y();
    return std::sqrt(dx * dx + dy * dy);
}

double cost(const Ends &child, const Ends &ref)
{
    const double forwards = distance(child.from, ref.from) + distance(child.to, ref.to);
    const double backwards = distance(child.from, ref.to) + distance(child.to, ref.from);
    return std::min(forwards, backwards);
}

// The least total cost of pairing rows with columns one to one (the
// Hungarian method with potentials, O(n^3); n is at most a kanji's strokes).
double bestPairingCost(const std::vector<std::vector<double>> &a, std::vector<int> *rowOfColumn = nullptr)
{
    const int n = int(a.size());
    if (n == 0)
        return 0;
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> u(n + 1, 0), v(n + 1, 0);
    std::vector<int> p(n + 1, 0), way(n + 1, 0);
    std::vector<double> minv;
    std::vector<char> used;
    for (int i = 1; i <= n; ++i) {
        p[0] = i;
        int j0 = 0;
        minv.assign(n + 1, inf);
        used.assign(n + 1, 0);
        do {
            used[j0] = true;
            const int i0 = p[j0];
            double delta = inf;
            int j1 = 0;
            for (int j = 1; j <= n; ++j)
                if (!used[j]) {
                    const double cur = a[i0 - 1][j - 1] - u[i0] - v[j];
                    if (cur < minv[j]) {
                        minv[j] = cur;
                        way[j] = j0;
                    }
                    if (minv[j] < delta) {
                        delta = minv[j];
                        j1 = j;
                    }
                }
            for (int j = 0; j <= n; ++j)
                if (used[j]) {
                    u[p[j]] += delta;
                    v[j] -= delta;
                } else {
                    minv[j] -= delta;
                }
            j0 = j1;
        } while (p[j0] != 0);
        do {
            const int j1 = way[j0];
            p[j0] = p[j1];
            j0 = j1;
        } while (j0);
    }
    double total = 0;
    for (int j = 1; j <= n; ++j)
        total += a[p[j] - 1][j - 1];
    if (rowOfColumn) {
        rowOfColumn->assign(n, 0);
        for (int j = 1; j <= n; ++j)
            (*rowOfColumn)[j - 1] = p[j] - 1;
    }
    return total;
}

// What a drawn stroke that no reference stroke explains costs: both ends a
// square's side away.
constexpr double kExtraStrokeCost = 2.0;
constexpr int kPairedStrokesSlack = 5;

} // namespace

namespace
{

// The drawn strokes' ends and the reference's, both placed by their own
// extent; while the kanji is half written, the reference's extent is that of
// its strokes so far, so that its first stroke drawn alone fits as well as
// the whole kanji drawn.
struct Placed {
    QVector<Ends> drawn, reference;
};

Placed placedForComparison(const Ink &child, const ReferenceStrokeList &reference)
{
    Placed out;
    for (const InkStroke &s : child)
        if (!s.isEmpty())
            out.drawn.push_back({s.first(), s.last()});
    out.drawn = normalised(out.drawn);
    for (const ReferenceStroke &s : reference)
        out.reference.push_back({s.from, s.to});
    if (!out.reference.isEmpty())
        out.reference =
            placedBy(out.reference, out.reference.first(std::min(out.drawn.size(), out.reference.size())));
    return out;
}

// Square: drawn strokes are rows; columns are the reference strokes and, for
// drawn strokes beyond them, "no stroke" at the extra cost. Rows of nothing
// drawn pair with the reference strokes still to come for free.
std::vector<std::vector<double>> pairingCosts(const Placed &p)
{
    const int n = int(std::max(p.drawn.size(), p.reference.size()));
    std::vector<std::vector<double>> costs(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < p.drawn.size(); ++i)
        for (int j = 0; j < n; ++j)
            costs[i][j] = j < p.reference.size() ? cost(p.drawn[i], p.reference[j]) : kExtraStrokeCost;
    return costs;
}

} // namespace

double strokeShapeDistance(const Ink &child, const ReferenceStrokeList &reference)
{
    const qsizetype drawn =
        std::count_if(child.begin(), child.end(), [](const InkStroke &s) { return !s.isEmpty(); });
    if (drawn == 0)
        return -1;
    // Far more strokes than the kanji has: nothing to pair closely, and a
    // scribble of hundreds of strokes must not cost a cubic pairing.
    if (drawn > reference.size() + kPairedStrokesSlack)
        return kExtraStrokeCost;
    // Where and how large the child wrote does not matter: the drawing and
    // the reference are each placed in the unit square by their own extent.
    return bestPairingCost(pairingCosts(placedForComparison(child, reference))) / double(drawn);
}

std::optional<Ink> inkInReferenceOrder(const Ink &child, const ReferenceStrokeList &reference, int *slips)
{
    if (slips)
        *slips = 0;
    Ink drawn;
    for (const InkStroke &s : child)
        if (!s.isEmpty())
            drawn.push_back(s);
    if (drawn.isEmpty() || drawn.size() > reference.size())
        return std::nullopt;
    const Placed p = placedForComparison(drawn, reference);
    std::vector<int> rowOf;
    bestPairingCost(pairingCosts(p), &rowOf);
    Ink out;
    int moved = 0;
    for (int j = 0; j < reference.size(); ++j) {
        const int i = rowOf[j];
        if (i >= drawn.size())
            continue;
        InkStroke s = drawn[i];
        const Ends &d = p.drawn[i], &r = p.reference[j];
        if (distance(d.from, r.to) + distance(d.to, r.from) <
            distance(d.from, r.from) + distance(d.to, r.to)) {
            std::reverse(s.begin(), s.end());
            ++moved;
        }
        moved += i != out.size();
        out.push_back(s);
    }
    if (moved == 0)
        return std::nullopt;
    if (slips)
        *slips = moved;
    return out;
}

StrokeOrderVerdict compareStrokeOrder(const Ink &child, const ReferenceStrokeList &reference)
{
    QVector<Ends> drawn;
    for (const InkStroke &s : child)
        if (!s.isEmpty())
            drawn.push_back({s.first(), s.last()});
    if (drawn.size() != reference.size())
        return StrokeOrderVerdict::CountDiffers;
    if (drawn.size() < 2)
        return StrokeOrderVerdict::Same;
    QVector<Ends> ref;
    for (const ReferenceStroke &s : reference)
        ref.push_back({s.from, s.to});
    drawn = normalised(drawn);
    ref = normalised(ref);

    const int n = int(drawn.size());
    std::vector<std::vector<double>> costs(n, std::vector<double>(n));
    double asWritten = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            costs[i][j] = cost(drawn[i], ref[j]);
        asWritten += costs[i][i];
    }
    return asWritten - bestPairingCost(costs) > kOrderSlack ? StrokeOrderVerdict::OrderDiffers
                                                            : StrokeOrderVerdict::Same;
}

} // namespace fm
