#pragma once
// Whether a child wrote a kanji's strokes in the number and order of its
// reference strokes. Only ever advice: the answer counts all the same.
#include "handwriting/reference.h"
#include <optional>

namespace fm
{

enum class StrokeOrderVerdict { Same, CountDiffers, OrderDiffers };

StrokeOrderVerdict compareStrokeOrder(const Ink &child, const ReferenceStrokeList &reference);

// How far the strokes drawn so far lie from a kanji's reference strokes on
// the square, whatever their order and direction: each drawn stroke is paired
// with its own reference stroke (the best pairing overall) and the distances
// of their ends are averaged, in square sides (0 is a perfect fit). A drawn
// stroke beyond the kanji's count costs as much as a stroke on the far side
// of the square; reference strokes not yet drawn cost nothing. Negative when
// nothing is drawn.
double strokeShapeDistance(const Ink &child, const ReferenceStrokeList &reference);

// The strokes drawn so far put in the order of the reference strokes they
// pair with best (as strokeShapeDistance pairs them), each turned to run the
// reference stroke's way; nullopt when they already are, or when more
// strokes were drawn than the kanji has. *slips: the strokes out of place
// or turned. The recogniser reads order and direction; a child's slip in
// either should not hide the kanji.
std::optional<Ink> inkInReferenceOrder(const Ink &child, const ReferenceStrokeList &reference,
                                       int *slips = nullptr);

} // namespace fm
