#include "kit.h"
#include "clock.h"
#include <QPainter>
#include <memory>

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
        connect(b, &QPushButton::clicked, this, [this, i] { emit pressed(i); });
        keys_[size_t(i)] = b;
    }
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

bool PressGuard::accept()
{
    const double now = clock_.now();
    const double elapsedMs = (now - last_) * 86400000.0;
    // A clock set back counts as a new press.
    if (elapsedMs >= 0 && elapsedMs < WindowMs)
        return false;
    last_ = now;
    return true;
}

void onGuardedClick(QPushButton *button, const Clock &clock, const std::function<void()> &action)
{
    auto guard = std::make_shared<PressGuard>(clock);
    QObject::connect(button, &QPushButton::clicked, button, [guard, action] {
        if (guard->accept())
            action();
    });
}

} // namespace fm
