#include "practice_commands.h"

#include "chapter_browser.h"

#include "shell/menu_commands.h"

void registerPracticeCommands() {
    // The browser lists the whole tree whichever of the five commands opened it.
    for (const char* command : {"lx", "lx2", "lx3", "lx4", "lx5"}) {
        MenuCommands::registerWindow(QString::fromLatin1(command),
                                     [](QWidget* owner) { return new TFrmkmmc(owner); });
    }
}
