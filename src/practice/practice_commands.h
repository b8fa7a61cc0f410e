#pragma once

// Registers the practice library's menu commands with the dispatcher: "lx" and "lx2".."lx5"
// open the chapter browser. Called once by the program entry before the main form starts.
void registerPracticeCommands();
