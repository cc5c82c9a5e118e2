#pragma once
#include <QPoint>
#include <QSize>
#include <QString>

// Names of the picture and sound files the build puts into the program
// directory, and the facts about them the screens rely on. The generators in
// tools/mediagen and tools/contentgen write exactly these files; no other
// code spells their names.
namespace fm::media
{

// Header icons: eight 48 x 48 cells side by side, white is transparent.
// Cells 1-4: hint, help, minimise, back; 5-8: study, results, register, settings.
inline constexpr char kButtonStrip[] = "ButtonX.bmp";
inline constexpr int kButtonCell = 48;
inline constexpr int kButtonCount = 8;

// Card backs Pop1.wmf ... Pop10.wmf and the result pictures Present1.wmf
// (100 points), Present2.wmf (level up), Present3.wmf (pass).
inline constexpr int kPopCount = 10;
inline constexpr int kPresentCount = 3;
inline constexpr int kPresentFullMarks = 1;
inline constexpr int kPresentLevelUp = 2;
inline constexpr int kPresentPass = 3;
inline QString popFile(int n)
{
    return QStringLiteral("Pop%1.wmf").arg(n);
}
inline QString presentFile(int n)
{
    return QStringLiteral("Present%1.wmf").arg(n);
}

// The parts strip (one 64-pixel cell a part glyph) and the radical-group
// pictures bushu1.bmp ... of the test's part panel, made by tools/contentgen.
inline constexpr char kPartsStrip[] = "BuhinX.bmp";
inline QString radicalGroupFile(int group)
{
    return QStringLiteral("bushu%1.bmp").arg(group);
}

// A filled star (x 0..33) and an empty one (x 34..67) on white.
inline constexpr char kStars[] = "Stars.bmp";
inline constexpr int kStarSize = 34;

// Whack-a-mole pictures, 64 x 64, with a black surround touching (1, 1).
inline constexpr char kMoleHole[] = "Mogura.bmp";
inline constexpr char kMoleHit[] = "Atari.bmp";
inline constexpr int kMoleSize = 64;

// The pointing hand: a 32 x 32 PNG with alpha; the fingertip is the hot spot.
inline constexpr char kHandPointer[] = "Hand.png";
inline constexpr QSize kHandPointerSize{32, 32};
inline constexpr QPoint kHandPointerHotSpot{12, 2};

// Two-state button glyphs: 32 x 16 BMPs, the normal look in x 0..15 and the
// disabled (greyed) look in x 16..31, white is transparent.
inline constexpr QSize kGlyphCell{16, 16};
inline constexpr char kGlyphClear[] = "GlyphClear.bmp"; // erase one character (an eraser)
inline constexpr char kGlyphOk[] = "GlyphOk.bmp";       // confirm / register (a tick)
inline constexpr char kGlyphPrev[] = "GlyphPrev.bmp";   // previous page (left arrow)
inline constexpr char kGlyphNext[] = "GlyphNext.bmp";   // next page (right arrow)
inline constexpr char kGlyphYomi[] = "GlyphYomi.bmp";   // reading (an open book)
inline constexpr char kGlyphKaki[] = "GlyphKaki.bmp";   // writing (a pencil)
inline constexpr char kGlyphStart[] = "GlyphStart.bmp"; // start a game (a play triangle)
inline constexpr char kGlyphBack[] = "GlyphBack.bmp";   // close / back (a curved arrow)

// Music (looped General MIDI pieces) and the short wave sounds.
inline constexpr char kMenuMusic[] = "Menu.mid";
inline constexpr char kTestMusic[] = "Mondai.mid";
inline constexpr char kMatchMusic[] = "Eawase.mid";
inline constexpr char kMoleMusic[] = "Mogu.mid";
inline constexpr char kListMusic[] = "ichiran.mid";
inline constexpr char kRightSound[] = "Maru.wav";
inline constexpr char kWrongSound[] = "Batsu.wav";
inline constexpr char kHitSound[] = "Atari.wav";
inline constexpr char kMissSound[] = "Hazure.wav";

} // namespace fm::media
