#pragma once

// Registers the mock-exam windows and the menu's exam commands in the window registry.
void registerExamCommands();

// Builds a paper of an exam kind (1..5) and sits it in the exam window until its review closes.
void mnks(int kind);
