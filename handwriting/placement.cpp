#include "handwriting/placement.h"
#include <algorithm>
#include <limits>

namespace fm
{

namespace
{

// Below this extent (in square units) the ink is a dot or a tap, not a shape.
constexpr double kLeastExtent = 4.0;
// Nothing is blown up more than this: a kanji written the size of a
// fingertip is still a kanji, a speck is not.
constexpr double kMostScale = 12.0;

} // namespace

Ink placedByExtent(const Ink &ink, double fill)
{
    double left = std::numeric_limits<double>::max(), top = left;
    double right = std::numeric_limits<double>::lowest(), bottom = right;
    for (const InkStroke &s : ink)
        for (const QPointF &p : s) {
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
    if (left > right)
        return ink;
    const double extent = std::max(right - left, bottom - top);
    const double scale = extent < kLeastExtent ? 1.0 : std::min(kMostScale, fill * InkSide / extent);
    const QPointF centre((left + right) / 2, (top + bottom) / 2);
    const QPointF middle(InkSide / 2.0, InkSide / 2.0);
    Ink out = ink;
    for (InkStroke &s : out)
        for (QPointF &p : s) {
            p = (p - centre) * scale + middle;
            p = QPointF(std::clamp(p.x(), 0.0, InkSide - 1.0), std::clamp(p.y(), 0.0, InkSide - 1.0));
        }
    return out;
}

std::optional<QPointF> strokeStartOnPaper(const QPointF &at, const QRectF &paper)
{
    if (paper.isEmpty())
        return std::nullopt;
    const double margin = PressMargin * std::min(paper.width(), paper.height());
    if (!paper.adjusted(-margin, -margin, margin, margin).contains(at))
        return std::nullopt;
    // The far edge of a QRectF is not inside it; stay a hair within.
    return QPointF(std::clamp(at.x(), paper.left(), paper.right() - 1e-6),
                   std::clamp(at.y(), paper.top(), paper.bottom() - 1e-6));
}

} // namespace fm
