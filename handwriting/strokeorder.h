#pragma once
// Whether a child wrote a kanji's strokes in the number and order of its
// reference strokes. Only ever advice: the answer counts all the same.
#include "handwriting/reference.h"

namespace fm
{

enum class StrokeOrderVerdict { Same, CountDiffers, OrderDiffers };

StrokeOrderVerdict compareStrokeOrder(const Ink &child, const ReferenceStrokeList &reference);

} // namespace fm
