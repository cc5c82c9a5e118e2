#include "records/chart/progresschart.h"
#include "data/cp932.h"
#include "data/datetime.h"
#include "data/progress.h"
#include "data/roster.h"
#include "data/state.h"
#include <QHash>
#include <algorithm>
#include <cmath>
#include <memory>

namespace fm::chart
{

namespace
{

bool above(const LevelKind &a, const LevelKind &b)
{
    return a.Level != b.Level ? a.Level > b.Level : a.Kind > b.Kind;
}

// The spans of days one mark may average, shortest first.
constexpr int BucketChoices[] = {1, 2, 7, 14, 30, 61, 91, 182, 365, 730, 1461, 3652, 36525, 365250};

int series(StudyKind kind, StudyMode mode)
{
    return (fileValue(kind) - 1) * 2 + (fileValue(mode) - 1); // 0..3
}

} // namespace

bool isDated(double time)
{
    // Days of the years 1..9999, the dates shortDate() writes; compared as
    // numbers, as a log of 10,000 tests asks it 10,000 times.
    // (Day numbers count from 1899-12-30 and drop their fraction toward zero.)
    constexpr double BeforeFirst = -693594; // 0000-12-31
    constexpr double AfterLast = 2958466;   // 10000-01-01
    return std::isfinite(time) && time > BeforeFirst && time < AfterLast;
}

QVector<WeakKanji> weakKanji(const ProgressTable &progress, int reachedLevel)
{
    const int lastLevel = std::clamp(reachedLevel, 1, LevelCount);
    QVector<WeakKanji> weak;
    for (int k = 1; k <= lastKanjiOf(lastLevel); ++k)
        for (const StudyKind kind : {StudyKind::Reading, StudyKind::Writing}) {
            const ProgressCell &c = progress[k][fileValue(kind)];
            if (c.AskedCount > 0 && c.CorrectCount < c.AskedCount)
                weak.push_back({k, kind, c.AskedCount, c.CorrectCount, {}});
        }
    std::stable_sort(weak.begin(), weak.end(), [](const WeakKanji &a, const WeakKanji &b) {
        // right / asked compared without division
        const qint64 l = qint64(a.right) * b.asked;
        const qint64 r = qint64(b.right) * a.asked;
        if (l != r)
            return l < r;
        return a.asked > b.asked;
    });
    if (weak.size() > MaxWeakKanji)
        weak.resize(MaxWeakKanji);
    return weak;
}

ProgressChart buildProgressChart(const QVector<StudyRecord> &records)
{
    ProgressChart chart;
    LevelCounter walk;
    LevelKind best = walk.reached();
    bool anyDated = false;
    for (int i = 0; i < records.size(); ++i) {
        const StudyRecord &r = records[i];
        if (!isValidRecord(r))
            continue;
        if (isDated(r.Time)) {
            chart.tests.push_back({r.Time, r.rightCount(), r.Kind, r.Mode});
            chart.first = anyDated ? std::min(chart.first, r.Time) : r.Time;
            chart.last = anyDated ? std::max(chart.last, r.Time) : r.Time;
            anyDated = true;
        } else {
            ++chart.undated;
        }
        walk.take(r);
        // Only a new height is a rise: a log that goes back to an earlier
        // level and up again shows each level reached once.
        const LevelKind after = walk.reached();
        if (above(after, best)) {
            chart.rises.push_back({i, r.Time, after});
            best = after;
        }
    }
    chart.reached = walk.reached();

    // The same progress the per-kanji results show, in a state of its own so
    // the current player's table is left alone.
    auto state = std::make_unique<AppState>();
    state->Players.PlayerCount = 1;
    selectPlayerFromRecords(*state, 1, records);
    chart.weak = weakKanji(state->Progress, chart.reached.Level);
    return chart;
}

QString chartTitle(const QByteArray &name)
{
    return shownName(name) + QStringLiteral("のグラフ");
}

void nameGlyphs(ProgressChart &chart, const Catalogue &catalogue)
{
    for (WeakKanji &w : chart.weak)
        if (w.kanji >= 1 && w.kanji <= MaxKanjiNumber)
            w.glyph = cp932::toUnicode(catalogue.KanjiTable[w.kanji].Glyph);
}

ChartMarks chartMarks(const ProgressChart &chart, int places)
{
    ChartMarks out;
    places = std::max(1, places);
    const double span = chart.last - chart.first;
    auto placeOf = [&](double t) {
        return span > 0 ? std::clamp(int((t - chart.first) / span * places), 0, places - 1) : 0;
    };
    QHash<qint64, int> taken;
    bool crowded = false;
    for (const TestPoint &t : chart.tests) {
        if (++taken[qint64(placeOf(t.time)) * 4 + series(t.kind, t.mode)] > 1) {
            crowded = true;
            break;
        }
    }
    if (!crowded) {
        for (const TestPoint &t : chart.tests)
            out.marks.push_back({t.time, double(t.right), t.kind, t.mode, 1});
        return out;
    }

    out.bucketDays = BucketChoices[std::size(BucketChoices) - 1];
    for (const int b : BucketChoices)
        if (b >= span / places) {
            out.bucketDays = b;
            break;
        }
    const double day0 = std::floor(chart.first);
    // Bucket and series -> sums, in order of first appearance.
    struct Sum {
        double time = 0;
        double right = 0;
        int tests = 0;
        StudyKind kind = StudyKind::Reading;
        StudyMode mode = StudyMode::Challenge;
    };
    QHash<qint64, int> index;
    QVector<Sum> sums;
    for (const TestPoint &t : chart.tests) {
        const qint64 bucket = qint64((std::floor(t.time) - day0) / out.bucketDays);
        const qint64 key = bucket * 4 + series(t.kind, t.mode);
        auto it = index.find(key);
        if (it == index.end()) {
            it = index.insert(key, int(sums.size()));
            sums.push_back({0, 0, 0, t.kind, t.mode});
        }
        Sum &s = sums[*it];
        s.time += t.time;
        s.right += t.right;
        ++s.tests;
    }
    out.marks.reserve(sums.size());
    for (const Sum &s : sums)
        out.marks.push_back({s.time / s.tests, s.right / s.tests, s.kind, s.mode, s.tests});
    return out;
}

} // namespace fm::chart
