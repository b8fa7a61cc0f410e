#pragma once

// Registers the progress windows for the menu commands "szjh" (the study plan), "tj" (the score
// chart) and "rz" (the study log).
void registerProgressCommands();
