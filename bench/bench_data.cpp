// Load, selection and recording on a full program directory: 240 kanji, the
// 240-entry question index and ten players with 10,000 log records each.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/progress.h"
#include "data/settings.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

using namespace fm;

namespace
{

constexpr int kLogRecords = 10000;

void writeFile(const QString &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(QDir(dir).filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::abort();
}

struct ProgramDir {
    QTemporaryDir tmp;
    ProgramDir()
    {
        const QString dir = tmp.path();
        std::mt19937 rng(7);
        QVector<BushuRecord> parts;
        for (int g = 1; g <= 8; ++g)
            for (int p = 1; p <= 10; ++p)
                parts.push_back(
                    {static_cast<int16_t>(g), 0, static_cast<int16_t>(p), static_cast<int16_t>(g * 10 + p)});
        writeFile(dir, "Bushu1.dat", encodeBushuRecords(parts));
        const QByteArray glyph = cp932::fromUnicode(QStringLiteral("字"));
        QVector<KanjiRecord> kanji;
        QVector<QuestionIndexEntry> index;
        for (int k = 1; k <= 240; ++k) {
            kanji.push_back({static_cast<int16_t>(k), static_cast<uint8_t>(glyph[0]),
                             static_cast<uint8_t>(glyph[1]), static_cast<int16_t>(1 + k % 16),
                             static_cast<int16_t>(1 + k % 8), static_cast<int16_t>(1 + k % 10),
                             static_cast<int16_t>(k % 3 ? 1 + (k / 8) % 8 : 0),
                             static_cast<int16_t>(1 + k % 7)});
            index.push_back({0, static_cast<int16_t>(3 * k - 2), 3});
        }
        writeFile(dir, "Kanji1.dat", encodeKanjiRecords(kanji));
        writeFile(dir, "Mondai2.dat", encodeQuestionIndex(index));
        Roster roster;
        for (int n = 1; n <= 10; ++n)
            addPlayer(roster, cp932::fromUnicode(QStringLiteral("なまえ%1").arg(n)));
        saveRoster(roster, dir);
        for (int n = 1; n <= 10; ++n) {
            QByteArray log;
            log.reserve(kLogRecords * StudyRecordSize);
            for (int i = 0; i < kLogRecords; ++i) {
                StudyRecord r;
                r.Mode = i % 5 ? StudyMode::Challenge : StudyMode::Practice;
                r.Level = static_cast<int16_t>(1 + (i / 200) % 12);
                r.Kind = (i / 100) % 2 ? StudyKind::Writing : StudyKind::Reading;
                r.Time = 46000 + i / 10.0;
                for (int q = 1; q <= 10; ++q) {
                    r.Kanji[q] = static_cast<int16_t>(20 * (r.Level - 1) + 1 + rng() % 20);
                    r.Correct[q] = rng() % 3 ? 1 : 0;
                }
                r.Counted = r.rightCount() >= 7;
                log += encodeStudyRecord(r);
            }
            writeFile(dir, logFileName(n), log);
        }
    }
    QString path() const { return tmp.path(); }
};

ProgramDir &fixture()
{
    static ProgramDir dir;
    return dir;
}

void BM_FullLoad(benchmark::State &st)
{
    const QString dir = fixture().path();
    auto state = std::make_unique<AppState>();
    state->ProgramDir = dir;
    const QString ini = QDir(dir).filePath("Fudemaru.ini");
    for (auto _ : st) {
        readSettings(state->Settings, ini);
        loadCatalogue(state->Cat, dir);
        loadRoster(state->Players, dir);
        rebuildLevels(state->Players, dir);
        loadQuestionIndex(state->Bank, dir);
        benchmark::DoNotOptimize(state->Players.PlayerTable[10].Level);
    }
}
BENCHMARK(BM_FullLoad)->Unit(benchmark::kMillisecond);

void BM_SelectPlayer(benchmark::State &st)
{
    auto state = std::make_unique<AppState>();
    state->ProgramDir = fixture().path();
    state->DataDir = fixture().path();
    loadRoster(state->Players, state->DataDir);
    for (auto _ : st) {
        selectPlayer(*state, 3);
        benchmark::DoNotOptimize(state->LevelCorrectCount);
    }
}
BENCHMARK(BM_SelectPlayer)->Unit(benchmark::kMicrosecond);

// The test is synced to disk before the grading screen goes on: this is
// what a child waits for after the last answer (the temporary directory
// lies on the machine's disk).
void BM_RecordTest(benchmark::State &st)
{
    auto state = std::make_unique<AppState>();
    QTemporaryDir tmp;
    state->ProgramDir = tmp.path();
    state->DataDir = tmp.path();
    addPlayer(state->Players, "a");
    state->CurrentPlayer = 1;
    state->ChallengeMode = true;
    for (int i = 1; i <= 10; ++i) {
        state->QuestionSlots[i].Kanji = static_cast<int16_t>(i);
        state->QuestionSlots[i].Correct = i % 2;
    }
    for (auto _ : st) {
        recordTest(*state, true, 46000.0);
        benchmark::DoNotOptimize(state->LevelUpFlag);
    }
}
BENCHMARK(BM_RecordTest)->Unit(benchmark::kMicrosecond);

void BM_SaveRoster(benchmark::State &st)
{
    QTemporaryDir tmp;
    Roster roster;
    for (int n = 1; n <= MaxPlayers; ++n)
        addPlayer(roster, cp932::fromUnicode(QStringLiteral("なまえ%1").arg(n)));
    for (auto _ : st)
        saveRoster(roster, tmp.path());
}
BENCHMARK(BM_SaveRoster)->Unit(benchmark::kMicrosecond);

} // namespace
