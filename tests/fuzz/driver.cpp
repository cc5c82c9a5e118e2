// Runs a fuzz harness without libFuzzer: random inputs of record-like sizes
// and damaged copies of the harness's valid inputs, reproducible from a fixed
// seed. Any crash, failed bounds check or sanitizer report fails the test.
//   fuzzdrive_<h> [RUNS]                 run
//   fuzzdrive_<h> --write-seeds DIR      write the valid inputs, one file each
#include "harness.h"
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// A harness without valid inputs of its own.
__attribute__((weak)) std::vector<QByteArray> fuzzSeeds()
{
    return {};
}

namespace
{

int writeSeeds(const char *dir)
{
    if (!QDir().mkpath(QString::fromLocal8Bit(dir)))
        return 1;
    int n = 0;
    for (const QByteArray &seed : fuzzSeeds()) {
        QFile f(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("seed%1").arg(++n)));
        if (!f.open(QIODevice::WriteOnly) || f.write(seed) != seed.size())
            return 1;
    }
    std::printf("%d seeds written\n", n);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--write-seeds") == 0)
        return writeSeeds(argv[2]);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 1000;
    std::mt19937 rng(20261207);
    const std::vector<QByteArray> seeds = fuzzSeeds();
    // Sizes near the record sizes of the data files, and a few large ones.
    const size_t sizes[] = {0, 1, 6, 8, 13, 14, 24, 28, 52, 56, 64, 104, 510, 1020, 1530, 4096};
    std::vector<uint8_t> buf;
    for (int i = 0; i < runs; ++i) {
        if (!seeds.empty() && i % 2 == 0) {
            // A valid input with a few bytes changed, sometimes cut or lengthened.
            const QByteArray &seed = seeds[rng() % seeds.size()];
            buf.assign(seed.begin(), seed.end());
            if (rng() % 8 == 0)
                buf.resize(rng() % (buf.size() + 64));
            const int changes = 1 + static_cast<int>(rng() % 4);
            for (int c = 0; c < changes && !buf.empty(); ++c)
                buf[rng() % buf.size()] = static_cast<uint8_t>(rng() % 3 == 0 ? rng() : rng() % 4);
        } else {
            size_t n = sizes[rng() % (sizeof sizes / sizeof sizes[0])];
            if (rng() % 4 == 0)
                n += rng() % 64;
            buf.resize(n);
            // Mostly small numbers, as in real records, so loaders get past their first checks.
            for (auto &b : buf)
                b = static_cast<uint8_t>(rng() % 3 == 0 ? rng() : rng() % 4);
        }
        LLVMFuzzerTestOneInput(buf.data(), buf.size());
    }
    std::printf("%d inputs survived\n", runs);
    return 0;
}
