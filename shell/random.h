#pragma once
// The program's one uniform random generator.
#include "data/questionbank.h"
#include <cstdint>
#include <random>

namespace fm
{

class Clock;

class Random
{
  public:
    virtual ~Random() = default;
    // A whole number 0 .. n-1 (0 when n <= 0).
    virtual int random(int n) = 0;
    // A real number in [0, 1).
    virtual double real() = 0;
    virtual void seed(uint64_t value) = 0;

    // Reseeds from the clock, as the menu, a test and a game do when they start.
    void randomize(const Clock &clock);
    // The draw as the data layer's RandomFn.
    RandomFn fn()
    {
        return [this](int n) { return random(n); };
    }
};

class StdRandom final : public Random
{
  public:
    explicit StdRandom(uint64_t seed = 1) : engine_(seed) {}
    int random(int n) override;
    double real() override;
    void seed(uint64_t value) override { engine_.seed(value); }

  private:
    std::mt19937_64 engine_;
};

} // namespace fm
