#include "exam/exam_commands.h"

#include "exam/exam_history.h"
#include "exam/exam_settings.h"
#include "exam/exam_window.h"
#include "exam/paper.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/program_end.h"
#include "platform/progress.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/window_registry.h"

#include <QCoreApplication>

#include <memory>

namespace {

void letPaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void failBuild(const QString& text) {
    Progress::end();
    ShowDlg(QStringLiteral("错误"), text, 1, QStringLiteral("NO"), 2);
    ProgramEnd::request();
}

} // namespace

void mnks(int kind) {
    Progress::begin(QStringLiteral("正在初始化数据..."));
    letPaint();
    App::PaperKind = kind;
    Paper::Built built;
    try {
        built = Paper::BuildPaper(*DM1, kind, Clock::today(), Paper::TimeOfDayRandom(),
                                  [](const QString& text) {
                                      Progress::stage(text);
                                      letPaint();
                                  });
    } catch (const Paper::NoQuestions&) {
        failBuild(QStringLiteral("没有发现题目！"));
        return;
    } catch (const Paper::TableError&) {
        failBuild(QStringLiteral("建立数据表时发生错误！"));
        return;
    } catch (const Paper::DrawError&) {
        failBuild(QStringLiteral("提取数据时发生错误！"));
        return;
    }
    auto window = std::make_unique<TFrmExam>(WindowRegistry::activeWindow());
    window->SetPaper(built.table, built.title, QStringLiteral("new"), 0, QStringLiteral("0:00:00"));
    if (window->OpenPaper())
        window->exec();
    window.reset();
    Progress::end();
}

void registerExamCommands() {
    for (int kind = 1; kind <= 5; ++kind) {
        const QString command =
            kind == 1 ? QStringLiteral("mnks") : QStringLiteral("mnks%1").arg(kind);
        WindowRegistry::registerAction(command, [kind] { mnks(kind); });
    }
    WindowRegistry::registerWindow(QStringLiteral("szks"),
                                   [](QWidget* owner) { return new TFrmEset(owner); });
    WindowRegistry::registerWindow(QStringLiteral("cj"),
                                   [](QWidget* owner) { return new TFrmCheck(owner); });
}
