// The program entry of Tarnwick. No command-line arguments are read.

#include "authoring/authoring_commands.h"
#include "exam/exam_commands.h"
#include "knowledge/knowledge_commands.h"
#include "practice/practice_commands.h"
#include "progress/progress_commands.h"
#include "settings/settings_commands.h"
#include "shell/message_dialog.h"
#include "shell/program_entry.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The main form's closing ends the program; the hidden dialogs never do.
    QApplication::setQuitOnLastWindowClosed(false);

    // The window libraries register their windows and the menu's actions in the window registry
    // here (WindowRegistry::registerWindow / registerOpener / registerAction), before the menu
    // can send any command.
    registerPracticeCommands();
    registerExamCommands();
    registerKnowledgeCommands();
    registerAuthoringCommands();
    registerProgressCommands();
    registerSettingsCommands();
    installFilePickers();

    int code = 0;
    if (ProgramEntry::start())
        code = QApplication::exec();
    ProgramEntry::finish();
    return code;
}
