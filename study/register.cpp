#include "register.h"

namespace fm
{

void registerStudyScreens(ScreenRegistry &registry)
{
    registerTestScreens(registry);
    registerStudyWindows(registry);
}

} // namespace fm
