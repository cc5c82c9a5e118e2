#include "shell/endflow.h"
#include "shell/navigator.h"
#include "shell/screen.h"

namespace fm
{

bool finishToFreshMode(Services &services, Screen *leaving, Screen *alsoClose,
                       const std::function<void()> &closingWindow)
{
    Navigator &nav = services.nav;
    Screen *fresh = nullptr;
    if (!services.guard(leaving, [&] { fresh = services.screens.create(ScreenId::Mode, services); }))
        return false;
    if (closingWindow)
        closingWindow();
    if (nav.quitRequested())
        return false;
    if (alsoClose && alsoClose != leaving)
        nav.close(alsoClose);
    while (Screen *old = nav.find(ScreenId::Mode, fresh)) {
        if (!fresh->cameFrom())
            fresh->setCameFrom(old->cameFrom());
        nav.close(old);
    }
    nav.closeAndShow(fresh);
    return true;
}

} // namespace fm
