#include "shell/displaymodes.h"
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace fm
{

DisplayMode DesktopDisplayModes::current()
{
    DisplayMode m;
    if (QScreen *s = QGuiApplication::primaryScreen()) {
        m.width = s->geometry().width();
        m.height = s->geometry().height();
        m.bitsPerPixel = s->depth();
        m.refreshRate = int(std::lround(s->refreshRate()));
    }
    return m;
}

int DesktopDisplayModes::logicalDpi()
{
    QScreen *s = QGuiApplication::primaryScreen();
    return s ? int(std::lround(s->logicalDotsPerInch())) : 96;
}

} // namespace fm
