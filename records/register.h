#pragma once
#include "shell/navigator.h"

namespace fm
{

// Registration, player selection, the mode screen and the records screens, opened by id.
void registerRecordScreens(ScreenRegistry &registry);

} // namespace fm
