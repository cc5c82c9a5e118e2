#pragma once
namespace fm
{
class ScreenRegistry;
// Registers the study screens (test, grading, practice picker) and the hint window.
void registerStudyScreens(ScreenRegistry &registry);
} // namespace fm
