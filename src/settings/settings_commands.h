#pragma once

// Registers the settings and about windows in the window registry: the menu's "music", "sztime"
// and "about", and WindowNames::Settings for the 设置 buttons of the other windows.
void registerSettingsCommands();
