#include "shell/changedisplay.h"

namespace fm
{

QString colourDepthName(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 4:
        return QStringLiteral("16色");
    case 8:
        return QStringLiteral("256色");
    case 16:
        return QStringLiteral("High Color (16ﾋﾞｯﾄ)");
    case 32:
        return QStringLiteral("True Color (32ﾋﾞｯﾄ)");
    default:
        return QStringLiteral("(Unknown)");
    }
}

QString modeName(const DisplayMode &m)
{
    return QStringLiteral("%1 x %2 [%3]").arg(m.width).arg(m.height).arg(colourDepthName(m.bitsPerPixel));
}

int TChangeDisplay::ChangeTo(int i)
{
    if (i < 0 || i >= count() || !DeviceContext)
        return -1;
    return DeviceContext->change(Modes[size_t(i)]);
}

void TChangeDisplay::Refresh()
{
    Clear();
    CurrentIndex = Index800 = Index640 = -1;
    if (!DeviceContext)
        return;
    const DisplayMode now = DeviceContext->current();
    DisplayMode m;
    for (int n = 0; DeviceContext->mode(n, m); ++n) {
        if (!AllDepths && m.bitsPerPixel != now.bitsPerPixel)
            continue;
        const int index = count();
        Modes.push_back(m);
        Strings << modeName(m);
        // Later matches win: each index ends at the last fitting mode.
        if (m.width == now.width && m.height == now.height && m.refreshRate == now.refreshRate)
            CurrentIndex = index;
        if (m.width == 800)
            Index800 = index;
        if (m.width == 640)
            Index640 = index;
    }
}

void TChangeDisplay::SetDeviceContext(DisplayModeService *service)
{
    DeviceContext = service;
    Refresh();
}

void TChangeDisplay::Clear()
{
    Modes.clear();
    Strings.clear();
}

void TChangeDisplay::Delete(int i)
{
    if (i < 0 || i >= count())
        return;
    Modes.erase(Modes.begin() + i);
    Strings.removeAt(i);
    // Keep the remembered entries pointing at the same modes.
    for (int *index : {&CurrentIndex, &Index800, &Index640}) {
        if (*index == i)
            *index = -1;
        else if (*index > i)
            --*index;
    }
}

} // namespace fm
