#pragma once
// The program's faces, colours and small control helpers shared by every screen.
#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QRect>
#include <QString>

namespace fm
{

// The program's face names; installFontSubstitutions() maps them to the IPA fonts.
inline const QString PGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString Gothic = QStringLiteral("ＭＳ ゴシック");
inline const QString Century = QStringLiteral("Century");

// Call once after the application object exists (tests: in their set-up).
void installFontSubstitutions();

// A font of the program's faces given in pixels (most labels) or in points (at 96 dpi).
QFont pixelFont(int pixels, bool bold = false, const QString &face = PGothic);
QFont pointFont(int points, bool bold = false, const QString &face = PGothic);

namespace colour
{
inline const QColor Navy{0, 0, 128};
inline const QColor Teal{0, 128, 128};
inline const QColor Yellow{255, 255, 0};
inline const QColor White{255, 255, 255};
inline const QColor Red{255, 0, 0};
inline const QColor Blue{0, 0, 255};
inline const QColor Black{0, 0, 0};
inline const QColor Grey{128, 128, 128};
inline const QColor Silver{192, 192, 192};
inline const QColor Green{0, 128, 0};
inline const QColor Lime{0, 255, 0};
inline const QColor Aqua{0, 255, 255};
inline const QColor Purple{128, 0, 128};
} // namespace colour

// Gives a widget a solid background of this colour.
void fillBackground(QWidget *widget, const QColor &colour);

// A label at (x, y) as large as its text (or of the given size), transparent background.
QLabel *makeLabel(QWidget *parent, const QString &text, int x, int y, const QFont &font, const QColor &colour,
                  int width = 0, int height = 0);
void setTextColour(QLabel *label, const QColor &colour);

// A group box on navy as the screens draw it: a thin light frame with the
// caption on its top line, so children placed at the box's layout
// coordinates sit inside the frame.
QGroupBox *makeGroupBox(QWidget *parent, const QString &caption, const QRect &place,
                        const QColor &captionColour = QColor(255, 255, 255));

// A label that reacts to the mouse: clicked() on release inside, hovered() on
// every move over it. The screen decides its colours.
class ClickLabel : public QLabel
{
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget *parent = nullptr, int tag = 0) : QLabel(parent), tag_(tag)
    {
        setMouseTracking(true);
    }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

  signals:
    void clicked(int tag);
    void hovered(int tag);

  protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;

  private:
    int tag_;
};

} // namespace fm
