#include "games/register.h"
#include "games/game1.h"
#include "games/game2.h"
#include "shell/navigator.h"

void fm::registerGameScreens(ScreenRegistry &r)
{
    r.add(ScreenId::Game1, [](Services &sv) { return new TF_Game1(sv); });
    r.add(ScreenId::Game2, [](Services &sv) { return new TF_Game2(sv); });
}
