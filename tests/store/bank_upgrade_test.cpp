// Merging new rows into a learner's bank: from a newer delivered bank at start, and the
// connection's own settings around a merge.

#include "store/bank_upgrade.h"
#include "store/data_module.h"
#include "store/database.h"
#include "store/learner_bank.h"
#include "store/schema.h"

#include "platform/clock.h"
#include <bank_fixture.h>
#include <upgrade_files.h>

#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QSet<QString> rowsOf(const QStringList& dump, const QString& table) {
    QSet<QString> rows;
    for (const QString& r : dump)
        if (r.startsWith(table + QLatin1Char(':')))
            rows.insert(r);
    return rows;
}

class TemplateMerge : public testing::Test {
  protected:
    void SetUp() override { Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0))); }
    void TearDown() override { Clock::clearFixed(); }

    // A learner who has answered, written a note, kept a paper and added a question.
    void study(TDM1& dm) {
        Database& db = dm.ADOCn1;
        db.exec("update tab_answ set E3=2, E4=-1, E2='A', E1='2026-12-09', A14='易错' where "
                "A1='410101110001'");
        db.exec("update tab_kmmc set C4=1, D1=2, D2=1 where C1 in ('4','41','4101','410101')");
        db.exec("insert into tab_rz (A1, A2, A3, A4, B1, B2, D1) values ('2026-12-09', 2, 1, "
                "'50.00', 1, 1, '00:10:00')");
        db.exec("insert into tab_cj (A1, A3, A3_1, A6, D1, D2) values ('tab_exam1', "
                "'2026年12月09日咨询师[1]', 1, 80, '2026-12-09', '0:30:00')");
        db.exec(Schema::paperTableStatement("tab_exam1"));
        db.exec("insert into tab_exam1 (A1, A2, A10, A13, E2_1) values ('410101110002', 'C', "
                "'410101', 11, 'C')");
        db.exec("insert into tab_answ (A1, A2, A2_1, A10, A13, f1, E3, E4) values "
                "('US0000000001', 'A', 4, '410101', 11, 2, 0, 0)");
        db.exec("insert into tab_exer (A1, A15) values ('US0000000001', x'7b7d')");
        db.exec("update tab_kmmc set C3=C3+1 where C1 in ('4','41','4101','410101')");
    }
};

// A release with five new questions: the learner keeps every row of theirs and gains the five,
// after a backup of the bank as it was; the next start merges nothing.
TEST_F(TemplateMerge, ANewReleasesQuestionsJoinTheLearnersBankAndNothingOfTheirsChanges) {
    auto folder = Fixtures::makeProgramFolder();
    QStringList before;
    {
        TDM1 dm(folder->path());
        ASSERT_TRUE(dm.ConnectOk);
        EXPECT_EQ(dm.TemplateAdded, 0);
        study(dm);
        before = Fixtures::dumpTables(dm.ADOCn1);
    }
    Fixtures::addReleaseQuestions(folder->bankPath(), 5);
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    {
        TDM1 dm(folder->path());
        ASSERT_TRUE(dm.ConnectOk);
        EXPECT_EQ(dm.TemplateAdded, 5);
        const QStringList after = Fixtures::dumpTables(dm.ADOCn1);
        for (const char* t : {"tab_answ", "tab_exer", "tab_rz", "tab_cj", "tab_exam1", "tab_plan",
                              "tab_title", "tab_rule", "tab_sj"}) {
            const QSet<QString> was = rowsOf(before, QString::fromLatin1(t));
            EXPECT_TRUE(rowsOf(after, QString::fromLatin1(t)).contains(was)) << t;
        }
        EXPECT_EQ(rowsOf(after, "tab_answ").size(), rowsOf(before, "tab_answ").size() + 5);
        Database& db = dm.ADOCn1;
        EXPECT_EQ(db.scalar("select count(*) from tab_answ where A10='410103'").toInt(), 5);
        // The learner's own question stays counted; their answer counters stay as they were.
        EXPECT_EQ(db.scalar("select C3 from tab_kmmc where C1='4101'").toInt(), 7 + 5);
        EXPECT_EQ(db.scalar("select D1 from tab_kmmc where C1='4101'").toInt(), 2);
        EXPECT_EQ(db.scalar("select C3 from tab_kmmc where C1='410103'").toInt(), 5);
        EXPECT_EQ(db.scalar("select q from tab_rule where ftid='4101030001'").toInt(), 5);
        EXPECT_EQ(db.scalar("select q from tab_fgmc where id='41'").toInt(), 3 + 5);

        // The backup taken first holds the bank without the new questions.
        const QStringList backups = LearnerBank::backups(LearnerBank::backupFolder());
        ASSERT_FALSE(backups.isEmpty());
        EXPECT_EQ(LearnerBank::backupTime(backups.first()).time(), QTime(9, 30));
        Database backup;
        backup.openReadOnly(backups.first());
        EXPECT_EQ(backup.scalar("select count(*) from tab_answ").toInt(), 8);
    }
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    {
        TDM1 dm(folder->path());
        EXPECT_EQ(dm.TemplateAdded, 0);
        EXPECT_EQ(LearnerBank::backups(LearnerBank::backupFolder()).size(), 2);
    }
}

// A template of another product, or one that cannot be read, merges nothing; the bank stays.
TEST_F(TemplateMerge, AnotherProductsOrAnUnreadableTemplateMergesNothing) {
    auto folder = Fixtures::makeProgramFolder();
    {
        TDM1 dm(folder->path());
        ASSERT_TRUE(dm.ConnectOk);
    }
    Fixtures::addReleaseQuestions(folder->bankPath(), 2);
    {
        Database tpl;
        tpl.open(folder->bankPath());
        tpl.exec("update tab_sj set cpbs='TW-OTHER'");
    }
    const QStringList before = Fixtures::dumpTables(folder->learnerBankPath());
    {
        TDM1 dm(folder->path());
        EXPECT_EQ(dm.TemplateAdded, 0);
    }
    EXPECT_TRUE(Fixtures::dumpTables(folder->learnerBankPath()) == before);

    Database bank;
    bank.open(folder->learnerBankPath());
    const QString backups = LearnerBank::backupFolder();
    EXPECT_FALSE(BankUpgrade::mergeTemplate(bank, folder->path() + "missing.db", backups).any());
    EXPECT_FALSE(BankUpgrade::mergeTemplate(bank, bank.path(), backups).any());
}

// A merge leaves the connection as it found it: nothing attached, the same durability and the
// longest value allowed again, also after a failed merge.
TEST(BankUpgrade, AMergeLeavesTheConnectionAsItWas) {
    QTemporaryDir dir;
    const QString bankFile = dir.filePath("bank.db");
    Fixtures::createSampleBank(bankFile);
    Fixtures::writeUpgradeFile(dir.filePath("up.db"));
    Fixtures::UpgradeContent repeated;
    repeated.sjbs = "TW-UP-2";
    Fixtures::writeUpgradeFile(dir.filePath("again.db"), repeated); // the same question ids
    Database bank;
    bank.open(bankFile);
    bank.exec("PRAGMA synchronous=NORMAL");
    const int limit = bank.setLengthLimit(1 << 30);
    bank.setLengthLimit(limit);

    const BankUpgrade::Added added = BankUpgrade::merge(
        bank, dir.filePath("up.db"), BankUpgrade::Rows::All, {"TW-UP-1", "TW-ZXS"});
    EXPECT_EQ(added.questions, 4);
    EXPECT_EQ(added.chapters, 1);
    EXPECT_EQ(added.points, 1);
    EXPECT_EQ(added.catalogue, 1);
    EXPECT_THROW(BankUpgrade::merge(bank, dir.filePath("again.db"), BankUpgrade::Rows::All,
                                    {"TW-UP-2", "TW-ZXS"}),
                 DbError);
    EXPECT_EQ(bank.scalar("select count(*) from pragma_database_list").toInt(), 1);
    EXPECT_EQ(bank.scalar("PRAGMA synchronous").toInt(), 1);
    EXPECT_EQ(bank.setLengthLimit(limit), limit);
    EXPECT_FALSE(bank.inTransaction());
    EXPECT_EQ(bank.scalar("select count(*) from tab_sj").toInt(), 2);
}

} // namespace

namespace {

// After a merge every counter agrees with the rows, as the bank builder counts them.
TEST(BankUpgrade, EveryCounterAgreesWithTheRowsAfterAMerge) {
    QTemporaryDir dir;
    Fixtures::createSampleBank(dir.filePath("bank.db"));
    Fixtures::writeUpgradeFile(dir.filePath("up.db"));
    Database bank;
    bank.open(dir.filePath("bank.db"));
    // A question naming one point twice and a point of the new chapter counts once.
    {
        Database up;
        up.open(dir.filePath("up.db"));
        up.exec("update tab_answ set k4='4101010001', k7='4101030001' where A1='410101119002'");
    }
    BankUpgrade::merge(bank, dir.filePath("up.db"), BankUpgrade::Rows::All, {"TW-UP", "TW-ZXS"});
    EXPECT_EQ(bank.scalar("select count(*) from tab_kmmc where C3<>(select count(*) from tab_answ "
                          "where substr(A10,1,length(tab_kmmc.C1))=tab_kmmc.C1)")
                  .toInt(),
              0);
    EXPECT_EQ(bank.scalar("select count(*) from tab_rule where q<>(select count(*) from tab_answ "
                          "where tab_rule.ftid in (k3,k4,k5,k6,k7,k8,k9,k10,k11,k12))")
                  .toInt(),
              0);
    EXPECT_EQ(bank.scalar("select count(*) from tab_fgmc where q<>(select count(*) from tab_answ a "
                          "where exists (select 1 from tab_rule r where r.ftid in (a.k3,a.k4,a.k5,"
                          "a.k6,a.k7,a.k8,a.k9,a.k10,a.k11,a.k12) and "
                          "substr(r.ftid,1,length(tab_fgmc.id))=tab_fgmc.id))")
                  .toInt(),
              0);
    EXPECT_EQ(bank.scalar("select q from tab_rule where ftid='4101030001'").toInt(), 2);
    EXPECT_EQ(bank.scalar("select q from tab_fgmc where id='41'").toInt(), 7);
}

} // namespace
