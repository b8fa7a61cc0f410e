#include "progress/progress_commands.h"

#include "progress/chart_window.h"
#include "progress/plan_window.h"
#include "progress/study_log_window.h"

#include "widgets/window_registry.h"

void registerProgressCommands() {
    WindowRegistry::registerWindow(QStringLiteral("szjh"),
                                   [](QWidget* owner) { return new TFrmplan(owner); });
    WindowRegistry::registerWindow(QStringLiteral("rz"),
                                   [](QWidget* owner) { return new TFrmRz(owner); });
    WindowRegistry::registerWindow(QStringLiteral("tj"),
                                   [](QWidget* owner) { return new Tfrmchart(owner); });
}
