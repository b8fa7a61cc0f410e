#include "bank_fixture.h"

#include "store/data_module.h"
#include "store/database.h"
#include "store/learner_bank.h"
#include "store/schema.h"

#include "platform/clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& file, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class LearnerBankTest : public ::testing::Test {
  protected:
    void SetUp() override { at(QDate(2026, 12, 9), QTime(8, 30)); }
    void TearDown() override { Clock::clearFixed(); }
    void at(const QDate& day, const QTime& time = QTime(9, 0)) {
        Clock::setFixed(QDateTime(day, time));
    }
    QString backups() const { return folder->dataPath() + QStringLiteral("backups/"); }
    int answered(const QString& file) {
        Database db;
        db.openReadOnly(file);
        return db.scalar("select count(*) from tab_answ where E3>0").toInt();
    }

    std::unique_ptr<Fixtures::ProgramFolder> folder = Fixtures::makeProgramFolder();
};

} // namespace

TEST_F(LearnerBankTest, TheFirstStartCopiesTheTemplateAndLaterStartsKeepTheLearnersBank) {
    EXPECT_EQ(LearnerBank::bankFile(), folder->learnerBankPath());
    const QByteArray delivered = bytesOf(folder->bankPath());
    {
        TDM1 dm(folder->path());
        ASSERT_TRUE(dm.ConnectOk);
        EXPECT_EQ(dm.BankFile, folder->learnerBankPath());
        dm.ADOCn1.exec("update tab_answ set E3=1 where A1='410101110001'");
    }
    EXPECT_EQ(bytesOf(folder->bankPath()), delivered); // the template is never written
    EXPECT_FALSE(QFileInfo::exists(folder->learnerBankPath() + ".part"));

    // A rebuild replaces the template; the learner's answers stay.
    Fixtures::createSampleBank(folder->bankPath());
    TDM1 dm(folder->path());
    ASSERT_TRUE(dm.ConnectOk);
    EXPECT_EQ(dm.ADOCn1.scalar("select E3 from tab_answ where A1='410101110001'").toInt(), 1);
}

TEST_F(LearnerBankTest, ATemplateThatIsNoBankLeavesNoLearnersBank) {
    writeBytes(folder->bankPath(), "not a bank at all, only text");
    TDM1 dm(folder->path());
    EXPECT_FALSE(dm.ConnectOk);
    EXPECT_FALSE(QFileInfo::exists(folder->learnerBankPath()));
    EXPECT_FALSE(QFileInfo::exists(folder->learnerBankPath() + ".part"));
}

TEST_F(LearnerBankTest, AHalfCopyLeftByAKilledStartIsReplaced) {
    writeBytes(folder->learnerBankPath() + ".part", QByteArray(4096, 'x'));
    TDM1 dm(folder->path());
    EXPECT_TRUE(dm.ConnectOk);
    EXPECT_FALSE(QFileInfo::exists(folder->learnerBankPath() + ".part"));
}

TEST_F(LearnerBankTest, ARefusedLearnersBankIsLeftByteForByte) {
    writeBytes(folder->learnerBankPath(), "damaged: no longer an SQLite file");
    const QByteArray before = bytesOf(folder->learnerBankPath());
    {
        TDM1 dm(folder->path());
        EXPECT_FALSE(dm.ConnectOk);
    }
    EXPECT_EQ(bytesOf(folder->learnerBankPath()), before);
    EXPECT_TRUE(LearnerBank::backups(backups()).isEmpty());
}

TEST_F(LearnerBankTest, OneBackupADayTheNewestSevenKept) {
    { TDM1 dm(folder->path()); }
    { TDM1 dm(folder->path()); } // same day: no second backup
    ASSERT_EQ(LearnerBank::backups(backups()).size(), 1);
    EXPECT_TRUE(LearnerBank::hasBackupOf(backups(), QDate(2026, 12, 9)));

    for (int d = 1; d <= 8; ++d) {
        at(QDate(2026, 12, 9).addDays(d));
        TDM1 dm(folder->path());
        ASSERT_TRUE(dm.ConnectOk);
    }
    const QStringList kept = LearnerBank::backups(backups());
    ASSERT_EQ(kept.size(), 7);
    EXPECT_EQ(LearnerBank::backupTime(kept.first()).date(), QDate(2026, 12, 17)); // newest first
    EXPECT_EQ(LearnerBank::backupTime(kept.last()).date(), QDate(2026, 12, 11));
    for (const QString& f : kept)
        EXPECT_TRUE(LearnerBank::isUsableBank(f)) << f.toStdString();
    EXPECT_TRUE(QDir(backups()).entryList({"*.part"}, QDir::Files).isEmpty());
}

TEST_F(LearnerBankTest, ABackupHoldsTheBankAsItWasAtTheStart) {
    {
        TDM1 dm(folder->path());
        dm.ADOCn1.exec("update tab_answ set E3=2");
    }
    at(QDate(2026, 12, 10));
    TDM1 dm(folder->path());
    const QStringList all = LearnerBank::backups(backups());
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(answered(all.last()), 0);
    EXPECT_EQ(answered(all.first()), 7);
}

TEST_F(LearnerBankTest, AnUpgradeIsPrecededByABackupEvenOnADayThatHasOne) {
    { TDM1 dm(folder->path()); }
    {
        Database db;
        db.open(folder->learnerBankPath());
        db.exec("PRAGMA user_version=0");
        db.exec("DROP INDEX ix_answ_k7"); // a bank from before the slot indexes
    }
    at(QDate(2026, 12, 9), QTime(11, 0));
    TDM1 dm(folder->path());
    ASSERT_TRUE(dm.ConnectOk);
    const QStringList all = LearnerBank::backups(backups());
    ASSERT_EQ(all.size(), 2);
    Database copy;
    copy.openReadOnly(all.first());
    EXPECT_EQ(copy.scalar("PRAGMA user_version").toInt(), 0); // taken before the upgrade
    EXPECT_EQ(dm.ADOCn1.scalar("PRAGMA user_version").toInt(), Schema::kVersion);
    EXPECT_EQ(
        dm.ADOCn1.scalar("select count(*) from sqlite_master where name='ix_answ_k7'").toInt(), 1);
}

TEST_F(LearnerBankTest, AFailedBackupIsNeverFatal) {
    writeBytes(folder->dataPath() + "backups", "a file where the backup folder should be");
    TDM1 dm(folder->path());
    EXPECT_TRUE(dm.ConnectOk);
    EXPECT_TRUE(LearnerBank::backup(dm.ADOCn1, backups(), Clock::now()).isEmpty());
}

TEST_F(LearnerBankTest, RestorePutsTheNewestUsableBackupInPlaceAndKeepsTheDamagedFile) {
    {
        TDM1 dm(folder->path());
        dm.ADOCn1.exec("update tab_answ set E3=1 where A1='410101110001'");
    }
    at(QDate(2026, 12, 10));
    { TDM1 dm(folder->path()); } // backup of the 10th holds the answer
    // A newer backup that is damaged is passed over.
    writeBytes(backups() + "QK730415-20261211-090000.db", "garbage");
    ASSERT_EQ(LearnerBank::backups(backups()).size(), 3);
    const QString good = LearnerBank::newestUsableBackup(backups());
    EXPECT_EQ(LearnerBank::backupTime(good).date(), QDate(2026, 12, 10));

    writeBytes(folder->learnerBankPath(), "damaged");
    QString aside;
    ASSERT_TRUE(LearnerBank::restore(good, folder->learnerBankPath(),
                                     QDateTime(QDate(2026, 12, 11), QTime(9, 5)), &aside));
    EXPECT_EQ(aside, folder->learnerBankPath() + ".damaged-20261211-090500");
    EXPECT_EQ(bytesOf(aside), "damaged");
    EXPECT_EQ(answered(folder->learnerBankPath()), 1);

    // A backup that does not open is never put in place.
    EXPECT_FALSE(LearnerBank::restore(backups() + "QK730415-20261211-090000.db",
                                      folder->learnerBankPath(), Clock::now()));
    EXPECT_EQ(answered(folder->learnerBankPath()), 1);
}

TEST_F(LearnerBankTest, ProgressKeptBesideTheProgramIsAdoptedAtTheFirstStart) {
    // What the bank builder keeps aside when it replaces a bank that held a learner's answers.
    const QString older = folder->bankPath() + ".progress-20261201-080000";
    const QString newer = folder->bankPath() + ".progress-20261208-080000";
    Fixtures::createSampleBank(older);
    Fixtures::createSampleBank(newer);
    {
        Database db;
        db.open(newer);
        db.exec("update tab_answ set E3=4 where A1='410101110001'");
    }
    writeBytes(folder->bankPath() + ".progress-20261209-080000", "damaged"); // passed over
    EXPECT_EQ(LearnerBank::keptProgress(folder->bankPath()), newer);
    TDM1 dm(folder->path());
    ASSERT_TRUE(dm.ConnectOk);
    EXPECT_EQ(dm.ADOCn1.scalar("select E3 from tab_answ where A1='410101110001'").toInt(), 4);
    EXPECT_TRUE(QFileInfo::exists(newer)); // only read
}

TEST(LearnerBankFolder, TheUsersDataFolderHonoursXdgDataHome) {
    const QString before = LearnerBank::setDataFolder({});
    const QString folder = LearnerBank::dataFolder();
    LearnerBank::setDataFolder(before);
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    if (!xdg.isEmpty()) {
        EXPECT_TRUE(folder.startsWith(QString::fromLocal8Bit(xdg))) << folder.toStdString();
    }
    EXPECT_TRUE(folder.endsWith("/data/"));
}
