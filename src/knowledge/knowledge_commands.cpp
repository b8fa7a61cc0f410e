#include "knowledge/knowledge_commands.h"

#include "knowledge/point_browser.h"
#include "knowledge/question_points_window.h"

#include "widgets/window_registry.h"

void registerKnowledgeCommands() {
    for (const char* command : {"ksdg", "zsd"}) {
        WindowRegistry::registerWindow(QString::fromLatin1(command),
                                       [](QWidget* owner) { return new TfrmLawsFaGui(owner); });
    }
    WindowRegistry::registerOpener(WindowNames::QuestionPoints, &TfrmAnswFagui::ShowPointsOf);
}
