// The writing square's costs: the candidates after each stroke (the taught
// kanji's model, the shipped catalogue and strokes), the model's opening, and
// the memory the recogniser takes once it has recognised. And the quality
// table: per way of writing, zinnia alone, the shape comparison alone and the
// two combined, on the independent ink and on the ink the weights were tuned
// on (drawn from Kakijun1.dat).
#include "data/catalogue.h"
#include "handwriting/handwriting.h"
#include "handwriting/strokeorder.h"
#include "handwriting/zinniamodel.h"
#include "tests/handwriting/inkquality.h"
#include <QCoreApplication>
#include <QFile>
#include <benchmark/benchmark.h>
#include <memory>

using namespace fm;

namespace
{

const QString kProgramDir = QStringLiteral(FUDEMARU_BIN_DIR);

const Catalogue &catalogue()
{
    static const std::unique_ptr<Catalogue> cat = [] {
        auto c = std::make_unique<Catalogue>();
        loadCatalogue(*c, kProgramDir);
        return c;
    }();
    return *cat;
}

// The first taught kanji of that many strokes.
int kanjiWithStrokes(int strokes)
{
    for (int k = 1; k <= MaxKanjiNumber; ++k)
        if (catalogue().KanjiTable[k].Strokes == strokes)
            return k;
    return 0;
}

// The process's resident memory in kB (VmRSS of /proc/self/status).
double residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    return 0;
}

std::unique_ptr<ZinniaHandwriting> openedService(benchmark::State &bs)
{
    auto hw = std::make_unique<ZinniaHandwriting>(catalogue(), kProgramDir);
    hw->open();
    hw->waitOpened();
    if (hw->status() != Handwriting::Status::Ready)
        bs.SkipWithError(qPrintable(QStringLiteral("no recogniser: ") + hw->problem()));
    return hw;
}

// The candidates after the last stroke of a kanji of 10 strokes, exactly
// as the square asks for them: zinnia's 300 guesses, the ranking with the
// shape of every taught kanji.
void BM_CandidatesAfterStroke(benchmark::State &bs)
{
    const auto hw = openedService(bs);
    const int k = kanjiWithStrokes(int(bs.range(0)));
    const Ink ink = inkFromReference(hw->reference(k));
    for (auto _ : bs)
        benchmark::DoNotOptimize(hw->candidates(ink, 7));
}
BENCHMARK(BM_CandidatesAfterStroke)->Arg(1)->Arg(5)->Arg(10)->Arg(16)->Unit(benchmark::kMillisecond);

// The parts of it: zinnia's classification alone, and the ranking alone,
// both on a kanji of ten strokes drawn from its reference strokes.
const QString kShippedModel = kProgramDir + '/' + HandwritingModelFile;

struct TenStrokes {
    QString error; // before the recogniser, which writes it
    std::unique_ptr<Recognizer> recognizer;
    ReferenceStrokes strokes;
    Ink ink;
    explicit TenStrokes(const QString &model = kShippedModel)
        : recognizer(openZinniaModel(model, &error)), strokes(ReferenceStrokes::load(kProgramDir)),
          ink(inkFromReference(strokes.of(kanjiWithStrokes(10))))
    {
    }
};

void BM_ZinniaClassify10Strokes(benchmark::State &bs)
{
    const TenStrokes t;
    if (!t.recognizer)
        return bs.SkipWithError(qPrintable(t.error));
    for (auto _ : bs)
        benchmark::DoNotOptimize(t.recognizer->classify(t.ink, RecognizerGuessCount));
}
BENCHMARK(BM_ZinniaClassify10Strokes)->Unit(benchmark::kMillisecond);

// The same with the full installed model (6,420 characters), for comparison.
void BM_ZinniaClassify10StrokesFullModel(benchmark::State &bs)
{
    const TenStrokes t(findHandwritingModel());
    if (!t.recognizer)
        return bs.SkipWithError(qPrintable(t.error));
    for (auto _ : bs)
        benchmark::DoNotOptimize(t.recognizer->classify(t.ink, RecognizerGuessCount));
}
BENCHMARK(BM_ZinniaClassify10StrokesFullModel)->Unit(benchmark::kMillisecond);

// The whole model checked before zinnia may read it, as on every opening.
void BM_CheckModel(benchmark::State &bs)
{
    QFile f(kShippedModel);
    if (!f.open(QIODevice::ReadOnly))
        return bs.SkipWithError("no Tegaki1.model");
    const QByteArray bytes = f.readAll();
    for (auto _ : bs)
        benchmark::DoNotOptimize(zinniaModelProblem(bytes));
}
BENCHMARK(BM_CheckModel)->Unit(benchmark::kMillisecond);

void BM_Ranking10Strokes(benchmark::State &bs)
{
    const TenStrokes t;
    if (!t.recognizer)
        return bs.SkipWithError(qPrintable(t.error));
    const QVector<RecognizerGuess> guesses = t.recognizer->classify(t.ink, RecognizerGuessCount);
    for (auto _ : bs)
        benchmark::DoNotOptimize(rankCandidates(guesses, t.ink, catalogue(), t.strokes, 7));
}
BENCHMARK(BM_Ranking10Strokes)->Unit(benchmark::kMillisecond);

// What open() does in its thread: the model and the stroke file.
void BM_OpenModelAndStrokes(benchmark::State &bs)
{
    for (auto _ : bs) {
        const auto hw = openedService(bs);
        benchmark::DoNotOptimize(hw->status());
    }
}
BENCHMARK(BM_OpenModelAndStrokes)->Unit(benchmark::kMillisecond);

// The memory before the service exists, once it is made (nothing opened),
// once opened, and after the first recognition: the model is mapped from
// the file and comes into memory as recognition reads it.
void BM_ResidentMemory(benchmark::State &bs)
{
    catalogue(); // the program has it loaded long before
    for (auto _ : bs) {
        const double before = residentKb();
        ZinniaHandwriting hw(catalogue(), kProgramDir);
        const double made = residentKb();
        hw.open();
        hw.waitOpened();
        const double opened = residentKb();
        benchmark::DoNotOptimize(hw.candidates(inkFromReference(hw.reference(kanjiWithStrokes(10))), 7));
        const double recognised = residentKb();
        bs.counters["before_MB"] = before / 1024;
        bs.counters["made_MB"] = made / 1024;
        bs.counters["opened_MB"] = opened / 1024;
        bs.counters["recognised_MB"] = recognised / 1024;
    }
}
BENCHMARK(BM_ResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// The quality table, printed (one run): for each way of writing, first and
// among five by zinnia alone, by the shape comparison alone and combined.
void printTable(const char *title, const Recognizer &recognizer, const ReferenceStrokes &strokes,
                const std::function<std::optional<Ink>(int)> &source)
{
    const Catalogue &cat = catalogue();
    QVector<int> kanji;
    for (int k = 1; k <= KanjiCount; ++k) {
        const std::optional<Ink> ink = source(k);
        if (ink && ink->size() == cat.KanjiTable[k].Strokes)
            kanji.push_back(k);
    }
    std::printf("\n%s: %lld kanji\n| how it is written | zinnia alone | shape alone | combined "
                "|\n|---|---|---|---|\n",
                title, static_cast<long long>(kanji.size()));
    for (const test::InkVariant &v : test::childVariants()) {
        QString row = QStringLiteral("| %1 |").arg(QString::fromUtf8(v.name));
        for (const test::Ranker r :
             {test::Ranker::ZinniaAlone, test::Ranker::ShapeAlone, test::Ranker::Combined}) {
            const test::Tally t = test::measure(recognizer, strokes, v, r, {}, kanji, source);
            row += QStringLiteral(" %1 / %2 |")
                       .arg(100.0 * t.firstShare(), 0, 'f', 1)
                       .arg(100.0 * t.fiveShare(), 0, 'f', 1);
        }
        std::printf("%s\n", qPrintable(row));
    }
}

void BM_QualityTable(benchmark::State &bs)
{
    const TenStrokes t;
    if (!t.recognizer)
        return bs.SkipWithError(qPrintable(t.error));
    for (auto _ : bs) {
        if (!test::independentInkDir().isEmpty())
            printTable("independent ink (first % / among five %)", *t.recognizer, t.strokes, [](int k) {
                return test::independentInk(cp932::toUnicode(catalogue().KanjiTable[k].Glyph));
            });
        printTable("ink drawn from Kakijun1.dat, what the weights are tuned on", *t.recognizer, t.strokes,
                   [&](int k) -> std::optional<Ink> { return inkFromReference(t.strokes.of(k)); });
    }
}
BENCHMARK(BM_QualityTable)->Iterations(1)->Unit(benchmark::kMillisecond);

// The look-alikes on the independent ink: for each kanji of a group, drawn
// plainly, at half size in a corner and wobbly, the five candidates.
void BM_LookAlikes(benchmark::State &bs)
{
    const TenStrokes t;
    if (!t.recognizer || test::independentInkDir().isEmpty())
        return bs.SkipWithError("no recogniser or no independent ink");
    const QStringList groups{QStringLiteral("上土工"),    QStringLiteral("七入"), QStringLiteral("刀力"),
                             QStringLiteral("日目月"),    QStringLiteral("王玉"), QStringLiteral("細組"),
                             QStringLiteral("口田日回四")};
    const QVector<test::InkVariant> &v = test::childVariants();
    const test::InkVariant *ways[] = {&v[0], &v[4], &v[8]};
    for (auto _ : bs) {
        std::printf("\n| kanji | %s | %s | %s |\n|---|---|---|---|\n", ways[0]->name, ways[1]->name,
                    ways[2]->name);
        for (const QString &group : groups)
            for (const QChar c : group) {
                const std::optional<Ink> ink = test::independentInk(QString(c));
                const int k = test::kanjiNumber(QString(c).toUtf8().constData());
                if (!ink || k == 0) {
                    std::printf("| %s | not in the independent ink | | |\n", qPrintable(QString(c)));
                    continue;
                }
                QString row = QStringLiteral("| %1 |").arg(c);
                for (const test::InkVariant *w : ways) {
                    const Ink drawn = test::clampedToSquare(w->draw(*ink, 7000u + unsigned(k)));
                    QStringList shown;
                    for (const int n : candidatesFor(*t.recognizer, drawn, catalogue(), t.strokes, 0))
                        shown << cp932::toUnicode(catalogue().KanjiTable[n].Glyph);
                    row += QLatin1Char(' ') + shown.join(QString()) + QStringLiteral(" |");
                }
                std::printf("%s\n", qPrintable(row));
            }
    }
}
BENCHMARK(BM_LookAlikes)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
