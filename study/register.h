#pragma once
namespace fm
{
class ScreenRegistry;
// Registers the study screens and the hint window with the navigator.
void registerStudyScreens(ScreenRegistry &registry);
// The two halves of the study folder register their own.
void registerTestScreens(ScreenRegistry &registry);  // test screen (ScreenId::Shutsudai)
void registerStudyWindows(ScreenRegistry &registry); // grading, practice picker, hint window
} // namespace fm
