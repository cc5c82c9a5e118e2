#pragma once
#include <QString>

#include <fluidsynth.h>

// FluidSynth's functions, opened when music is first wanted instead of being
// linked into the program. The library brings some twenty others with it
// (SDL2, JACK, PulseAudio, libsndfile and its codecs, libinstpatch); loading
// them all before main() cost the start about 5 ms, though the menu's first
// frame needs none of them. The music thread opens it after that frame.
namespace fm::media
{

// Every FluidSynth call the program makes.
#define FM_FLUIDSYNTH_FUNCTIONS(X)                                                                           \
    X(fluid_set_log_function)                                                                                \
    X(new_fluid_settings)                                                                                    \
    X(delete_fluid_settings)                                                                                 \
    X(fluid_settings_setnum)                                                                                 \
    X(fluid_settings_setint)                                                                                 \
    X(fluid_settings_setstr)                                                                                 \
    X(new_fluid_synth)                                                                                       \
    X(delete_fluid_synth)                                                                                    \
    X(fluid_synth_sfload)                                                                                    \
    X(fluid_synth_all_notes_off)                                                                             \
    X(fluid_synth_write_s16)                                                                                 \
    X(new_fluid_audio_driver)                                                                                \
    X(delete_fluid_audio_driver)                                                                             \
    X(new_fluid_player)                                                                                      \
    X(delete_fluid_player)                                                                                   \
    X(fluid_player_add_mem)                                                                                  \
    X(fluid_player_play)                                                                                     \
    X(fluid_player_stop)                                                                                     \
    X(fluid_player_get_status)                                                                               \
    X(fluid_player_get_current_tick)                                                                         \
    X(fluid_player_get_total_ticks)

struct FluidSynthApi {
#define FM_FLUIDSYNTH_POINTER(name) decltype(&::name) name = nullptr;
    FM_FLUIDSYNTH_FUNCTIONS(FM_FLUIDSYNTH_POINTER)
#undef FM_FLUIDSYNTH_POINTER
};

// The library's functions, opened once per process (from any thread); null
// when the library or one of its functions is missing, with the reason in
// *error. Without it the program plays no music.
const FluidSynthApi *fluidSynth(QString *error = nullptr);

} // namespace fm::media
