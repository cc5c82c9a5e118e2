#include "shell/writing.h"
#include "shell/look.h"
#include <QPainter>
#include <algorithm>

namespace fm
{

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

WritingSquare::WritingSquare(QWidget *parent) : PaperWidget(parent, 0, OnHide::KeepStroke)
{
    // The square fills its widget: presses just outside it reach the widget around.
    reachIntoParent();
    connect(this, &PaperWidget::strokeWritten, this, [this](InkStroke stroke) {
        if (stroke.size() == 1)
            stroke.append(stroke.first()); // a dot is a stroke of its own
        ink_.append(stroke);
        update();
        emit inkChanged();
    });
}

void WritingSquare::undoStroke()
{
    if (!dropStroke()) {
        if (ink_.isEmpty())
            return;
        ink_.removeLast();
        update();
    }
    emit inkChanged();
}

void WritingSquare::clearInk()
{
    const bool had = dropStroke() || !ink_.isEmpty();
    ink_.clear();
    update();
    if (had)
        emit inkChanged();
}

void WritingSquare::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRectF sq = paper();
    paintPracticePaper(p, sq);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour::Black, penWidth(sq), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const InkStroke &s : ink_)
        p.drawPath(inkPath(s));
    p.drawPath(inkPath(strokeInProgress()));
}

} // namespace fm
