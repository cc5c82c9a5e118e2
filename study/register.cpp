#include "study/register.h"
#include "shell/navigator.h"
#include "study/hint.h"
#include "study/renshuu.h"
#include "study/saiten.h"
#include "study/shutsudai.h"

namespace fm
{

void registerStudyScreens(ScreenRegistry &registry)
{
    registry.add(ScreenId::Shutsudai, [](Services &sv) { return new TF_Shutsudai(sv); });
    registry.add(ScreenId::Renshuu, [](Services &sv) { return new TF_Renshuu(sv); });
    // Opened by id, the grading marks the test of the screen that is showing.
    registry.add(ScreenId::Saiten, [](Services &sv) { return new TF_Saiten(sv, sv.nav.current()); });
    registry.showHintWindow = [](Services &sv, QWidget *parent) {
        TF_Hint w(sv, parent);
        w.exec();
    };
}

} // namespace fm
