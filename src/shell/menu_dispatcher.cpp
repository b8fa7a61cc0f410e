// The main menu's command handler: every menu button of the movie sends one command text.

#include "shell/menu_movie.h"
#include "shell/start_form.h"
#include "widgets/document_viewer.h"
#include "widgets/window_registry.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "store/time_text.h"

#include <QDialog>

#include <memory>
#include <stdexcept>

namespace {

enum class CommandKind { Window, Document, Exam, Quit };

struct CommandEntry {
    const char* name;
    CommandKind kind;
    bool hourglass = false; // windows built under the hourglass
    const char* document = nullptr;
    int examKind = 0;
};

// The whole command table; a command is compared exactly, letter case included.
const CommandEntry kCommands[] = {
    {"lx", CommandKind::Window, true},
    {"lx2", CommandKind::Window, true},
    {"lx3", CommandKind::Window, true},
    {"lx4", CommandKind::Window, true},
    {"lx5", CommandKind::Window, true},
    {"ksdg", CommandKind::Window, true},
    {"zsd", CommandKind::Window, true},
    {"szjh", CommandKind::Window, true},
    {"szks", CommandKind::Window, true},
    {"rz", CommandKind::Window, true},
    {"tj", CommandKind::Window, true},
    {"cj", CommandKind::Window, true},
    {"sj", CommandKind::Window},
    {"music", CommandKind::Window},
    {"sztime", CommandKind::Window},
    {"about", CommandKind::Window},
    {"fg", CommandKind::Document, false, "htm/Morvath.htm"},
    {"lxfs", CommandKind::Document, false, "htm/发行站及专业书店联系方式.htm"},
    {"help", CommandKind::Document, false, "yshelp.htm"},
    {"mnks", CommandKind::Exam, false, nullptr, 1},
    {"mnks2", CommandKind::Exam, false, nullptr, 2},
    {"mnks3", CommandKind::Exam, false, nullptr, 3},
    {"mnks4", CommandKind::Exam, false, nullptr, 4},
    {"mnks5", CommandKind::Exam, false, nullptr, 5},
    {"quit", CommandKind::Quit},
};

const CommandEntry* findCommand(const QString& command) {
    for (const CommandEntry& e : kCommands) {
        if (command == QString::fromUtf8(e.name))
            return &e;
    }
    return nullptr;
}

} // namespace

void TFrmStart::ShockwaveFlash1FSCommand(const QString& command, const QString& /*args*/) {
    const CommandEntry* entry = findCommand(command);
    if (!entry)
        return;
    switch (entry->kind) {
    case CommandKind::Window:
        openCommandWindow(command);
        break;
    case CommandKind::Document:
        openDocument(QString::fromUtf8(entry->document));
        break;
    case CommandKind::Exam:
        runExamCommand(command, entry->examKind);
        break;
    case CommandKind::Quit:
        QuitWithPlanCheck();
        break;
    }
}

void TFrmStart::openCommandWindow(const QString& command) {
    const WindowRegistry::WindowFactory factory = WindowRegistry::window(command);
    if (!factory)
        return;
    const CommandEntry* entry = findCommand(command);
    const bool hourglass = entry && entry->hourglass;

    if (command == QLatin1String("music"))
        App::ConfigMode = 0;
    else if (command == QLatin1String("sztime"))
        App::ConfigMode = 1;

    if (hourglass)
        ScreenCursor::hourglass();
    std::unique_ptr<QDialog> window;
    try {
        window.reset(factory(this));
        if (window) {
            WindowRegistry::setActiveWindow(window.get());
            if (command == QLatin1String("rz"))
                ScreenCursor::normal();
            if (command == QLatin1String("sztime"))
                RelayoutConfigForAnswerTimes(window.get());
            window->exec();
        }
    } catch (const std::exception& e) {
        if (hourglass)
            ScreenCursor::normal();
        window.reset();
        WindowRegistry::setActiveWindow(nullptr);
        Dialogs::reportError(QString::fromUtf8(e.what()));
        return;
    }
    if (hourglass)
        ScreenCursor::normal();
    window.reset();
    WindowRegistry::setActiveWindow(nullptr);
}

void TFrmStart::openDocument(const QString& relativeName) {
    ShowDocument(this, App::AppPath + relativeName);
}

void TFrmStart::runExamCommand(const QString& command, int kind) {
    const WindowRegistry::Action action = WindowRegistry::action(command);
    if (!action)
        return;
    try {
        action();
    } catch (const std::exception& e) {
        Dialogs::reportError(QString::fromUtf8(e.what()));
        return;
    }
    App::PaperKind = kind;
}

void TFrmStart::QuitWithPlanCheck() {
    qint64 planMark = 0;
    qint64 planAmount = 0;
    qint64 planTime = 0;
    qint64 answersToday = 0;
    qint64 minutesToday = 0;
    try {
        if (!DM1)
            throw std::runtime_error("no question bank is open");
        Dataset* plan = &DM1->PlanRow();
        if (!plan->isEmpty()) {
            planMark = plan->whole(QStringLiteral("PlanMark"));
            planAmount = plan->whole(QStringLiteral("PlanAmount"));
            planTime = plan->whole(QStringLiteral("PlanTime"));
        }
        Dataset* rz = DM1->Cn1Table_rz;
        if (!rz->active())
            rz->open();
        if (rz->locate(QStringLiteral("A1"), Clock::today().toString(Qt::ISODate))) {
            answersToday = rz->whole(QStringLiteral("A2"));
            try {
                minutesToday = TimeStrToSecs(rz->text(QStringLiteral("D1"))) / 60;
            } catch (const TimeTextError&) {
                minutesToday = 0; // a damaged time text counts as no time
            }
        }
    } catch (const std::exception& e) {
        Dialogs::reportError(QString::fromUtf8(e.what()));
        return;
    }

    // A plan kind other than "by time" is read as "by number of answers".
    const qint64 done = planMark == 1 ? minutesToday : answersToday;
    const qint64 target = planMark == 1 ? planTime : planAmount;
    const QString caption = QStringLiteral("提示");
    if (done < target) {
        const int answer =
            Dialogs::messageBox(caption, QStringLiteral("还未完成今日学习计划，要退出吗？"),
                                Dialogs::Icon::Question, Dialogs::BoxButtons::OkCancel);
        if (answer != Dialogs::BoxOk)
            return;
    } else if (done == target) {
        Dialogs::messageBox(caption, QStringLiteral("恭喜完成今日学习计划！"),
                            Dialogs::Icon::Information);
    } else {
        Dialogs::messageBox(caption, QStringLiteral("超额完成学习计划，要注意休息呦！"),
                            Dialogs::Icon::Information);
    }
    close();
}
