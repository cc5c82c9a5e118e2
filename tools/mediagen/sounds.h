#pragma once
#include "media/pcmaudio.h"

// The short effect sounds, synthesised: 16-bit mono at 22050 Hz.
namespace fm::mediagen
{

inline constexpr int kEffectRate = 22050;

fm::media::PcmBuffer chimeSound(); // right answer: a bright two-note "ping-pong"
fm::media::PcmBuffer buzzSound();  // wrong answer: a soft, low "boo-boo"
fm::media::PcmBuffer popSound();   // a mole is hit: a quick pop
fm::media::PcmBuffer boingSound(); // a miss: a springy boing

} // namespace fm::mediagen
