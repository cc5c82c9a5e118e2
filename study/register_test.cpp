#include "register.h"
#include "shell/navigator.h"
#include "shutsudai.h"

namespace fm
{

void registerTestScreens(ScreenRegistry &registry)
{
    registry.add(ScreenId::Shutsudai, [](Services &sv) { return new TF_Shutsudai(sv); });
}

} // namespace fm
