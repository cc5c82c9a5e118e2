#include "tools/mediagen/sounds.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace fm::mediagen
{

using fm::media::PcmBuffer;

namespace
{

constexpr double kTwoPi = 6.283185307179586;

// Renders seconds of sound from f(t) in -1 ... 1, with short fades at both
// ends so nothing clicks, scaled to the given loudness.
PcmBuffer render(double seconds, double loudness, const std::function<double(double)> &f)
{
    PcmBuffer pcm;
    pcm.sampleRate = kEffectRate;
    pcm.channels = 1;
    const int n = int(seconds * kEffectRate);
    const int fade = kEffectRate / 200; // 5 ms
    pcm.samples.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        double v = f(double(i) / kEffectRate);
        v *= std::min({1.0, double(i) / fade, double(n - 1 - i) / fade});
        pcm.samples[size_t(i)] = int16_t(std::lround(std::clamp(v * loudness, -1.0, 1.0) * 32767));
    }
    return pcm;
}

// A bell-like tone: a sine with a few soft overtones that die away faster.
double bell(double freq, double t)
{
    if (t < 0)
        return 0;
    const double attack = std::min(1.0, t / 0.004);
    return attack * (std::sin(kTwoPi * freq * t) * std::exp(-t * 4.0) +
                     0.35 * std::sin(kTwoPi * 2 * freq * t) * std::exp(-t * 7.0) +
                     0.12 * std::sin(kTwoPi * 3.01 * freq * t) * std::exp(-t * 11.0));
}

} // namespace

PcmBuffer chimeSound()
{
    // E6 then C6, like a quiz show's "correct".
    return render(1.1, 0.55, [](double t) { return 0.6 * bell(1318.5, t) + 0.6 * bell(1046.5, t - 0.16); });
}

PcmBuffer buzzSound()
{
    // Two short, low, rounded tones falling a step: a "boo-boo", not an alarm.
    const auto tone = [](double freq, double t, double len) {
        if (t < 0 || t > len)
            return 0.0;
        const double env = std::min({1.0, t / 0.03, (len - t) / 0.08});
        double v = 0;
        for (int h = 1; h <= 5; ++h) // a few odd-ish harmonics, gently rolled off: soft and woody
            v += std::sin(kTwoPi * freq * h * t) / std::pow(h, 1.8);
        return env * v;
    };
    return render(0.75, 0.3, [&](double t) { return tone(233.1, t, 0.22) + tone(196.0, t - 0.28, 0.42); });
}

PcmBuffer popSound()
{
    // A pitch that drops fast (the "p") over a tiny burst of noise (the air).
    unsigned noise = 12345;
    double phase = 0;
    return render(0.16, 0.7, [&](double t) {
        const double freq = 300 + 1400 * std::exp(-t * 45);
        phase += kTwoPi * freq / kEffectRate;
        noise = noise * 1103515245u + 12345u;
        const double white = double((noise >> 16) & 0x7FFF) / 16384.0 - 1.0;
        return std::sin(phase) * std::exp(-t * 28) + 0.25 * white * std::exp(-t * 120);
    });
}

PcmBuffer boingSound()
{
    // A low tone wobbling ever slower and settling downward: a spring.
    double phase = 0;
    return render(0.65, 0.6, [&](double t) {
        const double wobble = 0.3 * std::sin(kTwoPi * 11 * t) * std::exp(-t * 3);
        const double freq = (150 + 90 * std::exp(-t * 6)) * (1 + wobble);
        phase += kTwoPi * freq / kEffectRate;
        return (std::sin(phase) + 0.2 * std::sin(2 * phase)) * std::exp(-t * 4.5);
    });
}

} // namespace fm::mediagen
