#pragma once
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// 16-bit PCM sound in memory, and reading and writing it as a WAV file. The
// generator writes the game's wave sounds with these; tests and the MIDI
// renderer use them to measure sound.
//
//   fm::media::PcmBuffer pcm{22050, 1, samples};
//   fm::media::writeWav("Maru.wav", pcm);
//   double loud = fm::media::rms(*fm::media::readWav("Maru.wav"));
namespace fm::media
{

struct PcmBuffer {
    int sampleRate = 44100;
    int channels = 1;
    std::vector<int16_t> samples; // interleaved when channels > 1

    double seconds() const
    {
        return channels > 0 && sampleRate > 0 ? double(samples.size()) / channels / sampleRate : 0.0;
    }
};

// Writes a canonical RIFF/WAVE file (PCM, 16 bit). Returns false and sets
// *error when the file cannot be written.
bool writeWav(const QString &path, const PcmBuffer &pcm, QString *error = nullptr);

// Reads a PCM 16-bit WAV file; any other format or a damaged file gives nothing and *error.
std::optional<PcmBuffer> readWav(const QString &path, QString *error = nullptr);

// Root mean square and peak of all samples, on a 0 ... 1 scale.
double rms(const PcmBuffer &pcm);
double peak(const PcmBuffer &pcm);

} // namespace fm::media
