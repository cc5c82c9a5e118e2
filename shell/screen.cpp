#include "shell/screen.h"
#include "shell/helpviewer.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include <QHideEvent>
#include <QPainter>
#include <QShowEvent>

namespace fm
{

HeaderButton::HeaderButton(QWidget *parent, int tag, const QPixmap &icon, const QString &hint,
                           const QCursor &pointer)
    : ClickLabel(parent, tag)
{
    setPixmap(icon);
    resize(48, 48);
    setCursor(pointer);
    setToolTip(hint);
}

QPixmap iconOver(const QPixmap &icon, const QColor &background)
{
    QPixmap out(48, 48);
    out.fill(background);
    if (!icon.isNull()) {
        QPainter p(&out);
        p.drawPixmap(0, 0, icon);
    }
    return out;
}

Screen::Screen(Services &sv, ScreenId id)
    : QWidget(sv.nav.stage()), services(sv), state(sv.state), id_(id), helpContext_(screenRow(id).helpContext)
{
    setGeometry(0, 0, DesignWidth, DesignHeight);
    fillBackground(this, colour::Navy);
    setFont(pixelFont(12));
    hide();
    services.nav.adopt(this);
}

Screen::~Screen()
{
    services.nav.forget(this);
}

void Screen::FormActivate()
{
    state.HintContext = HintCtx{int16_t(screenNumber())};
}

void Screen::showHint()
{
    if (services.screens.showHintWindow)
        services.screens.showHintWindow(services, this);
    // Back from the modal window this screen is the active one again.
    if (services.nav.current() == this)
        FormActivate();
}

void Screen::showHelp()
{
    services.help.showHelp(this, helpContext_);
}

void Screen::minimise()
{
    services.nav.host().showMinimized();
}

void Screen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Restoring the minimised program is not a new showing of the screen.
    if (!event->spontaneous())
        FormShow();
}

void Screen::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

ScreenFrame::ScreenFrame(Services &sv, ScreenId id, const FrameLayout &frame) : Screen(sv, id)
{
    Lbl_Title = makeLabel(this, screenTitle(id), 8, 0, pixelFont(27, true), colour::Yellow);
    Lbl_Title->resize(Lbl_Title->width(), 27);
    Lbl_Title->setObjectName(QStringLiteral("Lbl_Title"));
    if (!frame.headerButtons)
        return;
    static const QString hints[] = {QString(), QStringLiteral("ヒントをみる"), QStringLiteral("ヘルプをみる"),
                                    QStringLiteral("アイコンにする")};
    for (int i = 1; i <= header::ButtonCount; ++i) {
        const QString hint = i == int(header::Button::Back) ? frame.backHint : hints[i];
        auto *b = new HeaderButton(this, i, iconOver(sv.shell.ImgLst_Header[i - 1], colour::Navy), hint,
                                   sv.shell.HandPointer);
        b->move(80 * i - 70, frame.headerTop);
        b->setObjectName(QStringLiteral("Img_Button%1").arg(i));
        connect(b, &HeaderButton::clicked, this, [this](int index) { Img_Button1Click(index); });
        header_[i] = b;
    }
}

void ScreenFrame::setHeaderTop(int top)
{
    for (int i = 1; i <= header::ButtonCount; ++i)
        if (header_[i])
            header_[i]->move(header_[i]->x(), top);
}

bool Screen::commonHeaderAction(int index)
{
    switch (header::Button(index)) {
    case header::Button::Hint:
        showHint();
        return true;
    case header::Button::Help:
        showHelp();
        return true;
    case header::Button::Minimise:
        minimise();
        return true;
    case header::Button::Back:
        break;
    }
    return false;
}

void ScreenFrame::Img_Button1Click(int index)
{
    if (!commonHeaderAction(index) && index == int(header::Button::Back))
        BackClick();
}

void ScreenFrame::BackClick()
{
    services.nav.back();
}

} // namespace fm
