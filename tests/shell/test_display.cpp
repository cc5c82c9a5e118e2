// The display-mode list over a fake adapter.
#include "shell/changedisplay.h"
#include "support/fakes.h"
#include <gtest/gtest.h>

using namespace fm;
using fm::test::FakeDisplayModes;

TEST(ChangeDisplay, TheLastMatchingModeOfEachWidthWins)
{
    FakeDisplayModes adapter;
    adapter.now = {1024, 768, 32, 60};
    adapter.modes = {{640, 480, 32, 60}, {640, 480, 32, 75},  {800, 600, 32, 60},
                     {640, 480, 16, 85}, {1024, 768, 32, 60}, {800, 600, 32, 72}};
    TChangeDisplay list;
    list.SetDeviceContext(&adapter);
    EXPECT_EQ(list.count(), 5); // the 16-bit mode is not of the current depth
    EXPECT_EQ(list.Index640, 1);
    EXPECT_EQ(list.Index800, 4);
    EXPECT_EQ(list.CurrentIndex, 3);
    EXPECT_EQ(list.Strings[0], QStringLiteral("640 x 480 [True Color (32ﾋﾞｯﾄ)]"));

    EXPECT_EQ(list.ChangeTo640(), 0);
    ASSERT_EQ(adapter.changes.size(), 1u);
    EXPECT_EQ(adapter.changes[0], (DisplayMode{640, 480, 32, 75})); // 75 Hz, listed after 60 Hz
    list.Restore();
    EXPECT_EQ(adapter.changes.back(), (DisplayMode{1024, 768, 32, 60}));
    EXPECT_EQ(list.ChangeTo(5), -1);
    EXPECT_EQ(list.ChangeTo(-1), -1);

    list.AllDepths = true;
    list.Refresh();
    EXPECT_EQ(list.count(), 6);
    EXPECT_EQ(list.Index640, 3);
}

TEST(ChangeDisplay, AtSixFortyAlreadyItSwitchesToTheListedModeAndRestoresTheFoundOne)
{
    FakeDisplayModes adapter;
    adapter.now = {640, 480, 32, 60};
    adapter.modes = {{640, 480, 32, 60}, {640, 480, 32, 72}};
    TChangeDisplay list;
    list.SetDeviceContext(&adapter);
    EXPECT_EQ(list.CurrentIndex, 0);
    list.ChangeTo640();
    EXPECT_EQ(adapter.now, (DisplayMode{640, 480, 32, 72}));
    list.Restore();
    EXPECT_EQ(adapter.now, (DisplayMode{640, 480, 32, 60}));
}

TEST(ChangeDisplay, AnEmptyListLeavesTheDisplayAlone)
{
    FakeDisplayModes adapter; // the desktop: no modes
    TChangeDisplay list;
    list.SetDeviceContext(&adapter);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.ChangeTo640(), -1);
    EXPECT_EQ(list.ChangeTo800(), -1);
    EXPECT_EQ(list.Restore(), -1);
    EXPECT_TRUE(adapter.changes.empty());

    DesktopDisplayModes desktop;
    DisplayMode m;
    EXPECT_FALSE(desktop.mode(0, m));
}

TEST(ChangeDisplay, NamesAndDeletion)
{
    EXPECT_EQ(colourDepthName(4), QStringLiteral("16色"));
    EXPECT_EQ(colourDepthName(8), QStringLiteral("256色"));
    EXPECT_EQ(colourDepthName(16), QStringLiteral("High Color (16ﾋﾞｯﾄ)"));
    EXPECT_EQ(colourDepthName(24), QStringLiteral("(Unknown)"));
    EXPECT_EQ(modeName({800, 600, 8, 60}), QStringLiteral("800 x 600 [256色]"));

    FakeDisplayModes adapter;
    adapter.now = {800, 600, 32, 60};
    adapter.modes = {{640, 480, 32, 60}, {800, 600, 32, 60}};
    TChangeDisplay list;
    list.SetDeviceContext(&adapter);
    list.Delete(0);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.Index640, -1);
    EXPECT_EQ(list.CurrentIndex, 0); // still the 800 x 600 entry
    list.Restore();
    EXPECT_EQ(adapter.changes.back(), (DisplayMode{800, 600, 32, 60}));
}
