#include "shell/writing.h"
#include "data/cp932.h"
#include "handwriting/handwriting.h"
#include "handwriting/placement.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/services.h"
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <cmath>
#include <limits>
#include <queue>
#include <vector>

namespace fm
{

namespace
{

QPointF onSquare(const QRectF &square, const QPointF &inkPoint)
{
    return {square.left() + inkPoint.x() * square.width() / InkSide,
            square.top() + inkPoint.y() * square.height() / InkSide};
}

} // namespace

double penWidth(const QRectF &square)
{
    return std::max(3.0, square.width() / 26.0);
}

void paintPracticePaper(QPainter &p, const QRectF &square)
{
    p.save();
    p.fillRect(square, Qt::white);
    // The dashed cross of a kanji notebook: light, so the child's strokes stand out.
    QPen cross(QColor(230, 150, 150), 1.5, Qt::DashLine);
    p.setPen(cross);
    p.drawLine(QPointF(square.center().x(), square.top()), QPointF(square.center().x(), square.bottom()));
    p.drawLine(QPointF(square.left(), square.center().y()), QPointF(square.right(), square.center().y()));
    p.setPen(QPen(QColor(200, 60, 60), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(square.adjusted(1.5, 1.5, -1.5, -1.5));
    p.restore();
}

QPixmap writingIcon(int side)
{
    QPixmap icon(side, side);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    paintPracticePaper(p, QRectF(0, 0, side, side));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour::Black, std::max(2.0, side / 12.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(side * 0.22, side * 0.3), QPointF(side * 0.78, side * 0.3));
    p.drawLine(QPointF(side * 0.5, side * 0.15), QPointF(side * 0.5, side * 0.85));
    return icon;
}

// ---- the writing square ----

WritingSquare::WritingSquare(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::NoFocus);
    // Two quick dots (小, 六) are two strokes: a second press is never a double click here.
    takeEveryPress(this);
    // A child's hand misses the edge by a few pixels: presses just outside
    // the square reach the widget around it, which passes them on here.
    if (parent)
        parent->installEventFilter(this);
}

bool WritingSquare::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != parentWidget() || !isVisible())
        return QWidget::eventFilter(watched, event);
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPointF here = mapFromParent(mouse->position());
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        if (mouse->button() != Qt::LeftButton || !strokeStartOnPaper(here, paper()))
            return QWidget::eventFilter(watched, event);
        endStroke();
        beginStroke(here);
        startedOutside_ = drawing_;
        return drawing_;
    }
    // The rest of a stroke begun outside comes to the widget around, which took its press.
    if (!startedOutside_ || !drawing_)
        return QWidget::eventFilter(watched, event);
    if (type == QEvent::MouseMove) {
        const QPointF p = toInk(here);
        if (current_.isEmpty() || current_.last() != p) {
            current_.append(p);
            update();
        }
    } else if (mouse->button() == Qt::LeftButton) {
        endStroke();
    }
    return true;
}

QRectF WritingSquare::paper() const
{
    const double side = std::min(width(), height());
    return QRectF((width() - side) / 2, (height() - side) / 2, side, side);
}

QPointF WritingSquare::toInk(const QPointF &pt) const
{
    const QRectF sq = paper();
    const double x = (pt.x() - sq.left()) * InkSide / sq.width();
    const double y = (pt.y() - sq.top()) * InkSide / sq.height();
    return {std::clamp(x, 0.0, double(InkSide - 1)), std::clamp(y, 0.0, double(InkSide - 1))};
}

QPointF WritingSquare::toWidget(const QPointF &inkPoint) const
{
    return onSquare(paper(), inkPoint);
}

void WritingSquare::beginStroke(const QPointF &at)
{
    const std::optional<QPointF> start = strokeStartOnPaper(at, paper());
    if (!start)
        return;
    drawing_ = true;
    startedOutside_ = false;
    current_ = {toInk(*start)};
    update();
}

void WritingSquare::endStroke()
{
    if (!drawing_)
        return;
    drawing_ = false;
    if (current_.size() == 1)
        current_.append(current_.first()); // a dot is a stroke of its own
    ink_.append(current_);
    current_.clear();
    update();
    emit inkChanged();
}

void WritingSquare::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    endStroke(); // a second finger or button while drawing ends the first stroke
    beginStroke(event->position());
}

void WritingSquare::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a quick pair starts a stroke like any other.
    mousePressEvent(event);
}

void WritingSquare::mouseMoveEvent(QMouseEvent *event)
{
    if (!drawing_)
        return;
    const QPointF p = toInk(event->position());
    if (!current_.isEmpty() && current_.last() == p)
        return;
    current_.append(p);
    update();
}

void WritingSquare::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        endStroke();
}

void WritingSquare::hideEvent(QHideEvent *event)
{
    // Hidden in the middle of a stroke (the clock ran out, the panel
    // changed): the stroke so far is kept as written.
    endStroke();
    QWidget::hideEvent(event);
}

void WritingSquare::undoStroke()
{
    if (drawing_) {
        drawing_ = false;
        current_.clear();
    } else if (!ink_.isEmpty()) {
        ink_.removeLast();
    } else {
        return;
    }
    update();
    emit inkChanged();
}

void WritingSquare::clearInk()
{
    const bool had = drawing_ || !ink_.isEmpty();
    drawing_ = false;
    current_.clear();
    ink_.clear();
    update();
    if (had)
        emit inkChanged();
}

void WritingSquare::writeStroke(const QVector<QPointF> &points)
{
    if (points.isEmpty())
        return;
    beginStroke(points.first());
    for (qsizetype i = 1; i < points.size() && drawing_; ++i) {
        const QPointF p = toInk(points[i]);
        current_.append(p);
    }
    endStroke();
}

void WritingSquare::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRectF sq = paper();
    paintPracticePaper(p, sq);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour::Black, penWidth(sq), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    auto drawStroke = [&](const InkStroke &s) {
        QPainterPath path(toWidget(s.first()));
        for (qsizetype i = 1; i < s.size(); ++i)
            path.lineTo(toWidget(s[i]));
        if (s.size() == 1 || s.first() == s.last())
            path.lineTo(toWidget(s.first()) + QPointF(0.5, 0.5));
        p.drawPath(path);
    };
    for (const InkStroke &s : ink_)
        drawStroke(s);
    if (drawing_ && !current_.isEmpty())
        drawStroke(current_);
}

} // namespace fm
