#pragma once
// The program's help: one HTML page per help context number.
class QWidget;

namespace fm
{

class HelpViewer
{
  public:
    virtual ~HelpViewer() = default;
    // Opens the help at the page of this context; never blocks.
    virtual void showHelp(QWidget *parent, int context) = 0;
};

} // namespace fm
