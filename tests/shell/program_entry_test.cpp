#include "shell_test_support.h"

#include "shell/message_dialog.h"
#include "shell/program_entry.h"
#include "shell/progress_window.h"
#include "shell/single_instance.h"
#include "shell/start_form.h"

#include "platform/dialogs.h"
#include "store/app_state.h"
#include "store/bank_password.h"
#include "store/data_module.h"
#include "store/learner_bank.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include <upgrade_files.h>

using ShellTest::testMovie;
using ShellTest::waitUntil;

namespace {

// Everything the program entry touches, in a folder of its own.
class Entry : public testing::Test {
  protected:
    void SetUp() override {
        instance = QStringLiteral("tarnwick-test-") +
                   QUuid::createUuid().toString(QUuid::WithoutBraces).left(12);
    }
    void TearDown() override {
        ProgramEntry::finish();
        // The shell's real windows were registered by the entry.
        Dialogs::setShowDlgHandler({});
        Dialogs::setMessageBoxHandler({});
    }
    void addMovie(Fixtures::ProgramFolder& f) {
        ASSERT_TRUE(QDir(f.path()).mkpath(QStringLiteral("pic")));
        ASSERT_TRUE(QFile::copy(testMovie(), f.path() + QStringLiteral("pic/main.svg")));
    }
    ProgramEntry::Options options(const Fixtures::ProgramFolder& f) const {
        return {f.path(), instance};
    }
    void expectBox(const char* caption, const char* text, Dialogs::Icon icon) {
        ASSERT_EQ(dialogs.requests.size(), 1);
        EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::MessageBox);
        EXPECT_EQ(dialogs.last().title, QString::fromUtf8(caption));
        EXPECT_EQ(dialogs.last().text, QString::fromUtf8(text));
        EXPECT_EQ(dialogs.last().icon, icon);
        EXPECT_EQ(dialogs.last().boxButtons, Dialogs::BoxButtons::Ok);
    }

    QString instance;
    Fakes::ScriptedDialogs dialogs;
    Fakes::EndObserver end;
    Fakes::MusicPlayerFake music;
};

} // namespace

TEST_F(Entry, TheMenuPlayerIsThereWhenTheMovieCanBeDrawn) {
    QTemporaryDir dir;
    App::AppPath = dir.path() + QLatin1Char('/');
    EXPECT_FALSE(FlashInstalled());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("pic")));
    QFile broken(App::AppPath + QStringLiteral("pic/main.svg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("GIF89a not a drawing");
    broken.close();
    EXPECT_FALSE(FlashInstalled());
    ASSERT_TRUE(QFile::remove(App::AppPath + QStringLiteral("pic/main.svg")));
    ASSERT_TRUE(QFile::copy(testMovie(), App::AppPath + QStringLiteral("pic/main.svg")));
    EXPECT_TRUE(FlashInstalled());
}

TEST_F(Entry, StartsWithTheFourObjectsAndTheMenuShown) {
    auto folder = Fixtures::makeProgramFolder();
    addMovie(*folder);
    ASSERT_TRUE(ProgramEntry::start(options(*folder)));
    EXPECT_TRUE(dialogs.requests.isEmpty());
    EXPECT_FALSE(end.ended());
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Tarnwick"));
    ASSERT_NE(DM1, nullptr);
    EXPECT_TRUE(DM1->ConnectOk);
    EXPECT_EQ(App::AppPath, folder->path());
    ASSERT_NE(FrmStart, nullptr);
    EXPECT_TRUE(FrmStart->isVisible());
    ASSERT_NE(FrmProgress, nullptr);
    EXPECT_FALSE(FrmProgress->isVisible());
    ASSERT_NE(FrmDlg, nullptr);
    EXPECT_FALSE(FrmDlg->isVisible());
    EXPECT_EQ(App::TypeTimes.size(), 3);
    EXPECT_EQ(QApplication::font().pixelSize(), 14);
    EXPECT_TRUE(QApplication::font().family().contains(QStringLiteral("CJK")));
    // Qt's own texts, as in the file pickers and the edit menus of text fields, are Chinese.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("打开(&O)"));
    EXPECT_EQ(QCoreApplication::translate("QWidgetTextControl", "&Paste"),
              QStringLiteral("粘贴(&P)"));

    ProgramEntry::finish();
    EXPECT_EQ(DM1, nullptr);
    EXPECT_EQ(FrmStart, nullptr);
    EXPECT_EQ(FrmProgress, nullptr);
    EXPECT_EQ(FrmDlg, nullptr);
}

TEST_F(Entry, WithoutTheMenuMovieTheProgramAsksForThePlayerAndEnds) {
    auto folder = Fixtures::makeProgramFolder();
    EXPECT_FALSE(ProgramEntry::start(options(*folder)));
    expectBox("提示", "请安装Flash6插件文件！", Dialogs::Icon::Warning);
    EXPECT_TRUE(end.ended());
    EXPECT_EQ(DM1, nullptr);
    EXPECT_EQ(FrmStart, nullptr);
}

TEST_F(Entry, WithoutABankTheProgramCannotConnectAndEnds) {
    auto folder = Fixtures::makeProgramFolder(false);
    addMovie(*folder);
    EXPECT_FALSE(ProgramEntry::start(options(*folder)));
    expectBox("错误", "无法连接数据库！", Dialogs::Icon::Critical);
    EXPECT_TRUE(end.ended());
    EXPECT_EQ(DM1, nullptr);
    EXPECT_EQ(FrmStart, nullptr);
}

TEST_F(Entry, AFileThatIsNoBankCannotConnectEither) {
    auto folder = Fixtures::makeProgramFolder(false);
    addMovie(*folder);
    ASSERT_TRUE(QDir(folder->path()).mkpath(QStringLiteral("data")));
    QFile notABank(folder->bankPath());
    ASSERT_TRUE(notABank.open(QIODevice::WriteOnly));
    notABank.write("Standard Jet DB\0\0\0 not an SQLite file", 38);
    notABank.close();
    EXPECT_FALSE(ProgramEntry::start(options(*folder)));
    expectBox("错误", "无法连接数据库！", Dialogs::Icon::Critical);
    EXPECT_EQ(DM1, nullptr);
}

TEST_F(Entry, ABankWithAnotherPasswordCannotConnect) {
    auto folder = Fixtures::makeProgramFolder();
    addMovie(*folder);
    {
        Database db;
        db.open(folder->bankPath());
        BankPassword::store(db, QStringLiteral("another-password-000"));
    }
    EXPECT_FALSE(ProgramEntry::start(options(*folder)));
    expectBox("错误", "无法连接数据库！", Dialogs::Icon::Critical);
    EXPECT_EQ(DM1, nullptr);
}

TEST_F(Entry, TwentyFourHoursOfStudyEndsBeforeTheLoop) {
    auto folder = Fixtures::makeProgramFolder();
    addMovie(*folder);
    {
        Database db;
        db.open(folder->bankPath());
        db.exec(QStringLiteral("insert into tab_rz (A1, A2, D1) values (:A1, 1, '25:00:00')"),
                {{QStringLiteral("A1"), QDate::currentDate()}});
    }
    EXPECT_FALSE(ProgramEntry::start(options(*folder)));
    EXPECT_TRUE(end.ended());
    EXPECT_TRUE(dialogs.requests.isEmpty());
}

TEST_F(Entry, ASecondStartBringsTheFirstForwardAndEnds) {
    auto folder = Fixtures::makeProgramFolder();
    addMovie(*folder);
    ASSERT_TRUE(ProgramEntry::start(options(*folder)));
    FrmStart->showMinimized();
    ASSERT_TRUE(FrmStart->isMinimized());

    // The second copy finds the first, asks it forward and ends without making anything.
    EXPECT_TRUE(CheckPrevInstance(instance));
    EXPECT_TRUE(end.ended());
    EXPECT_TRUE(waitUntil([] { return !FrmStart->isMinimized(); }));
    EXPECT_TRUE(FrmStart->isVisible());
    EXPECT_TRUE(dialogs.requests.isEmpty());
}

TEST_F(Entry, ASecondStartFindsTheFirstThroughTheWholeEntry) {
    auto first = Fixtures::makeProgramFolder();
    addMovie(*first);
    ASSERT_TRUE(ProgramEntry::start(options(*first)));
    TFrmStart* firstForm = FrmStart;
    TDM1* firstBank = DM1;

    EXPECT_FALSE(ProgramEntry::start(options(*first)));
    EXPECT_TRUE(end.ended());
    // Nothing new was made.
    EXPECT_EQ(FrmStart, firstForm);
    EXPECT_EQ(DM1, firstBank);
    EXPECT_TRUE(dialogs.requests.isEmpty());
}

TEST_F(Entry, TheGuardIsPerUserAndAnEndedCopyFreesIt) {
    EXPECT_TRUE(InstanceServerName().startsWith(QStringLiteral("Tarnwick-")));
    EXPECT_EQ(InstanceServerName(), InstanceServerName());
    EXPECT_FALSE(CheckPrevInstance(instance));
    EXPECT_FALSE(end.ended());
    ReleaseInstanceGuard();
    EXPECT_FALSE(CheckPrevInstance(instance));
    EXPECT_FALSE(end.ended());
}

TEST_F(Entry, ASocketLeftBehindByACrashedCopyDoesNotBlockTheStart) {
    // What a copy that was killed leaves: the socket file, with nobody listening.
    const QString leftover = QDir::temp().filePath(instance);
    QFile file(leftover);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(CheckPrevInstance(instance));
    EXPECT_FALSE(end.ended());
    // This copy listens now: the next one finds it.
    EXPECT_TRUE(CheckPrevInstance(instance));
    EXPECT_TRUE(end.ended());
}

namespace {

// A learner's bank that was opened once (so it has a backup) and then damaged.
void damageAfterOneStart(const Fixtures::ProgramFolder& folder) {
    {
        TDM1 dm(folder.path());
        ASSERT_TRUE(dm.ConnectOk);
        dm.ADOCn1.exec(QStringLiteral("update tab_plan set PlanAmount=77"));
        ASSERT_EQ(LearnerBank::backups(LearnerBank::backupFolder()).size(), 1);
        // The backup is taken at the start: it holds the plan as delivered.
    }
    QFile bank(folder.learnerBankPath());
    ASSERT_TRUE(bank.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bank.write("overwritten by something else entirely");
}

} // namespace

TEST_F(Entry, ADamagedBankWithABackupIsRestoredWhenTheLearnerAgrees) {
    auto folder = Fixtures::makeProgramFolder();
    addMovie(*folder);
    damageAfterOneStart(*folder);
    dialogs.answer(Dialogs::BoxOk); // 无法连接数据库！
    dialogs.answer(Dialogs::BoxOk); // restore
    ASSERT_TRUE(ProgramEntry::start(options(*folder)));
    ASSERT_EQ(dialogs.requests.size(), 2);
    EXPECT_EQ(dialogs.requests[0].text, QStringLiteral("无法连接数据库！"));
    EXPECT_EQ(dialogs.requests[1].title, QStringLiteral("恢复题库"));
    EXPECT_EQ(dialogs.requests[1].boxButtons, Dialogs::BoxButtons::OkCancel);
    EXPECT_TRUE(dialogs.requests[1].text.contains(QStringLiteral("备份")));
    ASSERT_NE(DM1, nullptr);
    EXPECT_TRUE(DM1->ConnectOk);
    EXPECT_EQ(DM1->ADOCn1.scalar(QStringLiteral("select PlanAmount from tab_plan")).toInt(), 20);
    EXPECT_FALSE(end.ended());
    const QStringList aside =
        QDir(folder->dataPath()).entryList({QStringLiteral("QK730415.db.damaged-*")});
    EXPECT_EQ(aside.size(), 1);
}

TEST_F(Entry, DecliningTheRestoreEndsTheProgramAndKeepsTheFile) {
    auto folder = Fixtures::makeProgramFolder();
    addMovie(*folder);
    damageAfterOneStart(*folder);
    dialogs.answer(Dialogs::BoxOk);
    dialogs.answer(Dialogs::BoxCancel);
    EXPECT_FALSE(ProgramEntry::start(options(*folder)));
    EXPECT_EQ(dialogs.requests.size(), 2);
    EXPECT_TRUE(end.ended());
    EXPECT_EQ(DM1, nullptr);
    QFile bank(folder->learnerBankPath());
    ASSERT_TRUE(bank.open(QIODevice::ReadOnly));
    EXPECT_EQ(bank.readAll(), QByteArray("overwritten by something else entirely"));
}

// A newer delivered bank's questions join the learner's bank at the start, with a notice once.
TEST_F(Entry, ANewReleasesQuestionsAreMergedAtTheStartWithANotice) {
    auto folder = Fixtures::makeProgramFolder();
    addMovie(*folder);
    ASSERT_TRUE(ProgramEntry::start(options(*folder)));
    ProgramEntry::finish();
    EXPECT_TRUE(dialogs.requests.isEmpty());

    Fixtures::addReleaseQuestions(folder->bankPath(), 5);
    ASSERT_TRUE(ProgramEntry::start(options(*folder)));
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::ShowDlg);
    EXPECT_EQ(dialogs.last().title, QStringLiteral("提示"));
    EXPECT_EQ(dialogs.last().text, QStringLiteral("题库已更新，新增试题5道。"));
    EXPECT_EQ(dialogs.last().picture, 0);
    EXPECT_EQ(DM1->ADOCn1.scalar(QStringLiteral("select count(*) from tab_answ")).toInt(), 7 + 5);
    ProgramEntry::finish();

    ASSERT_TRUE(ProgramEntry::start(options(*folder)));
    EXPECT_EQ(dialogs.requests.size(), 1);
}
