#pragma once
// TChangeDisplay: the list of display modes the adapter offers at the
// current colour depth, with the current one and the last 800- and 640-wide
// ones remembered, and switching to any of them.
#include "shell/displaymodes.h"
#include <QStringList>
#include <vector>

namespace fm
{

// "16色", "256色", "High Color (16ﾋﾞｯﾄ)", "True Color (32ﾋﾞｯﾄ)", else "(Unknown)".
QString colourDepthName(int bitsPerPixel);
// "%d x %d [%s]".
QString modeName(const DisplayMode &mode);

class TChangeDisplay
{
  public:
    TChangeDisplay() = default;
    ~TChangeDisplay() { Clear(); }

    // Change to entry i temporarily; the service's result, -1 for a bad index.
    int ChangeTo(int i);
    int Restore() { return ChangeTo(CurrentIndex); }
    int ChangeTo800() { return ChangeTo(Index800); }
    int ChangeTo640() { return ChangeTo(Index640); }
    // Rebuilds the list from the service.
    void Refresh();
    // Stores the service ("drawing surface") whose modes are listed and refreshes.
    void SetDeviceContext(DisplayModeService *service);

    void Clear();
    void Delete(int i);
    int count() const { return int(Strings.size()); }

    QStringList Strings;            // the mode names
    std::vector<DisplayMode> Modes; // parallel to Strings
    DisplayModeService *DeviceContext = nullptr;
    bool AllDepths = false;
    int CurrentIndex = -1;
    int Index800 = -1;
    int Index640 = -1;
};

} // namespace fm
