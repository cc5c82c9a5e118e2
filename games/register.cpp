#include "register.h"
#include "game1.h"
#include "shell/navigator.h"

void fm::registerGameScreens(ScreenRegistry &r)
{
    r.add(ScreenId::Game1, [](Services &sv) { return new TF_Game1(sv); });
    // Not built yet: the frame with a back button.
    r.add(ScreenId::Game2, [](Services &sv) { return new PlaceholderScreen(sv, ScreenId::Game2); });
}
