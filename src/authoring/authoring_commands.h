#pragma once

// Registers the question entry (over the chapter browser) and the question editor (over the
// chapter practice) in the window registry.
void registerAuthoringCommands();
