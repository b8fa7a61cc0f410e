#include "store/app_state.h"
#include "store/bank_password.h"
#include "store/data_module.h"
#include "store/database.h"
#include <bank_fixture.h>

#include <QFile>
#include <gtest/gtest.h>

TEST(AppPath, EndsInExactlyOneSeparator) {
    EXPECT_EQ(TDM1::AppPathFrom("/opt/tarnwick"), "/opt/tarnwick/");
    EXPECT_EQ(TDM1::AppPathFrom("/opt/tarnwick/"), "/opt/tarnwick/");
    EXPECT_EQ(TDM1::AppPathFrom("/opt/tarnwick//"), "/opt/tarnwick/");
    EXPECT_EQ(TDM1::AppPathFrom("/"), "/");
}

TEST(DataModule, ConnectsToTheSampleBank) {
    auto folder = Fixtures::makeProgramFolder();
    TDM1 dm(folder->path());
    EXPECT_TRUE(dm.ConnectOk);
    EXPECT_EQ(App::AppPath, folder->path());
    dm.Cn1Table_tx->open();
    EXPECT_EQ(dm.Cn1Table_tx->tableName(), "tab_tx1");
    EXPECT_EQ(dm.Cn1Table_tx->recordCount(), 3);
    dm.Cn1Table_kmmc->open();
    EXPECT_EQ(dm.Cn1Table_kmmc->text("C1"), "1"); // in order of bh
}

TEST(DataModule, RefusesBanksItCannotTrust) {
    {
        auto folder = Fixtures::makeProgramFolder(false); // no file at all
        TDM1 dm(folder->path());
        EXPECT_FALSE(dm.ConnectOk);
    }
    {
        auto folder = Fixtures::makeProgramFolder();
        {
            Database db;
            db.open(folder->bankPath());
            BankPassword::store(db, "another-password");
        }
        TDM1 dm(folder->path());
        EXPECT_FALSE(dm.ConnectOk);
    }
    {
        auto folder = Fixtures::makeProgramFolder();
        QFile f(folder->bankPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("this is not a database file, only some text that looks nothing like one");
        f.close();
        TDM1 dm(folder->path());
        EXPECT_FALSE(dm.ConnectOk);
    }
    {
        auto folder = Fixtures::makeProgramFolder();
        {
            Database db;
            db.open(folder->bankPath());
            db.exec("drop table tab_answ");
        }
        TDM1 dm(folder->path());
        EXPECT_FALSE(dm.ConnectOk);
    }
    {
        auto folder = Fixtures::makeProgramFolder();
        {
            Database db;
            db.open(folder->bankPath());
            db.exec("delete from tab_key");
        }
        TDM1 dm(folder->path());
        EXPECT_FALSE(dm.ConnectOk);
    }
}

TEST(DataModule, RefusingABankChangesNothingInIt) {
    auto folder = Fixtures::makeProgramFolder();
    {
        Database db;
        db.open(folder->bankPath());
        BankPassword::store(db, "another-password");
    }
    QFile f(folder->bankPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    {
        TDM1 dm(folder->path());
        EXPECT_FALSE(dm.ConnectOk);
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST(BankPassword, VerifierIsSaltedAndChecked) {
    auto folder = Fixtures::makeProgramFolder();
    Database db;
    db.open(folder->bankPath());
    EXPECT_TRUE(BankPassword::verify(db, BankPassword::bankPassword()));
    EXPECT_FALSE(BankPassword::verify(db, "q7mtr2wkz0pavn5hyc3E"));
    EXPECT_FALSE(BankPassword::verify(db, ""));
    const QByteArray first = db.scalar("select verifier from tab_key").toByteArray();
    BankPassword::store(db, BankPassword::bankPassword());
    EXPECT_NE(db.scalar("select verifier from tab_key").toByteArray(), first);
    EXPECT_TRUE(BankPassword::verify(db, BankPassword::bankPassword()));
}
