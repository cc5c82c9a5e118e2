#pragma once
// Where on the square and how large a child writes does not matter: the ink
// is laid into one frame by its own extent before it is recognised or
// compared. The aspect ratio is kept, so 一 stays flat and 日 stays tall.
#include "handwriting/ink.h"
#include <QRectF>
#include <optional>

namespace fm
{

// The ink scaled (one factor for both axes) so that its longer side spans
// `fill` of the square, and centred. Ink whose extent is under a few units
// (a dot, nothing) is only centred: a dot blown up would be noise.
Ink placedByExtent(const Ink &ink, double fill);

// How far outside the paper a press still starts a stroke, in sides of the
// paper: a child's hand misses the edge by that much.
constexpr double PressMargin = 0.12;

// Where a press at `at` starts a stroke on `paper` (widget coordinates):
// on the paper itself, or on its nearest edge when it lies within the
// margin outside; nullopt farther away.
std::optional<QPointF> strokeStartOnPaper(const QPointF &at, const QRectF &paper);

} // namespace fm
