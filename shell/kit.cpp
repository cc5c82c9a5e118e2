#include "shell/kit.h"
#include "shell/clock.h"
#include <QAbstractButton>
#include <QApplication>
#include <QBitmap>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <algorithm>

namespace fm
{

QPushButton *makePushButton(QWidget *parent, const QString &text, const QRect &place, const QCursor &pointer,
                            const QString &hint)
{
    auto *b = new QPushButton(text, parent);
    b->setGeometry(place);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    b->setCursor(pointer);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

HoverLabel::HoverLabel(QWidget *parent, const QString &text, int tag, const QCursor &pointer)
    : ClickLabel(parent, tag)
{
    setText(text);
    setCursor(pointer);
    setTextColour(this, colour::White);
}

void HoverLabel::enterEvent(QEnterEvent *event)
{
    setTextColour(this, colour::Red);
    ClickLabel::enterEvent(event);
}

void HoverLabel::leaveEvent(QEvent *event)
{
    setTextColour(this, colour::White);
    ClickLabel::leaveEvent(event);
}

KanaKeypad::KanaKeypad(QWidget *parent, int count, const std::function<QString(int)> &caption,
                       const std::function<QRect(int)> &place, const QCursor &pointer,
                       const std::optional<QFont> &font)
    : QObject(parent), count_(std::min(count, MaxKeys))
{
    for (int i = 1; i <= count_; ++i) {
        QPushButton *b = makePushButton(parent, caption(i), place(i), pointer);
        if (font)
            b->setFont(*font);
        b->setProperty("tag", i);
        takeEveryPress(b);
        connect(b, &QPushButton::clicked, this, [this, i] { emit pressed(i); });
        keys_[size_t(i)] = b;
    }
}

PictureView::PictureView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::setPicture(const QImage &picture)
{
    picture_ = picture;
    update();
}

void PictureView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (picture_.isNull())
        p.fillRect(rect(), colour::Navy);
    else
        p.drawImage(QPoint(0, 0), picture_);
}

QPixmap whiteTransparent(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QPixmap pixmap = QPixmap::fromImage(rgb);
    pixmap.setMask(QBitmap::fromImage(rgb.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor)));
    return pixmap;
}

void drawGlyphSeeThrough(QPainter &p, const QRect &cell, const QString &glyph, const QFont &font,
                         const QColor &colour)
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(colour);
    p.setBackgroundMode(Qt::TransparentMode);
    p.drawText(cell, Qt::AlignCenter, glyph);
    p.restore();
}

double PressGuard::elapsedMs() const
{
    return (clock_.now() - last_) * 86400000.0;
}

bool PressGuard::accept()
{
    const double elapsed = elapsedMs();
    // A clock set back counts as a new press.
    if (elapsed >= 0 && elapsed < WindowMs)
        return false;
    last_ = clock_.now();
    return true;
}

void PressGuard::restart()
{
    last_ = clock_.now();
}

double PressGuard::waitMs() const
{
    const double elapsed = elapsedMs();
    return elapsed >= 0 && elapsed < WindowMs ? WindowMs - elapsed : 0;
}

namespace
{

// Drops every press (and the release that belongs to it) for the guard's
// window, then takes itself away.
class PressDrop : public QObject
{
  public:
    PressDrop(QObject *owner, const Clock &clock, double windowMs = PressGuard::WindowMs)
        : QObject(owner), clock_(clock), start_(clock.now()), windowMs_(windowMs)
    {
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (inWindow()) {
                dropping_ = true;
                return true;
            }
            finish();
            break;
        case QEvent::MouseButtonRelease:
            if (dropping_) {
                // One release per dropped press; the next press decides anew.
                if (!inWindow())
                    finish();
                return true;
            }
            if (!inWindow())
                finish();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool inWindow() const
    {
        const double elapsed = (clock_.now() - start_) * 86400000.0;
        return elapsed >= 0 && elapsed < windowMs_;
    }
    void finish()
    {
        dropping_ = false;
        if (!done_) {
            done_ = true;
            qApp->removeEventFilter(this);
            deleteLater();
        }
    }

    const Clock &clock_;
    double start_;
    double windowMs_;
    bool dropping_ = false;
    bool done_ = false;
};

} // namespace

void onGuardedClick(QAbstractButton *button, const Clock &clock, const std::function<void()> &action)
{
    auto *holder = new PressGuardHolder(button, clock);
    QObject::connect(button, &QAbstractButton::clicked, holder, [holder, action] {
        if (!holder->guard.accept())
            return;
        QPointer<PressGuardHolder> alive(holder);
        action();
        // Counted from the end of the action too: a press queued behind a
        // slow one is still the second press of the double click.
        if (alive)
            alive->guard.restart();
    });
}

void dropFollowingPresses(QObject *owner, const Clock &clock)
{
    qApp->installEventFilter(new PressDrop(owner, clock));
}

QPoint placeClearOfPointer(const QRect &window, const QVector<QRect> &buttons, const QPoint &pointer,
                           const QRect &screen, int margin)
{
    const auto clear = [&](const QPoint &shift) {
        for (const QRect &b : buttons)
            if (b.translated(shift).adjusted(-margin, -margin, margin, margin).contains(pointer))
                return false;
        return true;
    };
    if (clear(QPoint()))
        return window.topLeft();
    // Each way out: just past the pointer above, below, left or right of each button.
    QVector<QPoint> shifts;
    for (const QRect &b : buttons) {
        shifts << QPoint(0, pointer.y() - margin - b.bottom() - 1)
               << QPoint(0, pointer.y() + margin - b.top() + 1)
               << QPoint(pointer.x() - margin - b.right() - 1, 0)
               << QPoint(pointer.x() + margin - b.left() + 1, 0);
    }
    std::optional<QPoint> best;
    for (const QPoint &shift : shifts) {
        const QRect moved = window.translated(shift);
        if (!screen.contains(moved) || !clear(shift))
            continue;
        if (!best || shift.manhattanLength() < best->manhattanLength())
            best = shift;
    }
    return best ? window.topLeft() + *best : window.topLeft();
}

namespace
{

// Starts the press drop when its window shows, and moves the window (or its
// buttons) clear of the pointer.
class OpeningShield : public QObject
{
  public:
    OpeningShield(QWidget *window, const Clock &clock, ClearOfPointer how)
        : QObject(window), window_(window), clock_(clock), how_(how)
    {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == window_ && event->type() == QEvent::Show) {
            qApp->installEventFilter(new PressDrop(window_, clock_, OpeningShieldMs));
            // After the window's own placing (a message box centres itself on show).
            QTimer::singleShot(0, this, [this] { keepButtonsFromPointer(); });
            keepButtonsFromPointer();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void keepButtonsFromPointer()
    {
        constexpr int Margin = 32;
        const QPoint pointer = QCursor::pos();
        const QList<QAbstractButton *> buttons = window_->findChildren<QAbstractButton *>();
        QVector<QRect> rects;
        for (QAbstractButton *b : buttons)
            if (b->isVisibleTo(window_))
                rects << QRect(b->mapToGlobal(QPoint(0, 0)), b->size());
        const QRect frame(window_->mapToGlobal(QPoint(0, 0)), window_->size());
        QScreen *screen = window_->screen();
        const QRect area = screen ? screen->availableGeometry() : QRect();
        if (how_ == ClearOfPointer::MoveWindow) {
            const QPoint to = placeClearOfPointer(frame, rects, pointer, area, Margin);
            if (to != frame.topLeft())
                window_->move(window_->pos() + (to - frame.topLeft()));
            return;
        }
        // A window over the stage stays there: the button under the pointer
        // goes to the other side of the window.
        for (QAbstractButton *b : buttons) {
            const QRect r(b->mapToGlobal(QPoint(0, 0)), b->size());
            if (b->isVisibleTo(window_) && r.adjusted(-Margin, -Margin, Margin, Margin).contains(pointer) &&
                b->parentWidget() == window_)
                b->move(window_->width() - b->x() - b->width(), b->y());
        }
    }

    QWidget *window_;
    const Clock &clock_;
    ClearOfPointer how_;
};

} // namespace

void shieldOpeningWindow(QWidget *window, const Clock &clock, ClearOfPointer how)
{
    new OpeningShield(window, clock, how);
}

namespace
{

constexpr char EveryPress[] = "fudemaruEveryPress";

class DoubleClickRule : public QObject
{
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            lastPressed_ = watched;
            break;
        case QEvent::MouseButtonDblClick:
            if (watched == lastPressed_ && watched->property(EveryPress).toBool())
                break; // a key tapped twice: two kana
            dropRelease_ = true;
            return true;
        case QEvent::MouseButtonRelease:
            if (dropRelease_) {
                dropRelease_ = false;
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }

  private:
    QPointer<QObject> lastPressed_;
    bool dropRelease_ = false;
};

} // namespace

void installDoubleClickRule(QCoreApplication *app)
{
    app->installEventFilter(new DoubleClickRule(app));
}

void takeEveryPress(QWidget *control)
{
    control->setProperty(EveryPress, true);
}

// ---- the judge mark ----

JudgeMark::JudgeMark(QWidget *parent, const QRect &place) : QWidget(parent)
{
    setGeometry(place);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
    Tim_Mark = new QTimer(this);
    Tim_Mark->setObjectName(QStringLiteral("Tim_Mark"));
    Tim_Mark->setSingleShot(true);
    Tim_Mark->setInterval(ShowMs);
    connect(Tim_Mark, &QTimer::timeout, this, &JudgeMark::clear);
}

void JudgeMark::showRight()
{
    showMark(QStringLiteral("○"));
}

void JudgeMark::showWrong()
{
    showMark(QStringLiteral("×"));
}

void JudgeMark::showMark(const QString &mark)
{
    mark_ = mark;
    setAccessibleName(mark);
    raise();
    show();
    update();
    Tim_Mark->start(); // a second again from this answer
}

void JudgeMark::setShowTime(int ms)
{
    Tim_Mark->setInterval(ms);
}

void JudgeMark::clear()
{
    Tim_Mark->stop();
    hide();
}

void JudgeMark::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height());
    const QPointF c(width() / 2.0, height() / 2.0);
    const double stroke = side * 0.13;
    // A white edge keeps the mark clear on navy and over white keys alike.
    auto twice = [&](const QColor &colour, const std::function<void()> &draw) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour::White, stroke + side * 0.07, Qt::SolidLine, Qt::RoundCap));
        draw();
        p.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::RoundCap));
        draw();
    };
    if (mark_ == QStringLiteral("○")) {
        const double r = side * 0.33;
        twice(colour::Red, [&] { p.drawEllipse(c, r, r); });
    } else {
        const double h = side * 0.30;
        twice(QColor(20, 100, 255), [&] {
            p.drawLine(c + QPointF(-h, -h), c + QPointF(h, h));
            p.drawLine(c + QPointF(h, -h), c + QPointF(-h, h));
        });
    }
}

// ---- lines between phrases ----

namespace
{

bool endsPhrase(QChar ch)
{
    static const QString marks = QStringLiteral("、。！？!?，．,");
    return marks.contains(ch);
}

bool blank(QChar ch)
{
    return ch == QLatin1Char(' ') || ch == QChar(0x3000);
}

// Phrases with their trailing marks and blanks.
QStringList phrasesOf(const QString &text)
{
    QStringList out;
    QString current;
    for (int i = 0; i < text.size(); ++i) {
        current += text[i];
        const bool atEnd = endsPhrase(text[i]) || blank(text[i]);
        const bool nextContinues = i + 1 < text.size() && (endsPhrase(text[i + 1]) || blank(text[i + 1]));
        if (atEnd && !nextContinues) {
            out << current;
            current.clear();
        }
    }
    if (!current.isEmpty())
        out << current;
    return out;
}

QString trimmedEnd(QString s)
{
    while (!s.isEmpty() && blank(s.back()))
        s.chop(1);
    return s;
}

} // namespace

QString breakBetweenPhrases(const QString &text, const QFont &font, int width)
{
    const QFontMetrics metrics(font);
    auto fits = [&](const QString &s) { return metrics.horizontalAdvance(trimmedEnd(s)) <= width; };
    QStringList lines;
    QString line;
    for (const QString &phrase : phrasesOf(text)) {
        if (fits(line + phrase)) {
            line += phrase;
            continue;
        }
        if (!line.isEmpty())
            lines << trimmedEnd(line);
        line.clear();
        QString rest = phrase;
        while (!rest.isEmpty() && blank(rest.front()))
            rest.remove(0, 1);
        // A phrase wider than a line: as many characters as fit, then the rest.
        while (!fits(rest)) {
            int n = 1;
            while (n < rest.size() && fits(rest.left(n + 1)))
                ++n;
            lines << rest.left(n);
            rest.remove(0, n);
        }
        line = rest;
    }
    if (!trimmedEnd(line).isEmpty())
        lines << trimmedEnd(line);
    return lines.join(QLatin1Char('\n'));
}

} // namespace fm
