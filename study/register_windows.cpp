#include "register.h"
#include "shell/navigator.h"

namespace fm {

void registerStudyWindows(ScreenRegistry &registry)
{
    (void)registry; // grading, practice picker and hint window register here once built
}

} // namespace fm
