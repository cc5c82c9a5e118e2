#include "shell/paper.h"
#include "handwriting/placement.h"
#include "shell/kit.h"
#include <QMouseEvent>
#include <algorithm>

namespace fm
{

PaperWidget::PaperWidget(QWidget *parent, int margin, OnHide onHide)
    : QWidget(parent), margin_(margin), onHide_(onHide)
{
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::NoFocus);
    // Two quick dots (小, 六) are two strokes: a second press is never a double click here.
    takeEveryPress(this);
}

void PaperWidget::reachIntoParent()
{
    if (parentWidget())
        parentWidget()->installEventFilter(this);
}

QRectF PaperWidget::paper() const
{
    const double side = std::min(width(), height()) - 2 * margin_;
    return QRectF((width() - side) / 2, (height() - side) / 2, side, side);
}

QPointF PaperWidget::toInk(QPointF pt) const
{
    const QRectF sq = paper();
    const double x = (pt.x() - sq.left()) * InkSide / sq.width();
    const double y = (pt.y() - sq.top()) * InkSide / sq.height();
    return {std::clamp(x, 0.0, double(InkSide - 1)), std::clamp(y, 0.0, double(InkSide - 1))};
}

QPointF PaperWidget::toWidget(QPointF inkPoint) const
{
    const QRectF sq = paper();
    return {sq.left() + inkPoint.x() * sq.width() / InkSide, sq.top() + inkPoint.y() * sq.height() / InkSide};
}

QPainterPath PaperWidget::inkPath(const QVector<QPointF> &inkPoints) const
{
    if (inkPoints.isEmpty())
        return {};
    QPainterPath path(toWidget(inkPoints.first()));
    for (qsizetype i = 1; i < inkPoints.size(); ++i)
        path.lineTo(toWidget(inkPoints[i]));
    if (inkPoints.size() == 1 || inkPoints.first() == inkPoints.last())
        path.lineTo(toWidget(inkPoints.first()) + QPointF(0.5, 0.5));
    return path;
}

bool PaperWidget::press(Qt::MouseButton button, QPointF at, bool beside)
{
    if (button != Qt::LeftButton)
        return false;
    const std::optional<QPointF> start = writable() ? strokeStartOnPaper(at, paper()) : std::nullopt;
    if (beside && !start)
        return false; // the widget around keeps its own press
    endStroke();      // a second finger or button while drawing ends the first stroke
    if (!start)
        return false;
    drawing_ = true;
    beside_ = beside;
    current_ = {toInk(*start)};
    update();
    return true;
}

void PaperWidget::moveTo(QPointF at)
{
    if (!drawing_)
        return;
    const QPointF p = toInk(at);
    if (current_.last() == p)
        return;
    current_.append(p);
    update();
}

void PaperWidget::release(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        endStroke();
}

void PaperWidget::endStroke()
{
    if (!drawing_)
        return;
    drawing_ = false;
    const InkStroke stroke = current_;
    current_.clear();
    update();
    emit strokeWritten(stroke);
}

bool PaperWidget::dropStroke()
{
    if (!drawing_)
        return false;
    drawing_ = false;
    current_.clear();
    update();
    return true;
}

void PaperWidget::writeStroke(const QVector<QPointF> &points)
{
    if (points.isEmpty() || !press(Qt::LeftButton, points.first(), false))
        return;
    for (qsizetype i = 1; i < points.size(); ++i)
        moveTo(points[i]);
    release(Qt::LeftButton);
}

void PaperWidget::mousePressEvent(QMouseEvent *event)
{
    press(event->button(), event->position(), false);
}

void PaperWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a quick pair starts a stroke like any other.
    press(event->button(), event->position(), false);
}

void PaperWidget::mouseMoveEvent(QMouseEvent *event)
{
    moveTo(event->position());
}

void PaperWidget::mouseReleaseEvent(QMouseEvent *event)
{
    release(event->button());
}

void PaperWidget::hideEvent(QHideEvent *event)
{
    // Hidden in the middle of a stroke (the clock ran out, the screen changed).
    if (onHide_ == OnHide::KeepStroke)
        endStroke();
    else
        dropStroke();
    QWidget::hideEvent(event);
}

bool PaperWidget::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched != parentWidget() || !isVisible() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
         type != QEvent::MouseMove && type != QEvent::MouseButtonRelease))
        return QWidget::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPointF here = mapFromParent(mouse->position());
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        return press(mouse->button(), here, true);
    // The rest of a stroke begun beside the paper comes to the widget around, which took its press.
    if (!beside_ || !drawing_)
        return QWidget::eventFilter(watched, event);
    if (type == QEvent::MouseMove)
        moveTo(here);
    else
        release(mouse->button());
    return true;
}

} // namespace fm
