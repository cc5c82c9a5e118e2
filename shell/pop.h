#pragma once
// TF_Pop: the start-up picture, up at once while the data files load.
#include <QImage>
#include <QPoint>
#include <QWidget>

namespace fm
{

struct Services;

class TF_Pop : public QWidget
{
    Q_OBJECT
  public:
    // Covers the whole of parent (the host window), teal, taking no input.
    TF_Pop(Services &services, QWidget *parent);

    // Where the icon and the texts go in a client area of this size.
    struct Layout {
        QPoint icon;     // the study icon
        QPoint shadow;   // the greeting's grey shadow
        QPoint greeting; // the greeting in white
        QPoint second;   // "ただいまじゅんびちゅう！"
    };
    static Layout layoutFor(QSize client);

    const QImage &picture() const { return Image1; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void FormCreate(Services &services);
    QImage Image1;
};

} // namespace fm
