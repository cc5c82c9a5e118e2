#include "shell/look.h"
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace fm
{

void installFontSubstitutions()
{
    QFont::insertSubstitution(PGothic, QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(Gothic, QStringLiteral("IPAGothic"));
    // Century is a serif face; the IPA set has none, DejaVu Serif is always there.
    QFont::insertSubstitutions(Century, {QStringLiteral("DejaVu Serif"), QStringLiteral("IPAPGothic")});
}

QFont pixelFont(int pixels, bool bold, const QString &face)
{
    QFont f(face);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QFont pointFont(int points, bool bold, const QString &face)
{
    // The layout measures points at 96 dots per inch; pixels keep it so on any display.
    return pixelFont((points * 96 + 36) / 72, bold, face);
}

void fillBackground(QWidget *widget, const QColor &c)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, c);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

namespace
{
// Drawn by hand rather than with a style sheet, which would cut the box's
// buttons and labels off from the screen's font.
class FramedBox : public QGroupBox
{
  public:
    FramedBox(const QString &caption, QWidget *parent, const QColor &captionColour)
        : QGroupBox(caption, parent), captionColour_(captionColour)
    {
    }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QFontMetrics fm(font());
        const int lineY = fm.height() / 2;
        p.setPen(QColor(192, 192, 192));
        p.drawRect(0, lineY, width() - 1, height() - 1 - lineY);
        if (title().isEmpty())
            return;
        const QRect text(8, 0, fm.horizontalAdvance(title()) + 4, fm.height());
        p.fillRect(text, colour::Navy);
        // A locked group (a choice that cannot change during a game) looks locked.
        p.setPen(isEnabled() ? captionColour_ : colour::Grey);
        p.drawText(text, Qt::AlignCenter, title());
    }

  private:
    QColor captionColour_;
};
} // namespace

QGroupBox *makeGroupBox(QWidget *parent, const QString &caption, const QRect &place,
                        const QColor &captionColour)
{
    auto *box = new FramedBox(caption, parent, captionColour);
    box->setGeometry(place);
    fillBackground(box, colour::Navy);
    return box;
}

void setTextColour(QLabel *label, const QColor &c)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, c);
    label->setPalette(p);
}

QLabel *makeLabel(QWidget *parent, const QString &text, int x, int y, const QFont &font, const QColor &c,
                  int width, int height)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    setTextColour(label, c);
    label->setAttribute(Qt::WA_TranslucentBackground);
    if (width > 0 && height > 0)
        label->setGeometry(x, y, width, height);
    else {
        label->move(x, y);
        label->adjustSize();
    }
    return label;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(tag_);
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit hovered(tag_);
    QLabel::mouseMoveEvent(event);
}

void ClickLabel::enterEvent(QEnterEvent *event)
{
    emit hovered(tag_);
    QLabel::enterEvent(event);
}

} // namespace fm
