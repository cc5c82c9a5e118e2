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

constexpr int TraceSide = InkSide; // the ink is traced on the 0..255 square itself

QPointF onSquare(const QRectF &square, const QPointF &inkPoint)
{
    return {square.left() + inkPoint.x() * square.width() / InkSide,
            square.top() + inkPoint.y() * square.height() / InkSide};
}

double penWidth(const QRectF &square)
{
    return std::max(3.0, square.width() / 26.0);
}

bool inked(const QImage &ink, int x, int y)
{
    return ink.constScanLine(y)[x] < 128;
}

// The glyph drawn in the middle of the trace square, in the stroke-order
// face or, without it, in the plain face a little smaller.
QImage drawnGlyph(const QString &glyph, bool strokeFace)
{
    QImage drawn(TraceSide, TraceSide, QImage::Format_Grayscale8);
    drawn.fill(255);
    {
        QPainter p(&drawn);
        QFont face = strokeFace ? QFont(StrokeOrderFamily) : pixelFont(8, false, Gothic);
        face.setPixelSize(strokeFace ? TraceSide : TraceSide * 7 / 8);
        p.setFont(face);
        p.setPen(Qt::black);
        p.drawText(drawn.rect(), Qt::AlignCenter, glyph);
    }
    return drawn;
}

// Ink within two pixels, so that an end on a stroke's edge counts.
QImage inkNearby(const QImage &drawn)
{
    QImage near(TraceSide, TraceSide, QImage::Format_Grayscale8);
    near.fill(255);
    for (int y = 0; y < TraceSide; ++y)
        for (int x = 0; x < TraceSide; ++x)
            if (inked(drawn, x, y))
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx)
                        if (near.rect().contains(x + dx, y + dy))
                            near.scanLine(y + dy)[x + dx] = 0;
    return near;
}

// Where the strokes' square lies on the drawn face: the scale and offset
// that put the most stroke ends on its ink.
struct FacePlace {
    double scale = 1, x = 0, y = 0;
};

FacePlace placeOfFace(const QImage &near, const ReferenceStrokeList &strokes)
{
    FacePlace place;
    double best = -1;
    for (double scale = 0.8; scale <= 1.2; scale += 0.02)
        for (int ox = -40; ox <= 40; ox += 2)
            for (int oy = -40; oy <= 40; oy += 2) {
                int on = 0;
                for (const ReferenceStroke &s : strokes)
                    for (const QPointF &e : {s.from, s.to}) {
                        const int x = int(e.x() * scale + ox), y = int(e.y() * scale + oy);
                        on += near.rect().contains(x, y) && inked(near, x, y);
                    }
                // Among equal fits the one closest to the face's own place.
                const double score = on - (std::abs(scale - 1) + (std::abs(ox) + std::abs(oy)) / 400.0);
                if (score > best) {
                    best = score;
                    place = {scale, double(ox), double(oy)};
                }
            }
    return place;
}

QRect inkBox(const QImage &drawn)
{
    QRect box;
    for (int y = 0; y < TraceSide; ++y)
        for (int x = 0; x < TraceSide; ++x)
            if (inked(drawn, x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The kanji black on white on the square, where the stroke data has it.
// The stroke-order face is drawn from the same strokes: it is laid where the
// strokes' ends fall on its ink (the numbers beside the strokes are ink the
// traces never reach, as they touch no stroke). Without that face the plain
// face stands in, its box laid on the box of the strokes' ends.
QImage glyphInk(const QString &glyph, const ReferenceStrokeList &strokes)
{
    QImage ink(TraceSide, TraceSide, QImage::Format_Grayscale8);
    ink.fill(255);
    QRectF ends;
    for (const ReferenceStroke &s : strokes)
        ends |= QRectF(s.from, QSizeF(0.01, 0.01)) | QRectF(s.to, QSizeF(0.01, 0.01));
    if (glyph.isEmpty() || ends.width() < 8 || ends.height() < 8)
        return ink;
    const bool strokeFace = strokeOrderFontInstalled();
    const QImage drawn = drawnGlyph(glyph, strokeFace);
    QPainter p(&ink);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (strokeFace) {
        const FacePlace f = placeOfFace(inkNearby(drawn), strokes);
        // The face at its place, mapped back onto the strokes' square.
        p.drawImage(QRectF(-f.x / f.scale, -f.y / f.scale, TraceSide / f.scale, TraceSide / f.scale), drawn);
        return ink;
    }
    const QRect box = inkBox(drawn);
    if (box.isEmpty())
        return ink;
    // The ends lie on the strokes' centre lines, half a stroke inside the ink.
    const double half = std::max(2.0, TraceSide / 40.0);
    p.drawImage(ends.adjusted(-half, -half, half, half), drawn, QRectF(box));
    return ink;
}

QPoint nearestInk(const QImage &ink, QPointF at)
{
    const QPoint c(std::clamp(int(at.x()), 0, TraceSide - 1), std::clamp(int(at.y()), 0, TraceSide - 1));
    for (int r = 0; r < 24; ++r)
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                const QPoint q = c + QPoint(dx, dy);
                if (std::max(std::abs(dx), std::abs(dy)) == r && ink.rect().contains(q) &&
                    inked(ink, q.x(), q.y()))
                    return q;
            }
    return {-1, -1};
}

// The cheapest way through the ink from a to b (8 neighbours). Every turn
// costs a little, so a path keeps to one stroke's straight runs instead of
// zigzagging through the middle of the kanji; a pixel of a stroke already
// traced costs more, so a bent stroke goes round its own way rather than
// along another one. Empty when the ink does not join them.
QVector<QPoint> inkPath(const QImage &ink, const std::vector<uint8_t> &taken, QPoint a, QPoint b)
{
    static constexpr int Dx[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    static constexpr int Dy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    constexpr float TurnCost = 1.0f; // per 45 degrees
    const size_t states = size_t(TraceSide) * TraceSide * 8;
    std::vector<float> cost(states, std::numeric_limits<float>::max());
    std::vector<int> from(states, -1);
    using Item = std::pair<float, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    const int start = a.y() * TraceSide + a.x();
    const int goal = b.y() * TraceSide + b.x();
    if (start == goal)
        return {a, b};
    for (int d = 0; d < 8; ++d) {
        cost[size_t(start) * 8 + size_t(d)] = 0;
        open.push({0.f, start * 8 + d});
    }
    int reached = -1;
    while (!open.empty()) {
        const auto [c, state] = open.top();
        open.pop();
        if (c > cost[size_t(state)])
            continue;
        const int i = state / 8, dir = state % 8;
        if (i == goal) {
            reached = state;
            break;
        }
        const int x = i % TraceSide, y = i / TraceSide;
        for (int d = 0; d < 8; ++d) {
            const int nx = x + Dx[d], ny = y + Dy[d];
            if (nx < 0 || ny < 0 || nx >= TraceSide || ny >= TraceSide || !inked(ink, nx, ny))
                continue;
            const int j = ny * TraceSide + nx;
            const int turn = std::min((d - dir + 8) % 8, (dir - d + 8) % 8);
            const float step = (d % 2 ? 1.414f : 1.f) * (taken[size_t(j)] ? 4.f : 1.f) +
                               (i == start ? 0.f : TurnCost * turn);
            const int next = j * 8 + d;
            if (c + step < cost[size_t(next)]) {
                cost[size_t(next)] = c + step;
                from[size_t(next)] = state;
                open.push({c + step, next});
            }
        }
    }
    if (reached < 0)
        return {};
    QVector<QPoint> path;
    for (int state = reached; state >= 0; state = from[size_t(state)])
        path.prepend(QPoint(state / 8 % TraceSide, state / 8 / TraceSide));
    return path;
}

// Keeps the corners of a pixel path (Douglas-Peucker); appends all but its first point.
void keepCorners(const QVector<QPoint> &path, int first, int last, double tolerance, StrokePath &out)
{
    const QPointF a = path[first], b = path[last];
    const QPointF ab = b - a;
    const double len = std::hypot(ab.x(), ab.y());
    double worst = 0;
    int at = -1;
    for (int i = first + 1; i < last; ++i) {
        const QPointF ap = QPointF(path[i]) - a;
        const double d =
            len > 0 ? std::abs(ab.x() * ap.y() - ab.y() * ap.x()) / len : std::hypot(ap.x(), ap.y());
        if (d > worst) {
            worst = d;
            at = i;
        }
    }
    if (at >= 0 && worst > tolerance) {
        keepCorners(path, first, at, tolerance, out);
        keepCorners(path, at, last, tolerance, out);
    } else {
        out.append(b);
    }
}

double pathLength(const StrokePath &path)
{
    double len = 0;
    for (qsizetype i = 1; i < path.size(); ++i)
        len += std::hypot(path[i].x() - path[i - 1].x(), path[i].y() - path[i - 1].y());
    return len;
}

// Marks what a traced stroke covers, for the strokes after it.
void take(std::vector<uint8_t> &taken, const StrokePath &path)
{
    for (qsizetype i = 1; i < path.size(); ++i) {
        const QPointF p0 = path[i - 1], p1 = path[i];
        const int steps = int(std::hypot(p1.x() - p0.x(), p1.y() - p0.y())) + 1;
        for (int k = 0; k <= steps; ++k) {
            const QPointF q = p0 + (p1 - p0) * (double(k) / steps);
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const int x = int(q.x()) + dx, y = int(q.y()) + dy;
                    if (x >= 0 && y >= 0 && x < TraceSide && y < TraceSide)
                        taken[size_t(y) * TraceSide + size_t(x)] = 1;
                }
        }
    }
}

// Whether nearly all of a stroke's straight line lies on the ink.
bool onInk(const QImage &ink, const ReferenceStroke &s)
{
    const int samples = 32;
    int on = 0;
    for (int k = 0; k <= samples; ++k) {
        const QPointF q = s.from + (s.to - s.from) * (double(k) / samples);
        const int x = std::clamp(int(q.x()), 0, TraceSide - 1), y = std::clamp(int(q.y()), 0, TraceSide - 1);
        on += inked(ink, x, y);
    }
    return on >= samples * 9 / 10;
}

} // namespace

QVector<StrokePath> traceStrokePaths(const QString &glyph, const ReferenceStrokeList &strokes)
{
    const QImage ink = glyphInk(glyph, strokes);
    std::vector<uint8_t> taken(size_t(TraceSide) * TraceSide, 0);
    QVector<StrokePath> paths;
    for (qsizetype k = 0; k < strokes.size(); ++k) {
        const ReferenceStroke &s = strokes[k];
        StrokePath path{s.from, s.to};
        const QPoint a = nearestInk(ink, s.from), b = nearestInk(ink, s.to);
        // A straight stroke's line lies on the ink: it stays as it is.
        if (a.x() >= 0 && b.x() >= 0 && !onInk(ink, s)) {
            // The other strokes' ways: the earlier ones as traced, the later
            // ones as their straight lines (exact for the straight strokes,
            // and mostly off the ink for the bent ones).
            std::vector<uint8_t> others = taken;
            for (qsizetype j = k + 1; j < strokes.size(); ++j)
                take(others, {strokes[j].from, strokes[j].to});
            const QVector<QPoint> pixels = inkPath(ink, others, a, b);
            if (pixels.size() >= 2) {
                StrokePath traced{s.from};
                keepCorners(pixels, 0, int(pixels.size()) - 1, TraceSide / 40.0, traced);
                traced.last() = s.to;
                // A way round much longer than the stroke's own reach is a
                // wrong turn through joined strokes: the line is kept then.
                const double chord = std::hypot(s.to.x() - s.from.x(), s.to.y() - s.from.y());
                if (pathLength(traced) <= 3.0 * chord + TraceSide / 16.0)
                    path = traced;
            }
        }
        take(taken, path);
        paths.append(path);
    }
    return paths;
}

void paintStrokes(QPainter &p, const QRectF &square, const QVector<StrokePath> &paths, int done,
                  double progress)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double width = penWidth(square);
    const QFont numberFont = pixelFont(std::max(10, int(square.width() / 14)), true, Gothic);
    p.setFont(numberFont);
    for (int i = 0; i < int(paths.size()) && i <= done; ++i) {
        const StrokePath &s = paths[i];
        const bool current = i == done;
        if (s.size() < 2 || (current && progress <= 0))
            break;
        // The whole stroke, or the part of its length drawn so far.
        double left = current ? std::min(1.0, progress) * pathLength(s) : std::numeric_limits<double>::max();
        QPainterPath line(onSquare(square, s.first()));
        for (qsizetype k = 1; k < s.size() && left > 0; ++k) {
            const QPointF d = s[k] - s[k - 1];
            const double len = std::hypot(d.x(), d.y());
            line.lineTo(onSquare(square, len > left ? s[k - 1] + d * (left / len) : s[k]));
            left -= len;
        }
        p.setPen(
            QPen(current ? colour::Red : colour::Black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
        // The number sits just before the stroke's start, away from the line.
        const QPointF from = onSquare(square, s[0]);
        QPointF dir = onSquare(square, s[1]) - from;
        const double len = std::hypot(dir.x(), dir.y());
        dir = len > 0 ? dir / len : QPointF(1, 0);
        QRectF box(0, 0, numberFont.pixelSize() * 1.6, numberFont.pixelSize() * 1.2);
        box.moveCenter(from - dir * numberFont.pixelSize() * 0.9);
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

// ---- the stroke-order view ----

StrokeOrderView::StrokeOrderView(QWidget *parent, QVector<StrokePath> paths)
    : QWidget(parent), paths_(std::move(paths))
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
    if (!paths_.isEmpty())
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
    paintStrokes(p, sq, paths_, done_, double(tick_) / TicksPerStroke);
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

    Img_Kakijun =
        new StrokeOrderView(this, traceStrokePaths(glyph, services.handwriting.reference(kanjiNumber)));
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
