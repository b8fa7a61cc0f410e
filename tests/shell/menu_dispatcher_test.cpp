#include "shell_test_support.h"

#include "shell/menu_movie.h"
#include "shell/start_form.h"
#include "widgets/document_viewer.h"
#include "widgets/effect_button.h"
#include "widgets/window_registry.h"

#include "platform/dialogs.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTextBrowser>
#include <QTimer>

#include <stdexcept>

using ShellTest::ShellFixture;

namespace {

// What a registered window saw of the dispatcher.
struct WindowLog {
    int created = 0;
    bool hourglassAtCreation = false;
    bool hourglassWhileShown = false;
    bool modal = false;
    bool wasActive = false;
    QPointer<QDialog> last;
};

WindowRegistry::WindowFactory recordingWindow(WindowLog& log,
                                              std::function<void(QDialog*)> whileShown = {}) {
    return [&log, whileShown](QWidget* owner) {
        ++log.created;
        log.hourglassAtCreation = ScreenCursor::isHourglass();
        auto* d = new QDialog(owner);
        log.last = d;
        QTimer::singleShot(0, d, [&log, d, whileShown] {
            log.hourglassWhileShown = ScreenCursor::isHourglass();
            log.modal = d->isModal() && d->isVisible();
            log.wasActive = WindowRegistry::activeWindow() == d;
            if (whileShown)
                whileShown(d);
            d->accept();
        });
        return d;
    };
}

class Dispatcher : public ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        FrmStart = new TFrmStart();
    }
    void command(const char* text) {
        FrmStart->ShockwaveFlash1FSCommand(QString::fromUtf8(text), QString());
    }
};

} // namespace

TEST_F(Dispatcher, CommandsMatchExactlyWithLetterCase) {
    WindowLog log;
    WindowRegistry::registerWindow(QStringLiteral("lx"), recordingWindow(log));
    for (const char* other : {"LX", "Lx", " lx", "lx ", "lx6", "", "mnks6", "Quit"})
        command(other);
    EXPECT_EQ(log.created, 0);
    EXPECT_TRUE(dialogs->requests.isEmpty());
    EXPECT_TRUE(documents->opened.isEmpty());
    EXPECT_FALSE(end->ended());
    command("lx");
    EXPECT_EQ(log.created, 1);
}

TEST_F(Dispatcher, AWindowIsShownModallyAndDestroyedWhenItCloses) {
    WindowLog log;
    WindowRegistry::registerWindow(QStringLiteral("lx"), recordingWindow(log));
    command("lx");
    EXPECT_EQ(log.created, 1);
    EXPECT_TRUE(log.modal);
    EXPECT_TRUE(log.wasActive);
    EXPECT_TRUE(log.last.isNull()); // destroyed
    EXPECT_EQ(WindowRegistry::activeWindow(), nullptr);
}

TEST_F(Dispatcher, TheHourglassRulesOfTheWindows) {
    struct Case {
        const char* command;
        bool atCreation;
        bool whileShown;
    };
    const Case cases[] = {{"lx", true, true},      {"lx5", true, true},     {"ksdg", true, true},
                          {"zsd", true, true},     {"szjh", true, true},    {"szks", true, true},
                          {"tj", true, true},      {"cj", true, true},      {"rz", true, false},
                          {"sj", false, false},    {"about", false, false}, {"music", false, false},
                          {"sztime", false, false}};
    for (const Case& c : cases) {
        WindowLog log;
        WindowRegistry::registerWindow(QString::fromUtf8(c.command), recordingWindow(log));
        command(c.command);
        EXPECT_EQ(log.created, 1) << c.command;
        EXPECT_EQ(log.hourglassAtCreation, c.atCreation) << c.command;
        EXPECT_EQ(log.hourglassWhileShown, c.whileShown) << c.command;
        EXPECT_FALSE(ScreenCursor::isHourglass()) << c.command;
        WindowRegistry::clear();
    }
}

TEST_F(Dispatcher, ACommandWhoseWindowIsNotRegisteredDoesNothing) {
    App::ConfigMode = 5;
    for (const char* c : {"lx", "rz", "music", "sztime", "about", "mnks"})
        command(c);
    EXPECT_EQ(App::ConfigMode, 5);
    EXPECT_EQ(App::PaperKind, 0);
    EXPECT_FALSE(ScreenCursor::isHourglass());
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(Dispatcher, AFailingWindowIsReportedAndThePointerRestored) {
    WindowRegistry::registerWindow(QStringLiteral("cj"), [](QWidget*) -> QDialog* {
        throw std::runtime_error("no such table: tab_cj");
    });
    command("cj");
    EXPECT_FALSE(ScreenCursor::isHourglass());
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs->last().text.contains(QStringLiteral("tab_cj")));
    EXPECT_EQ(WindowRegistry::activeWindow(), nullptr);
}

TEST_F(Dispatcher, MusicAndAnswerTimesChooseTheSettingsMode) {
    WindowLog log;
    int modeAtCreation = -1;
    auto factory = recordingWindow(log);
    auto withMode = [&](QWidget* owner) {
        modeAtCreation = App::ConfigMode;
        return factory(owner);
    };
    WindowRegistry::registerWindow(QStringLiteral("music"), withMode);
    WindowRegistry::registerWindow(QStringLiteral("sztime"), withMode);
    App::ConfigMode = 1;
    command("music");
    EXPECT_EQ(modeAtCreation, 0);
    command("sztime");
    EXPECT_EQ(modeAtCreation, 1);
    EXPECT_EQ(App::ConfigMode, 1);
}

TEST_F(Dispatcher, AnswerTimesReLayTheSettingsWindowBeforeItShows) {
    struct Seen {
        bool musicHidden = false;
        int label4Top = -1;
        QRect scrollBox;
        QPoint closeButton;
    } seen;
    WindowLog log;
    auto settingsWindow = [&](QWidget* owner) {
        QDialog* d = recordingWindow(log, [&](QDialog* w) {
            seen.musicHidden = true;
            for (const char* n : {"Label1", "Label5", "RxSwitch1", "FlatComboBox1"})
                seen.musicHidden &= w->findChild<QWidget*>(QLatin1String(n))->isHidden();
            seen.label4Top = w->findChild<QWidget*>(QStringLiteral("Label4"))->y();
            seen.scrollBox = w->findChild<QWidget*>(QStringLiteral("ScrollBox1"))->geometry();
            seen.closeButton = w->findChild<QWidget*>(QStringLiteral("epFocusButton3"))->pos();
        })(owner);
        auto add = [d](QWidget* w, const char* name, QRect g) {
            w->setParent(d);
            w->setObjectName(QLatin1String(name));
            w->setGeometry(g);
        };
        add(new QLabel(QStringLiteral("背景音乐")), "Label1", {16, 24, 60, 20});
        add(new QPushButton(), "RxSwitch1", {96, 18, 50, 25});
        add(new QLabel(QStringLiteral("声音列表")), "Label5", {16, 60, 60, 20});
        add(new QComboBox(), "FlatComboBox1", {93, 58, 120, 22});
        add(new QLabel(QStringLiteral("答题时间设置")), "Label4", {8, 112, 100, 20});
        add(new QScrollArea(), "ScrollBox1", {9, 136, 345, 168});
        add(new QPushButton(QStringLiteral("关闭")), "epFocusButton3", {270, 23, 75, 25});
        return d;
    };
    WindowRegistry::registerWindow(QStringLiteral("sztime"), settingsWindow);
    WindowRegistry::registerWindow(QStringLiteral("music"), settingsWindow);

    command("sztime");
    EXPECT_TRUE(seen.musicHidden);
    EXPECT_EQ(seen.label4Top, 4);
    EXPECT_EQ(seen.scrollBox, QRect(9, 22, 345, 110));
    EXPECT_EQ(seen.closeButton, QPoint(280, 137));

    // The full layout for the music.
    seen = {};
    command("music");
    EXPECT_FALSE(seen.musicHidden);
    EXPECT_EQ(seen.label4Top, 112);
    EXPECT_EQ(seen.closeButton, QPoint(270, 23));
}

TEST_F(Dispatcher, TheReLayoutSkipsControlsTheWindowDoesNotHave) {
    auto* d = new QDialog();
    auto* box = new QScrollArea(d);
    box->setObjectName(QStringLiteral("ScrollBox1"));
    box->setGeometry(9, 136, 345, 168);
    RelayoutConfigForAnswerTimes(d);
    EXPECT_EQ(box->geometry(), QRect(9, 22, 345, 110));
    RelayoutConfigForAnswerTimes(nullptr);
    delete d;
}

TEST_F(Dispatcher, MockExamsRunTheirActionAndThenSetTheKind) {
    int kindDuringAction = -1;
    for (int kind = 1; kind <= 5; ++kind) {
        const QString name =
            kind == 1 ? QStringLiteral("mnks") : QStringLiteral("mnks") + QString::number(kind);
        WindowRegistry::registerAction(name, [&] { kindDuringAction = App::PaperKind; });
    }
    App::PaperKind = 1;
    command("mnks3");
    EXPECT_EQ(kindDuringAction, 1); // the kind changes after the paper
    EXPECT_EQ(App::PaperKind, 3);
    command("mnks5");
    EXPECT_EQ(App::PaperKind, 5);
    command("mnks");
    EXPECT_EQ(kindDuringAction, 5);
    EXPECT_EQ(App::PaperKind, 1);
}

TEST_F(Dispatcher, AFailedMockExamKeepsTheKind) {
    WindowRegistry::registerAction(QStringLiteral("mnks2"),
                                   [] { throw std::runtime_error("cannot create tab_exam3"); });
    App::PaperKind = 1;
    command("mnks2");
    EXPECT_EQ(App::PaperKind, 1);
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
}

TEST_F(Dispatcher, DocumentsOpenFromTheProgramFolder) {
    const QStringList pages = {folder->path() + QStringLiteral("htm/Morvath.htm"),
                               folder->path() + QStringLiteral("htm/发行站及专业书店联系方式.htm"),
                               folder->path() + QStringLiteral("yshelp.htm")};
    // Missing documents are no concern of the program.
    command("fg");
    command("help");
    EXPECT_TRUE(documents->opened.isEmpty());
    EXPECT_TRUE(dialogs->requests.isEmpty());

    QDir().mkpath(folder->path() + QStringLiteral("htm"));
    for (const QString& page : pages) {
        QFile f(page);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<html><head><title>页</title></head><body><p>内容</p></body></html>");
    }
    command("fg");
    command("lxfs");
    command("help");
    EXPECT_EQ(documents->opened, pages);
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(Dispatcher, ADocumentTheDesktopCannotOpenIsShownInTheProgramsOwnViewer) {
    QFile f(folder->path() + QStringLiteral("yshelp.htm"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html><head><title>使用帮助</title></head><body><p>第一节</p></body></html>");
    f.close();
    documents->opens = false;
    QString title;
    QString text;
    bool maximised = false;
    GuiTest::whenModal<DocumentViewer>([&](DocumentViewer* v) {
        title = v->windowTitle();
        text = v->Browser->toPlainText();
        maximised = v->isMaximized();
        v->CloseButton->click();
    });
    command("help");
    EXPECT_EQ(documents->opened, QStringList{f.fileName()});
    EXPECT_EQ(title, QStringLiteral("使用帮助"));
    EXPECT_TRUE(text.contains(QStringLiteral("第一节")));
    EXPECT_TRUE(maximised);
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

namespace {

// A desktop without a program for the documents.
class FailingOpener : public DocumentOpener {
  public:
    FailingOpener() { Platform::setDocuments(this); }
    ~FailingOpener() override { Platform::setDocuments(nullptr); }
    bool open(const QString&) override { throw std::runtime_error("no program opens htm"); }
};

} // namespace

TEST_F(Dispatcher, AnErrorFromAMenuCommandIsReportedAndTheMenuGoesOn) {
    FailingOpener opener;
    QFile page(folder->path() + QStringLiteral("htm/Morvath.htm"));
    ASSERT_TRUE(QDir().mkpath(folder->path() + QStringLiteral("htm")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    // As the movie sends it: the error must not escape into the event loop.
    Q_EMIT FrmStart->ShockwaveFlash1->FSCommand(QStringLiteral("fg"), QString());
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->last().text, QStringLiteral("no program opens htm"));
    EXPECT_FALSE(end->ended());

    WindowLog log;
    WindowRegistry::registerWindow(QStringLiteral("lx"), recordingWindow(log));
    Q_EMIT FrmStart->ShockwaveFlash1->FSCommand(QStringLiteral("lx"), QString());
    EXPECT_EQ(log.created, 1);
}

class Quit : public Dispatcher {
  protected:
    void plan(int mark, int amount, int time) {
        sql(QStringLiteral("update tab_plan set PlanMark = :M, PlanAmount = :A, PlanTime = :T"),
            {{QStringLiteral("M"), mark},
             {QStringLiteral("A"), amount},
             {QStringLiteral("T"), time}});
        if (DM1->Cn1Table_plan->active())
            DM1->Cn1Table_plan->requery();
    }
    void expectBox(const char* text, Dialogs::Icon icon, Dialogs::BoxButtons buttons) {
        ASSERT_EQ(dialogs->requests.size(), 1);
        const Dialogs::Request& r = dialogs->last();
        EXPECT_EQ(r.kind, Dialogs::Kind::MessageBox);
        EXPECT_EQ(r.title, QStringLiteral("提示"));
        EXPECT_EQ(r.text, QString::fromUtf8(text));
        EXPECT_EQ(r.icon, icon);
        EXPECT_EQ(r.boxButtons, buttons);
    }
    void SetUp() override {
        Dispatcher::SetUp();
        FrmStart->show();
    }
};

TEST_F(Quit, NoAnswersAgainstANothingPlanIsAPlanDone) {
    plan(0, 0, 30);
    command("quit");
    expectBox("恭喜完成今日学习计划！", Dialogs::Icon::Information, Dialogs::BoxButtons::Ok);
    EXPECT_TRUE(end->ended());
    EXPECT_FALSE(FrmStart->isVisible());
}

TEST_F(Quit, TooFewAnswersAsksAndOkEnds) {
    plan(0, 20, 30);
    logToday(19, QStringLiteral("05:00:00"));
    command("quit");
    expectBox("还未完成今日学习计划，要退出吗？", Dialogs::Icon::Question,
              Dialogs::BoxButtons::OkCancel);
    EXPECT_TRUE(end->ended());
    EXPECT_FALSE(FrmStart->isVisible());
}

TEST_F(Quit, NoLogRowAgainstTwentyAsksAndCancelKeepsTheMenu) {
    plan(0, 20, 30);
    dialogs->answer(Dialogs::BoxCancel);
    command("quit");
    expectBox("还未完成今日学习计划，要退出吗？", Dialogs::Icon::Question,
              Dialogs::BoxButtons::OkCancel);
    EXPECT_FALSE(end->ended());
    EXPECT_TRUE(FrmStart->isVisible());
    EXPECT_TRUE(DM1->ADOCn1.isOpen());
    EXPECT_TRUE(FrmStart->ShockwaveFlash1->isPlaying());
}

TEST_F(Quit, MoreAnswersThanPlannedIsAPlanOverdone) {
    plan(0, 20, 30);
    logToday(21, QStringLiteral("00:10:00"));
    command("quit");
    expectBox("超额完成学习计划，要注意休息呦！", Dialogs::Icon::Information,
              Dialogs::BoxButtons::Ok);
    EXPECT_TRUE(end->ended());
}

TEST_F(Quit, StudyTimeCountsInWholeMinutes) {
    plan(1, 0, 30);
    logToday(0, QStringLiteral("0:30:59"));
    command("quit");
    expectBox("恭喜完成今日学习计划！", Dialogs::Icon::Information, Dialogs::BoxButtons::Ok);
}

TEST_F(Quit, StudyTimeJustUnderAndOverThePlan) {
    plan(1, 0, 30);
    logToday(500, QStringLiteral("00:29:59"));
    dialogs->answer(Dialogs::BoxCancel);
    command("quit");
    expectBox("还未完成今日学习计划，要退出吗？", Dialogs::Icon::Question,
              Dialogs::BoxButtons::OkCancel);
    EXPECT_FALSE(end->ended());

    sql(QStringLiteral("update tab_rz set D1 = '01:31:00'"));
    DM1->Cn1Table_rz->requery();
    dialogs->requests.clear();
    command("quit");
    expectBox("超额完成学习计划，要注意休息呦！", Dialogs::Icon::Information,
              Dialogs::BoxButtons::Ok);
    EXPECT_TRUE(end->ended());
}
