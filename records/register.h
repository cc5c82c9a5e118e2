#pragma once
#include "shell/navigator.h"

namespace fm
{

// Registration, player selection and the mode screen, opened by id.
void registerRecordScreens(ScreenRegistry &registry);

} // namespace fm
