#pragma once
// What a child writes on the writing square: strokes of points, in the
// square's own coordinates 0..255 (x to the right, y down), the same square
// the reference strokes are drawn on.
#include <QPointF>
#include <QVector>

namespace fm
{

constexpr int InkSide = 256; // coordinates run 0 .. InkSide - 1

using InkStroke = QVector<QPointF>;
using Ink = QVector<InkStroke>;

} // namespace fm
