// The program entry of Tarnwick. No command-line arguments are read.

#include "practice/practice_commands.h"
#include "shell/program_entry.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The main form's closing ends the program; the hidden dialogs never do.
    QApplication::setQuitOnLastWindowClosed(false);

    // The window libraries register the windows and actions of the menu's commands here
    // (MenuCommands::registerWindow / registerAction), before the menu can send any.
    registerPracticeCommands();

    int code = 0;
    if (ProgramEntry::start())
        code = QApplication::exec();
    ProgramEntry::finish();
    return code;
}
