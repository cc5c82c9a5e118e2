#pragma once
// The display the program runs on: its size and depth, and its logical dpi.
// The program never changes the user's display mode; it scales itself instead.
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
};

// The desktop: the primary screen's size and depth.
class DesktopDisplayModes final : public DisplayModeService
{
  public:
    DisplayMode current() override;
    int logicalDpi() override;
};

} // namespace fm
