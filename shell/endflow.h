#pragma once
// The end of a test or a game, the same for all of them.
#include <functional>

namespace fm
{

class Screen;
struct Services;

// Builds a fresh mode screen first (it reads the progress just recorded and
// stays hidden), runs the closing window (the result window, the score
// board), then frees every other mode screen, alsoClose and leaving, and
// shows the fresh one. The fresh screen keeps the way back of the old one.
// Returns false when the program ended on the way: a data file failed while
// building the mode screen, or the closing window ended the program.
bool finishToFreshMode(Services &services, Screen *leaving, Screen *alsoClose,
                       const std::function<void()> &closingWindow);

} // namespace fm
