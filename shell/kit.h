#pragma once
// Small controls every screen builds from: push buttons, labels that light
// up under the pointer, the on-screen kana keys, see-through glyphs, and the
// guard that keeps a double click from acting twice.
#include "shell/look.h"
#include <QCursor>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QAbstractButton;
class QCoreApplication;
class QPainter;

namespace fm
{

class Clock;

// A push button at layout coordinates with the hand pointer; it never takes
// the keyboard focus (the program is driven by the mouse alone).
QPushButton *makePushButton(QWidget *parent, const QString &text, const QRect &place, const QCursor &pointer,
                            const QString &hint = QString());

// A clickable label: red while the pointer is over it, white otherwise, with
// the hand pointer. clicked(tag) on release inside.
class HoverLabel : public ClickLabel
{
    Q_OBJECT
  public:
    HoverLabel(QWidget *parent, const QString &text, int tag, const QCursor &pointer);

  protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
};

// Keys 1..count of an on-screen kana keyboard: each key's caption and place
// come from the screen's own table; pressed(i) on every press (a child may
// type the same kana twice in a row).
class KanaKeypad : public QObject
{
    Q_OBJECT
  public:
    static constexpr int MaxKeys = 80;
    KanaKeypad(QWidget *parent, int count, const std::function<QString(int)> &caption,
               const std::function<QRect(int)> &place, const QCursor &pointer,
               const std::optional<QFont> &font = std::nullopt); // none: the parent's font
    int count() const { return count_; }
    QPushButton *key(int i) const { return i >= 1 && i <= count_ ? keys_[size_t(i)] : nullptr; }

  signals:
    void pressed(int key);

  private:
    int count_;
    std::array<QPushButton *, MaxKeys + 1> keys_{};
};

// A picture drawn off screen and shown in one piece (the mole field, the
// kanji list): navy until it has one.
class PictureView : public QWidget
{
    Q_OBJECT
  public:
    explicit PictureView(QWidget *parent);
    void setPicture(const QImage &picture);
    const QImage &picture() const { return picture_; }
    // The shown picture, to be drawn into in place; call update() afterwards.
    QImage &canvas() { return picture_; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QImage picture_;
};

// A picture with its pure white made see-through (the header icons, the
// start-up pictures, the games' button glyphs).
QPixmap whiteTransparent(const QImage &image);

// Draws a glyph in its colour, centred in cell, leaving the ground as it was
// (no background box): for kanji flying over a picture.
void drawGlyphSeeThrough(QPainter &p, const QRect &cell, const QString &glyph, const QFont &font,
                         const QColor &colour);

// The second press of a double click must not act again on a button that
// moves on (next question, start, end): a press within PressGuard::WindowMs
// of the last accepted one, or of the end of the action it started, is
// ignored. Time comes from the program's clock so tests drive it.
class PressGuard
{
  public:
    static constexpr double WindowMs = 400;
    explicit PressGuard(const Clock &clock) : clock_(clock) {}
    // True when this press is to be acted on (and starts a new window).
    bool accept();
    // Starts the window again: called when the action a press started is
    // over, which may be long after the press (a question answered "no").
    void restart();
    // How long a press would still be ignored, in milliseconds (0: taken now).
    double waitMs() const;

  private:
    double elapsedMs() const;
    const Clock &clock_;
    double last_ = -1e9; // days
};

// Connects button's clicks to action through a PressGuard of its own, held
// by a PressGuardHolder child of the button so that it goes with it.
void onGuardedClick(QAbstractButton *button, const Clock &clock, const std::function<void()> &action);
class PressGuardHolder : public QObject
{
  public:
    PressGuardHolder(QObject *button, const Clock &clock) : QObject(button), guard(clock) {}
    PressGuard guard;
};

// A window that closes on a press (a result's "もどる") cannot ignore the
// second press of a double click itself: it would land on the screen
// beneath. For PressGuard::WindowMs after this call presses anywhere in the
// program are dropped. owner bounds the drop's life (it must not outlive clock).
void dropFollowingPresses(QObject *owner, const Clock &clock);

// A window that opens while the child may still be pressing (a game's
// verdict, the score board, the result window) ignores every press for
// OpeningShieldMs from its showing, and shows no button under the pointer:
// the window moves aside, or (a window that covers the stage) the button
// moves to the other side of it. It lives as long as the window.
constexpr double OpeningShieldMs = 1000;
enum class ClearOfPointer { MoveWindow, MoveButton };
void shieldOpeningWindow(QWidget *window, const Clock &clock,
                         ClearOfPointer how = ClearOfPointer::MoveWindow);

// Where a window at `window` (global coordinates) goes so that none of
// `buttons` (global) lies within `margin` of `pointer`, staying inside
// `screen`: the nearest such place; the window's own place when no button
// is near the pointer or when no place in reach clears them all.
QPoint placeClearOfPointer(const QRect &window, const QVector<QRect> &buttons, const QPoint &pointer,
                           const QRect &screen, int margin);

// Children double-click everything. The second press of a double click
// counts only on the control that took the first press, and only when that
// control takes every press (kana and kanji keys, the mole field: mark them
// with takeEveryPress). Everywhere else it is dropped, with its release: a
// button that moved on, closed a window or changed the screen under the
// first press never acts again, and the control that now lies under the
// pointer never receives a press the child did not aim at it.
// Installed once on the application (the program and the test shell).
void installDoubleClickRule(QCoreApplication *app);
void takeEveryPress(QWidget *control);

// A large red ○ (right) or blue × (wrong) over an answer for about a
// second, so that a child without sound still sees the result. It takes no
// clicks; the keys beneath keep working.
class JudgeMark : public QWidget
{
    Q_OBJECT
  public:
    static constexpr int ShowMs = 1000;
    JudgeMark(QWidget *parent, const QRect &place);

    void showRight();
    void showWrong();
    // "○" or "×" while shown, empty otherwise.
    QString mark() const { return isVisible() ? mark_ : QString(); }
    // How long a mark stays (ShowMs unless set).
    void setShowTime(int ms);
    // The mark goes now.
    void clear();

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QTimer *Tim_Mark; // the mark's time; at its end, the mark goes
    void showMark(const QString &mark);
    QString mark_;
};

// A message broken into lines of at most width pixels only between phrases
// (after 、。！？ and blanks), so that no word is cut in two; a phrase longer
// than a line is broken where it must. The lines are joined with '\n'.
QString breakBetweenPhrases(const QString &text, const QFont &font, int width);

} // namespace fm
