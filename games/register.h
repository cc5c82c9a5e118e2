#pragma once
namespace fm
{
class ScreenRegistry;
// Registers the game screens with the navigator.
void registerGameScreens(ScreenRegistry &registry);
} // namespace fm
