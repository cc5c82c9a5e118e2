#pragma once
// The paper a child writes on, stroke by stroke: the writing square of a
// writing question and the practice paper of a kanji's page. Strokes come
// from the mouse, a pen or a finger (Qt turns pen and touch input the
// widget does not take itself into mouse events). A press on the paper
// starts a stroke, and so does a press that misses it by a little, on the
// nearest edge; a stroke that runs over the edge stays on the edge. Every
// finished stroke is handed on in the 0..255 coordinates of the reference
// strokes.
#include "handwriting/ink.h"
#include <QPainterPath>
#include <QWidget>

namespace fm
{

class PaperWidget : public QWidget
{
    Q_OBJECT
  public:
    // What becomes of a stroke being written when the paper is hidden.
    enum class OnHide {
        KeepStroke, // handed on as written so far
        DropStroke, // lost, as if never begun
    };

    // `margin`: pixels of the widget outside the paper on each side, where
    // a press starts a stroke on the paper's edge.
    PaperWidget(QWidget *parent, int margin, OnHide onHide);

    // The paper: the largest square inside the margin, centred.
    QRectF paper() const;
    // A widget point in ink coordinates, held on the paper.
    QPointF toInk(QPointF widgetPoint) const;
    QPointF toWidget(QPointF inkPoint) const;

    bool drawing() const { return drawing_; }

    // A stroke written by a test: points in the widget's own coordinates,
    // taken as a press on the first, moves and a release would take them.
    void writeStroke(const QVector<QPointF> &points);

  signals:
    void strokeWritten(const fm::InkStroke &stroke);

  protected:
    // A paper without a margin of its own: presses that just miss it land
    // on the widget around it, which passes them on here.
    void reachIntoParent();
    // Whether a press starts a stroke now.
    virtual bool writable() const { return true; }
    // The stroke being written, in ink coordinates; empty between strokes.
    const InkStroke &strokeInProgress() const { return current_; }
    // The stroke being written goes without being handed on; false when
    // there was none.
    bool dropStroke();
    // The line through ink points on the paper; a dot gets a hair's length,
    // so that a round pen draws it.
    QPainterPath inkPath(const QVector<QPointF> &inkPoints) const;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    // The pointer, wherever its events arrive, at points of this widget;
    // `beside`: the press went to the widget around the paper.
    bool press(Qt::MouseButton button, QPointF at, bool beside);
    void moveTo(QPointF at);
    void release(Qt::MouseButton button);
    void endStroke();

    int margin_;
    OnHide onHide_;
    InkStroke current_;
    bool drawing_ = false;
    bool beside_ = false; // the stroke's press went to the widget around
};

} // namespace fm
