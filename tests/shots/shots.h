#pragma once
// What every picture script of the screenshot tool shares: the folder the
// pictures go to, saving a widget or an image there, and the program files
// the build made.
#include <QImage>
#include <QString>
#include <QStringList>

class QWidget;

namespace fm::test
{
struct TestShell;
}

namespace shots
{

// The folder named on the command line.
QString folder();
void setFolder(const QString &path);

// Saves what w shows as <name>.png in the folder; on a scaled display
// (QT_SCALE_FACTOR) the name ends in -x<factor>. False when nothing could
// be grabbed or written; the failure is reported as a test failure too.
bool save(QWidget *w, const QString &name);
bool save(const QImage &image, const QString &name);

// Copies the named files of the build's program directory into the test's
// program directory; false when one is missing.
bool copyFromBuild(fm::test::TestShell &t, const QStringList &names);

// Cuts the header icons out of the program's button strip (ButtonX.bmp in
// the test's program directory), as the main menu does.
void loadHeaderIcons(fm::test::TestShell &t);

} // namespace shots
