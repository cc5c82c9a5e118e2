#pragma once
// The catalogue of screens: per screen its number (what HintContext.screen
// holds while it is active), its help page and its title. These numbers are
// typed here and nowhere else; everything else names a screen by its id.
#include <QString>

namespace fm
{

enum class ScreenId {
    Main,      // main menu
    Game1,     // matching game
    Game2,     // whack-a-mole
    Mode,      // mode selection
    KIchiran,  // kanji list
    KSeiseki1, // per-kanji results
    Player,    // player selection
    Renshuu,   // practice level picker
    Saiten,    // grading
    Seiseki1,  // study history, player list
    Seiseki2,  // study history, one player
    Shutsudai, // test
    Touroku,   // player registration
    KanjiPage, // one kanji's page and guided writing
};
constexpr int ScreenIdCount = int(ScreenId::KanjiPage) + 1;

struct ScreenRow {
    ScreenId id;
    int number;        // HintContext.screen while the screen is active
    int helpContext;   // the help page the help button opens
    const char *title; // Lbl_Title's text (UTF-8); empty where the screen sets its own
    const char *name;  // the class, for messages and docs
};

const ScreenRow &screenRow(ScreenId id);
// The screen title as the label shows it.
QString screenTitle(ScreenId id);

// Help pages that belong to a situation rather than to a screen.
namespace help
{
constexpr int TestReading = 351; // the test, once reading questions run
constexpr int TestWriting = 352; // the test, once writing questions run
constexpr int Review = 37;       // the review of missed questions
constexpr int HintPicture = 30;  // the hint window's picture
} // namespace help

} // namespace fm
