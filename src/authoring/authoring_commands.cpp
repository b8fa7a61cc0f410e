#include "authoring/authoring_commands.h"

#include "authoring/question_edit_window.h"
#include "authoring/question_entry_window.h"

#include "widgets/window_registry.h"

void registerAuthoringCommands() {
    WindowRegistry::registerOpener(WindowNames::QuestionEntry, &TFrmInPut::EnterQuestions);
    WindowRegistry::registerOpener(WindowNames::EditQuestion, &TfrmTedit::EditQuestion);
}
