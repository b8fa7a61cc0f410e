#include "shell_test_support.h"

#include "shell/message_dialog.h"
#include "shell/progress_window.h"
#include "shell/start_form.h"
#include "widgets/window_registry.h"

#include "platform/clock.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

namespace ShellTest {

QString testMovie() {
    return QStringLiteral(SHELL_TEST_DATA "/menu_test.svg");
}

bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QTest::qWait(10);
    return done();
}

void ShellFixture::SetUp() {
    dialogs = std::make_unique<Fakes::ScriptedDialogs>();
    end = std::make_unique<Fakes::EndObserver>();
    music = std::make_unique<Fakes::MusicPlayerFake>();
    documents = std::make_unique<Fakes::DocumentOpenerFake>();
    Clock::setFixed(QDateTime(today(), QTime(10, 0)));

    App::PaperKind = 0;
    App::ConfigMode = 0;
    App::TypeTimes.clear();
    App::TypeCodes.clear();
    App::MusicOn = false;
    App::VolumeLevel = 10;

    folder = Fixtures::makeProgramFolder();
    ASSERT_TRUE(folder->isValid());
    ASSERT_TRUE(QDir(folder->path()).mkpath(QStringLiteral("pic")));
    ASSERT_TRUE(QFile::copy(testMovie(), folder->path() + QStringLiteral("pic/main.svg")));

    DM1 = new TDM1(folder->path());
    ASSERT_TRUE(DM1->ConnectOk);
    ASSERT_EQ(App::AppPath, folder->path());
}

void ShellFixture::TearDown() {
    delete FrmDlg;
    FrmDlg = nullptr;
    delete FrmProgress;
    FrmProgress = nullptr;
    delete FrmStart;
    FrmStart = nullptr;
    delete DM1;
    DM1 = nullptr;
    WindowRegistry::clear();
    ScreenCursor::normal();
    Clock::clearFixed();
    documents.reset();
    music.reset();
    end.reset();
    dialogs.reset();
    folder.reset();
}

void ShellFixture::sql(const QString& statement, const QVariantMap& params) {
    DM1->ADOCn1.exec(statement, params);
}

void ShellFixture::logToday(int answers, const QString& studyTime) {
    sql(QStringLiteral("insert into tab_rz (A1, A2, A3, B1, B2, D1) values (:A1, :A2, 0, :A2, 0, "
                       ":D1)"),
        {{QStringLiteral("A1"), today()},
         {QStringLiteral("A2"), answers},
         {QStringLiteral("D1"), studyTime}});
    // The shared table reads the file when it is opened.
    if (DM1->Cn1Table_rz->active())
        DM1->Cn1Table_rz->requery();
}

} // namespace ShellTest
