// The question-bank upgrade window: opened from the menu, every check and message, the merge
// of a good upgrade file, and a corpus of bad ones that each end with their message and leave
// the learner's bank as it was.

#include "settings/upgrade_window.h"

#include "gui_bank_test.h"
#include "upgrade_files.h"

#include "settings/settings_commands.h"
#include "shell/start_form.h"
#include "store/learner_bank.h"
#include "widgets/effect_button.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class UpgradeWindow : public GuiBankTest {
  protected:
    // Types path into the window's field and starts the upgrade; answers the message shown.
    Dialogs::Request upgrade(Tfrmstxz& window, const QString& path) {
        window.Edit1->setText(path);
        const qsizetype before = dialogs->requests.size();
        window.epFocusButton1->click();
        EXPECT_EQ(dialogs->requests.size(), before + 1) << path.toStdString();
        return dialogs->requests.isEmpty() ? Dialogs::Request{} : dialogs->last();
    }
    QStringList bank() { return Fixtures::dumpTables(dm->ADOCn1); }
    int count(const QString& sql) { return stored(sql, QStringLiteral("n")).toInt(); }

    QTemporaryDir files;
};

TEST_F(UpgradeWindow, TheMenuOpensItWithTheLocalMethodAndItsPickerFillsThePath) {
    registerSettingsCommands();
    FrmStart = new TFrmStart();
    QSize size;
    bool local = false, pathShown = false;
    GuiTest::whenModal<Tfrmstxz>([&](Tfrmstxz* w) {
        size = w->size();
        local = w->RadioGroup1Item0->isChecked();
        pathShown = w->Edit1->isVisible() && w->SpeedButton1->isVisible();
        w->epFocusButton3->click();
    });
    FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("sj"), QString());
    delete FrmStart;
    FrmStart = nullptr;
    EXPECT_EQ(size, QSize(305, 158));
    EXPECT_TRUE(local);
    EXPECT_TRUE(pathShown);

    Tfrmstxz window;
    window.show();
    const QString chosen = files.filePath(QStringLiteral("升级 2027.db"));
    dialogs->choosePath(chosen);
    window.SpeedButton1->click();
    EXPECT_EQ(QDir::fromNativeSeparators(window.Edit1->text()), chosen);
    EXPECT_EQ(dialogs->last().kind, Dialogs::Kind::OpenFile);
    EXPECT_EQ(dialogs->last().filter, QStringLiteral("升级文件 (*.db *.mdb);;所有文件 (*)"));
    window.SpeedButton1->click(); // cancelled: the path stays
    EXPECT_EQ(QDir::fromNativeSeparators(window.Edit1->text()), chosen);
}

TEST_F(UpgradeWindow, AnEmptyPathOrAFileOfAnotherProductChangesNothing) {
    Tfrmstxz window;
    window.show();
    const QStringList before = bank();
    const Dialogs::Request empty = upgrade(window, QStringLiteral("   "));
    EXPECT_EQ(empty.title, QStringLiteral("提示"));
    EXPECT_EQ(empty.text, QStringLiteral("请点击文件夹按钮选择升级文件！"));
    EXPECT_EQ(empty.picture, 1);

    Fixtures::UpgradeContent other;
    other.cpbs = QStringLiteral("TW-OTHER");
    const QString foreign = files.filePath(QStringLiteral("other.db"));
    Fixtures::writeUpgradeFile(foreign, other);
    const Dialogs::Request notOurs = upgrade(window, foreign);
    EXPECT_EQ(notOurs.text, QStringLiteral("升级文件不属于本软件！"));
    EXPECT_EQ(notOurs.picture, 1);
    EXPECT_TRUE(bank() == before);
}

// A good file at a path with a quote, blanks and Chinese merges once: the learner's answers stay,
// the counters of the chapters and points that received questions follow the rows, a backup of
// the bank as it was is kept, and the second attempt is refused.
TEST_F(UpgradeWindow, AGoodFileMergesOnceAndKeepsTheLearnersState) {
    sql(QStringLiteral("update tab_answ set E3=3, E4=-1, E2='C', A14='我的笔记' where "
                       "A1='410101110001'"));
    sql(QStringLiteral("update tab_kmmc set C4=1, D1=3, D2=1 where C1 in ('4','41','4101',"
                       "'410101')"));
    QDir().mkpath(files.filePath(QStringLiteral("下载 O'Neil")));
    const QString path = files.filePath(QStringLiteral("下载 O'Neil/题库升级 '2027'.db"));
    Fixtures::writeUpgradeFile(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray fileBefore = f.readAll();
    f.close();

    Tfrmstxz window;
    window.show();
    const Dialogs::Request done = upgrade(window, QDir::toNativeSeparators(path));
    EXPECT_EQ(done.title, QStringLiteral("提示"));
    EXPECT_EQ(done.text, QStringLiteral("升级成功！"));
    EXPECT_EQ(done.picture, 0);

    EXPECT_EQ(count(QStringLiteral("select count(*) n from tab_answ")), 7 + 4);
    EXPECT_EQ(count(QStringLiteral("select count(*) n from tab_exer")), 7 + 4);
    EXPECT_EQ(count(QStringLiteral("select count(*) n from tab_sj where sjbs='TW-UP-2027-1' and "
                                   "cpbs='TW-ZXS'")),
              1);
    // Chapter levels: 4 / 41 / 4101 had 6 questions, 410101 had 3; the learner's counts stay.
    EXPECT_EQ(count(QStringLiteral("select C3 n from tab_kmmc where C1='4'")), 10);
    EXPECT_EQ(count(QStringLiteral("select C3 n from tab_kmmc where C1='4101'")), 10);
    EXPECT_EQ(count(QStringLiteral("select C3 n from tab_kmmc where C1='410101'")), 6);
    EXPECT_EQ(count(QStringLiteral("select C3 n from tab_kmmc where C1='410103'")), 1);
    EXPECT_EQ(count(QStringLiteral("select C3 n from tab_kmmc where C1='1'")), 1);
    EXPECT_EQ(count(QStringLiteral("select D1 n from tab_kmmc where C1='4101'")), 3);
    // Points: 4101010001 had 2 questions; the catalogue entries above it count the questions
    // with a point inside them.
    EXPECT_EQ(count(QStringLiteral("select q n from tab_rule where ftid='4101010001'")), 5);
    EXPECT_EQ(count(QStringLiteral("select q n from tab_rule where ftid='4101030001'")), 1);
    EXPECT_EQ(count(QStringLiteral("select q n from tab_fgmc where id='410101'")), 5);
    EXPECT_EQ(count(QStringLiteral("select q n from tab_fgmc where id='41'")), 7);
    EXPECT_EQ(count(QStringLiteral("select q n from tab_fgmc where id='410103'")), 1);
    EXPECT_EQ(count(QStringLiteral("select E3 n from tab_answ where A1='410101110001'")), 3);
    EXPECT_EQ(stored(QStringLiteral("select A14 from tab_answ where A1='410101110001'"),
                     QStringLiteral("A14")),
              QStringLiteral("我的笔记"));

    // The file was only read.
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), fileBefore);
    f.close();
    // The backup holds the bank as it was.
    const QStringList backups = LearnerBank::backups(LearnerBank::backupFolder());
    ASSERT_FALSE(backups.isEmpty());
    {
        Database backup;
        backup.openReadOnly(backups.first());
        EXPECT_EQ(backup.scalar(QStringLiteral("select count(*) from tab_answ")).toInt(), 7);
    }

    const QStringList after = bank();
    const Dialogs::Request again = upgrade(window, path);
    EXPECT_EQ(again.text, QStringLiteral("您已升级过了！"));
    EXPECT_EQ(again.picture, 1);
    EXPECT_TRUE(bank() == after);
}

// Every bad file ends with its message and the bank as it was, table for table.
TEST_F(UpgradeWindow, EveryBadFileEndsWithItsMessageAndTheBankAsItWas) {
    const QVector<Fixtures::BadUpgrade> corpus = Fixtures::writeBadUpgrades(files.path());
    Tfrmstxz window;
    window.show();
    const QStringList before = bank();
    for (const Fixtures::BadUpgrade& bad : corpus) {
        const Dialogs::Request shown = upgrade(window, bad.path);
        EXPECT_EQ(shown.text, bad.message) << bad.name.toStdString();
        EXPECT_EQ(shown.picture, bad.message == QStringLiteral("升级文件不属于本软件！") ? 1 : 2)
            << bad.name.toStdString();
        EXPECT_TRUE(bank() == before) << bad.name.toStdString();
    }
    // The same window still merges a good file afterwards.
    const QString good = files.filePath(QStringLiteral("good.db"));
    EXPECT_EQ(upgrade(window, good).text, QStringLiteral("升级成功！"));
}

} // namespace
