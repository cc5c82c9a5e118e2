#include "register.h"
#include "shell/navigator.h"

namespace fm {

void registerTestScreens(ScreenRegistry &registry)
{
    (void)registry; // the test screen registers here once it is built
}

} // namespace fm
