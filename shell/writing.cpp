#include "shell/writing.h"
#include "data/cp932.h"
#include "handwriting/handwriting.h"
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

namespace fm
{

bool strokeOrderFontInstalled()
{
    return QFontDatabase::families().contains(StrokeOrderFamily);
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

namespace
{

QPointF onSquare(const QRectF &square, const QPointF &inkPoint)
{
    return {square.left() + inkPoint.x() * square.width() / InkSide,
            square.top() + inkPoint.y() * square.height() / InkSide};
}

double penWidth(const QRectF &square)
{
    return std::max(3.0, square.width() / 26.0);
}

} // namespace

void paintStrokes(QPainter &p, const QRectF &square, const ReferenceStrokeList &strokes, int done,
                  double progress)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double width = penWidth(square);
    QFont numberFont = pixelFont(std::max(10, int(square.width() / 14)), true, Gothic);
    p.setFont(numberFont);
    const int count = int(strokes.size());
    for (int i = 0; i < count && i <= done; ++i) {
        const ReferenceStroke &s = strokes[i];
        const QPointF from = onSquare(square, s.from);
        QPointF to = onSquare(square, s.to);
        const bool current = i == done;
        if (current) {
            if (progress <= 0)
                break;
            to = from + (to - from) * std::min(1.0, progress);
        }
        p.setPen(QPen(current ? colour::Red : colour::Black, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
        // The number sits just before the stroke's start, away from the line.
        QPointF dir = onSquare(square, s.to) - from;
        const double len = std::hypot(dir.x(), dir.y());
        dir = len > 0 ? dir / len : QPointF(1, 0);
        const double off = numberFont.pixelSize() * 0.9;
        QRectF box(0, 0, numberFont.pixelSize() * 1.6, numberFont.pixelSize() * 1.2);
        box.moveCenter(from - dir * off);
        box.moveLeft(std::clamp(box.left(), square.left(), square.right() - box.width()));
        box.moveTop(std::clamp(box.top(), square.top(), square.bottom() - box.height()));
        p.setPen(current ? colour::Red : colour::Blue);
        p.drawText(box, Qt::AlignCenter, QString::number(i + 1));
    }
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
    if (!paper().contains(at))
        return;
    drawing_ = true;
    current_ = {toInk(at)};
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

// ---- the stroke-order view ----

StrokeOrderView::StrokeOrderView(QWidget *parent, ReferenceStrokeList strokes)
    : QWidget(parent), strokes_(std::move(strokes))
{
    Tim_Draw.setInterval(TickMs);
    connect(&Tim_Draw, &QTimer::timeout, this, &StrokeOrderView::Tim_DrawTimer);
    restart();
}

void StrokeOrderView::restart()
{
    done_ = 0;
    tick_ = 0;
    update();
    if (!strokes_.isEmpty())
        Tim_Draw.start();
}

void StrokeOrderView::Tim_DrawTimer()
{
    if (finished()) {
        Tim_Draw.stop();
        return;
    }
    if (++tick_ >= TicksPerStroke) {
        tick_ = 0;
        ++done_;
        if (finished())
            Tim_Draw.stop();
    }
    update();
}

void StrokeOrderView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const double side = std::min(width(), height());
    const QRectF sq((width() - side) / 2, (height() - side) / 2, side, side);
    paintPracticePaper(p, sq);
    paintStrokes(p, sq, strokes_, done_, double(tick_) / TicksPerStroke);
}

// ---- the window ----

TF_Kakijun::TF_Kakijun(Services &services, int kanjiNumber, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("かきじゅん"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFixedSize(560, 360);
    fillBackground(this, colour::Navy);

    const auto &table = services.state.Cat.KanjiTable;
    const QString glyph = kanjiNumber >= 1 && kanjiNumber < int(table.size())
                              ? cp932::toUnicode(table[size_t(kanjiNumber)].Glyph)
                              : QString();
    Lbl_Title = makeLabel(this, QStringLiteral("「%1」の かきじゅん").arg(glyph), 16, 8, pixelFont(22, true),
                          colour::Yellow, 528, 30);

    // The still picture: the stroke-order face numbers the strokes itself;
    // without it the kanji stands in the plain face.
    Lbl_Kanji = new QLabel(this);
    Lbl_Kanji->setGeometry(16, 48, 256, 256);
    Lbl_Kanji->setAlignment(Qt::AlignCenter);
    QFont still = strokeOrderFontInstalled() ? QFont(StrokeOrderFamily) : pixelFont(200, false, Gothic);
    still.setPixelSize(220);
    Lbl_Kanji->setFont(still);
    Lbl_Kanji->setAutoFillBackground(true);
    QPalette pal = Lbl_Kanji->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    Lbl_Kanji->setPalette(pal);
    Lbl_Kanji->setText(glyph);

    Img_Kakijun = new StrokeOrderView(this, services.handwriting.reference(kanjiNumber));
    Img_Kakijun->setGeometry(288, 48, 256, 256);

    const QCursor hand = services.shell.HandPointer;
    Btn_Again = makePushButton(this, QStringLiteral("もういちど"), QRect(288, 314, 124, 36), hand,
                               QStringLiteral("かきじゅんを もういちど みる"));
    Btn_Close = makePushButton(this, QStringLiteral("もどる"), QRect(420, 314, 124, 36), hand);
    connect(Btn_Again, &QPushButton::clicked, Img_Kakijun, &StrokeOrderView::restart);
    connect(Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
}

bool strokeOrderAvailable(Services &services, int kanjiNumber)
{
    return !services.handwriting.reference(kanjiNumber).isEmpty();
}

void showStrokeOrder(Services &services, int kanjiNumber, QWidget *parent)
{
    if (!strokeOrderAvailable(services, kanjiNumber))
        return;
    TF_Kakijun window(services, kanjiNumber, parent);
    window.exec();
    // The press that closed it must not land on the screen beneath.
    dropFollowingPresses(parent ? static_cast<QObject *>(parent) : &window, services.clock);
}

} // namespace fm
