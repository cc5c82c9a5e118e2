// Runs a fuzz harness without libFuzzer: random inputs of record-like sizes,
// reproducible from a fixed seed. Any crash or sanitizer report fails the test.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 1000;
    std::mt19937 rng(20261207);
    // Sizes near the record sizes of the data files, and a few large ones.
    const size_t sizes[] = {0, 1, 6, 8, 13, 14, 24, 28, 52, 56, 64, 104, 510, 1020, 1530, 4096};
    std::vector<uint8_t> buf;
    for (int i = 0; i < runs; ++i) {
        size_t n = sizes[rng() % (sizeof sizes / sizeof sizes[0])];
        if (rng() % 4 == 0)
            n += rng() % 64;
        buf.resize(n);
        // Mostly small numbers, as in real records, so loaders get past their first checks.
        for (auto &b : buf)
            b = static_cast<uint8_t>(rng() % 3 == 0 ? rng() : rng() % 4);
        LLVMFuzzerTestOneInput(buf.data(), buf.size());
    }
    std::printf("%d inputs survived\n", runs);
    return 0;
}
