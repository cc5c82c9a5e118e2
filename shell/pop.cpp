#include "shell/pop.h"
#include "shell/look.h"
#include "shell/random.h"
#include "shell/screen.h"
#include "shell/services.h"
#include <QPainter>
#include <cmath>

namespace fm
{

TF_Pop::TF_Pop(Services &services, QWidget *parent) : QWidget(parent)
{
    setGeometry(parent ? parent->rect() : QRect(0, 0, DesignWidth, DesignHeight));
    fillBackground(this, colour::Teal);
    setEnabled(false);
    FormCreate(services);
}

TF_Pop::Layout TF_Pop::layoutFor(QSize client)
{
    const int w = client.width(), h = client.height();
    return Layout{QPoint(w / 2 - 20, h / 3 - 80), QPoint(w / 4 + 3, h / 3 + 3), QPoint(w / 4, h / 3),
                  QPoint(w / 4 + 50, h / 3 + 50)};
}

void TF_Pop::FormCreate(Services &services)
{
    if (services.shell.PopSource != PictureSource::MainScreen ||
        services.shell.PopKind != PictureKind::Loading)
        return;
    const qreal ratio = devicePixelRatioF();
    Image1 = QImage(QSize(int(std::ceil(width() * ratio)), int(std::ceil(height() * ratio))),
                    QImage::Format_RGB32);
    Image1.setDevicePixelRatio(ratio);
    Image1.fill(colour::Teal);

    const Layout at = layoutFor(size());
    QPainter p(&Image1);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.drawPixmap(at.icon, iconOver(services.shell.ImgLst_Header[4], colour::Teal));
    const QString greeting = QStringLiteral("がんばれ！ ふでまる");
    const QSize big(width(), height());
    p.setFont(pointFont(24, true));
    p.setPen(colour::Grey);
    p.drawText(QRect(at.shadow, big), Qt::AlignLeft | Qt::AlignTop, greeting);
    p.setPen(colour::White);
    p.drawText(QRect(at.greeting, big), Qt::AlignLeft | Qt::AlignTop, greeting);
    p.setFont(pointFont(18, true));
    p.setPen(colour::Yellow);
    p.drawText(QRect(at.second, big), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("ただいまじゅんびちゅう！"));
    p.end();

    services.random.randomize(services.clock);
}

void TF_Pop::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (Image1.isNull())
        p.fillRect(rect(), colour::Teal);
    else
        p.drawImage(QPoint(0, 0), Image1);
}

} // namespace fm
