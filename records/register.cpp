#include "register.h"
#include "mode.h"
#include "player.h"
#include "touroku.h"

void fm::registerRecordScreens(ScreenRegistry &r)
{
    r.add(ScreenId::Touroku, [](Services &sv) { return new TF_Touroku(sv); });
    r.add(ScreenId::Player, [](Services &sv) { return new TF_Player(sv); });
    r.add(ScreenId::Mode, [](Services &sv) { return new TF_Mode(sv); });
}
