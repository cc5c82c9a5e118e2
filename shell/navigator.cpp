#include "shell/navigator.h"
#include "shell/look.h"
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace fm
{

std::vector<ScreenId> ScreenRegistry::missing() const
{
    std::vector<ScreenId> out;
    for (int i = 0; i < ScreenIdCount; ++i) {
        const auto id = ScreenId(i);
        if (id != ScreenId::Main && !has(id))
            out.push_back(id);
    }
    return out;
}

Screen *ScreenRegistry::create(ScreenId id, Services &services) const
{
    auto it = factories_.find(id);
    if (it == factories_.end())
        throw std::logic_error(std::string("no screen registered for ") + screenRow(id).name);
    return it->second(services);
}

HostWindow::HostWindow()
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    fillBackground(this, colour::Navy);
    stage_ = new QWidget(this);
    stage_->resize(DesignWidth, DesignHeight);
    fillBackground(stage_, colour::Navy);
    resize(DesignWidth, DesignHeight);
}

void HostWindow::showOnScreen()
{
    // Without a window manager a full-screen request does not resize the
    // window: take the screen's logical geometry ourselves.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        // With a fractional scale the logical size is rounded down: one more
        // pixel keeps the last physical column and row navy.
        const qreal ratio = screen->devicePixelRatio();
        const int extra = ratio == std::floor(ratio) ? 0 : 1;
        setGeometry(screen->geometry().adjusted(0, 0, extra, extra));
    }
    showFullScreen();
}

void HostWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    stage_->move((width() - DesignWidth) / 2, (height() - DesignHeight) / 2);
}

void HostWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && onActivated)
        onActivated();
}

Screen *Navigator::open(ScreenId id)
{
    return openById(id, false);
}

Screen *Navigator::replace(ScreenId id)
{
    return openById(id, true);
}

Screen *Navigator::openById(ScreenId id, bool closeCurrent)
{
    // A screen whose building hits a damaged file is not shown: its message
    // comes and the program ends.
    Screen *screen = nullptr;
    if (!services_->guard(current_, [&] { screen = services_->screens.create(id, *services_); }))
        return nullptr;
    forward(screen, closeCurrent);
    return screen;
}

void Navigator::forward(Screen *next, bool closeCurrent)
{
    Screen *previous = current_;
    if (closeCurrent && previous) {
        next->setCameFrom(previous->cameFrom());
        closeAndShow(next);
    } else {
        next->setCameFrom(previous);
        show(next);
    }
}

void Navigator::show(Screen *screen)
{
    if (!screen || screen == current_)
        return;
    Screen *old = current_;
    current_ = screen;
    // The new page goes up before the old one goes: nothing behind shows through.
    screen->show();
    screen->raise();
    if (old)
        old->hide();
    screen->setFocus();
    screen->FormActivate();
}

void Navigator::back()
{
    Screen *target = current_ ? current_->cameFrom() : nullptr;
    if (!target)
        target = mainMenu_;
    closeAndShow(target);
}

void Navigator::closeAndShow(Screen *target)
{
    Screen *leaving = current_;
    if (leaving && leaving != target) {
        screens_.erase(std::remove(screens_.begin(), screens_.end(), leaving), screens_.end());
        leaving->FormClose();
    }
    show(target);
    if (leaving && leaving != target) {
        if (current_ == leaving)
            current_ = nullptr;
        if (mainMenu_ == leaving)
            mainMenu_ = nullptr;
        leaving->hide();
        leaving->deleteLater();
    }
}

void Navigator::close(Screen *screen, bool runFormClose)
{
    if (!screen)
        return;
    auto it = std::find(screens_.begin(), screens_.end(), screen);
    if (it == screens_.end())
        return; // already closing
    screens_.erase(it);
    if (runFormClose)
        screen->FormClose();
    if (current_ == screen)
        current_ = nullptr;
    if (mainMenu_ == screen)
        mainMenu_ = nullptr;
    screen->hide();
    screen->deleteLater();
}

void Navigator::quit()
{
    quitRequested_ = true;
    if (onQuit)
        onQuit();
    else
        QCoreApplication::quit();
}

void Navigator::adopt(Screen *screen)
{
    screens_.push_back(screen);
}

void Navigator::forget(Screen *screen)
{
    screens_.erase(std::remove(screens_.begin(), screens_.end(), screen), screens_.end());
    if (current_ == screen)
        current_ = nullptr;
    if (mainMenu_ == screen)
        mainMenu_ = nullptr;
}

Screen *Navigator::find(ScreenId id, const Screen *except) const
{
    for (Screen *s : screens_)
        if (s != except && s->id() == id)
            return s;
    return nullptr;
}

} // namespace fm
