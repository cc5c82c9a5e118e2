#include "register.h"
#include "mode.h"
#include "player.h"
#include "touroku.h"

void fm::registerRecordScreens(ScreenRegistry &r)
{
    r.add(ScreenId::Touroku, [](Services &sv) { return new TF_Touroku(sv); });
    r.add(ScreenId::Player, [](Services &sv) { return new TF_Player(sv); });
    r.add(ScreenId::Mode, [](Services &sv) { return new TF_Mode(sv); });
    // Not built yet: the frame with a back button.
    for (ScreenId id : {ScreenId::KIchiran, ScreenId::KSeiseki1, ScreenId::Seiseki1, ScreenId::Seiseki2})
        r.add(id, [id](Services &sv) { return new PlaceholderScreen(sv, id); });
}
