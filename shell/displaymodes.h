#pragma once
// The display-mode service: what modes the adapter offers and switching to one
// temporarily. On Linux desktops the program never changes the user's display
// (it scales itself instead), so the desktop service lists no modes.
#include <QString>

namespace fm
{

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int refreshRate = 0;
    bool operator==(const DisplayMode &) const = default;
};

class DisplayModeService
{
  public:
    virtual ~DisplayModeService() = default;
    // The mode the display runs in now.
    virtual DisplayMode current() = 0;
    // Logical dots per inch of the screen.
    virtual int logicalDpi() = 0;
    // Mode i of the adapter's list; false past the end.
    virtual bool mode(int i, DisplayMode &out) = 0;
    // Switches temporarily (not stored as the user's setting); 0 on success.
    virtual int change(const DisplayMode &mode) = 0;
};

// The desktop: the primary screen's size and depth, no modes to switch to.
class DesktopDisplayModes final : public DisplayModeService
{
  public:
    DisplayMode current() override;
    int logicalDpi() override;
    bool mode(int, DisplayMode &) override { return false; }
    int change(const DisplayMode &) override { return -1; }
};

} // namespace fm
