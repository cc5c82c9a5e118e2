#include "shell/random.h"
#include "shell/clock.h"
#include <cmath>

namespace fm
{

void Random::randomize(const Clock &clock)
{
    seed(uint64_t(std::llround(clock.now() * 86400000.0)));
}

int StdRandom::random(int n)
{
    if (n <= 1)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(engine_);
}

double StdRandom::real()
{
    // 53 random bits: exactly representable, never 1.
    return double(engine_() >> 11) * 0x1.0p-53;
}

} // namespace fm
