#include "practice/practice_commands.h"

#include "practice/chapter_browser.h"

#include "widgets/window_registry.h"

void registerPracticeCommands() {
    // The browser lists the whole tree whichever of the five commands opened it.
    for (const char* command : {"lx", "lx2", "lx3", "lx4", "lx5"}) {
        WindowRegistry::registerWindow(QString::fromLatin1(command),
                                       [](QWidget* owner) { return new TFrmkmmc(owner); });
    }
}
