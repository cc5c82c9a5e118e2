#include "register.h"
#include "shell/navigator.h"

void fm::registerGameScreens(ScreenRegistry &) {}
