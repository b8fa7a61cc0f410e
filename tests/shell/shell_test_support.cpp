#include "shell_test_support.h"

#include "shell/message_dialog.h"
#include "shell/progress_window.h"
#include "shell/start_form.h"

#include "store/data_module.h"

#include <QDir>
#include <QFile>

namespace ShellTest {

QString testMovie() {
    return QStringLiteral(SHELL_TEST_DATA "/menu_test.svg");
}

void ShellFixture::setUpWindows() {
    ASSERT_TRUE(QDir(folder->path()).mkpath(QStringLiteral("pic")));
    ASSERT_TRUE(QFile::copy(testMovie(), folder->path() + QStringLiteral("pic/main.svg")));
}

void ShellFixture::tearDownWindows() {
    delete FrmDlg;
    FrmDlg = nullptr;
    delete FrmProgress;
    FrmProgress = nullptr;
    delete FrmStart;
    FrmStart = nullptr;
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
