#include "store/database.h"
#include "store/dataset.h"
#include <bank_fixture.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DatasetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.open(dir.path() + "/t.db", true);
        db.exec("create table t (id TEXT COLLATE NOCASE, n INTEGER, d TEXT, b BLOB)");
        db.exec("insert into t values ('a', 1, '2026-01-02', null), ('B', 2, null, x'00ff'), "
                "('c', 3, '', null), ('D', 4, '2026-12-31', null)");
    }
    QTemporaryDir dir;
    Database db;
};

} // namespace

TEST_F(DatasetTest, NavigatesWithRecordNumbersAndEnds) {
    Dataset ds(&db);
    ds.setSql("select * from t order by n");
    ds.open();
    ASSERT_EQ(ds.recordCount(), 4);
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_FALSE(ds.eof());
    int seen = 0;
    while (!ds.eof()) {
        ++seen;
        ds.next();
    }
    EXPECT_EQ(seen, 4);
    EXPECT_EQ(ds.recNo(), 4); // stays on the last row
    ds.prior();
    EXPECT_EQ(ds.text("id"), "c");
    ds.first();
    ds.prior();
    EXPECT_TRUE(ds.bof());
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_TRUE(ds.setRecNo(3));
    EXPECT_EQ(ds.whole("N"), 3); // field names ignore case
    EXPECT_FALSE(ds.setRecNo(5));
    EXPECT_FALSE(ds.setRecNo(0));
}

TEST_F(DatasetTest, ReadsNullAsEmptyAndConvertsTypes) {
    Dataset ds(&db);
    ds.setSql("select * from t where n=:n");
    ds.setParam(":n", 2);
    ds.open();
    ASSERT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds.text("d"), "");
    EXPECT_TRUE(ds.isNull("d"));
    EXPECT_EQ(ds.bytes("b"), QByteArray("\x00\xff", 2));
    EXPECT_THROW(ds.text("nosuch"), DbError);
    ds.close();
    ds.setParam("n", 1);
    ds.open();
    EXPECT_EQ(ds.date("d"), QDate(2026, 1, 2));
    EXPECT_EQ(ds.real("n"), 1.0);
}

TEST_F(DatasetTest, EmptyResultHasNoCurrentRow) {
    Dataset ds(&db);
    ds.setSql("select * from t where n > 100");
    ds.open();
    EXPECT_TRUE(ds.eof());
    EXPECT_TRUE(ds.bof());
    EXPECT_EQ(ds.recNo(), 0);
    EXPECT_EQ(ds.text("id"), "");
    EXPECT_THROW(ds.edit(), DbError);
}

TEST_F(DatasetTest, FilterCountsRecordNumbersInTheView) {
    Dataset ds(&db);
    ds.setTableName("t");
    ds.setOrderBy("n");
    ds.open();
    ds.setFilter([](const RowRef& r) { return r.whole("n") % 2 == 0; });
    EXPECT_EQ(ds.recordCount(), 4); // not filtered until switched on
    ds.setFiltered(true);
    ASSERT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(ds.text("id"), "B");
    ds.setRecNo(2);
    EXPECT_EQ(ds.text("id"), "D");
    // Rows of the view are read by position without moving the cursor.
    EXPECT_EQ(ds.textAt(0, "id"), "B");
    EXPECT_TRUE(ds.valueAt(2, "id").isNull());
    EXPECT_EQ(ds.recNo(), 2);
    ds.clearFilter();
    EXPECT_EQ(ds.recordCount(), 4);
}

TEST_F(DatasetTest, LocateWithAndWithoutCase) {
    Dataset ds(&db);
    ds.setTableName("t");
    ds.open();
    EXPECT_FALSE(ds.locate("id", "b"));
    EXPECT_TRUE(ds.locate("id", "b", Qt::CaseInsensitive));
    EXPECT_EQ(ds.whole("n"), 2);
    EXPECT_TRUE(ds.locate("n", 4));
    EXPECT_EQ(ds.text("id"), "D");
}

TEST_F(DatasetTest, EditPostWritesThroughAndCancelDoesNot) {
    Dataset ds(&db);
    ds.setSql("select id, n as number from t where n >= 2 order by n");
    ds.open();
    ASSERT_TRUE(ds.editable());
    ds.edit();
    ds.setValue("number", 20);
    EXPECT_EQ(ds.whole("number"), 20);
    ds.post();
    EXPECT_EQ(db.scalar("select n from t where id='B'").toInt(), 20);
    ds.next();
    ds.edit();
    ds.setValue("id", "changed");
    ds.cancel();
    EXPECT_EQ(ds.text("id"), "c");
    EXPECT_EQ(db.scalar("select count(*) from t where id='changed'").toInt(), 0);
    // Moving while editing posts, as the original cursors did.
    ds.edit();
    ds.setValue("id", "moved");
    ds.next();
    EXPECT_EQ(db.scalar("select count(*) from t where id='moved'").toInt(), 1);
}

TEST_F(DatasetTest, AppendDeleteAndRequery) {
    Dataset ds(&db);
    ds.setTableName("t");
    ds.open();
    ds.append();
    ds.setValue("id", "e");
    ds.setValue("n", 5);
    ds.post();
    EXPECT_EQ(ds.recordCount(), 5);
    EXPECT_EQ(ds.recNo(), 5);
    EXPECT_EQ(db.scalar("select n from t where id='e'").toInt(), 5);

    ASSERT_TRUE(ds.locate("id", "B"));
    ds.remove();
    EXPECT_EQ(ds.recordCount(), 4);
    EXPECT_EQ(db.scalar("select count(*) from t").toInt(), 4);
    EXPECT_EQ(ds.text("id"), "c"); // the next row becomes current
    ds.setFilter([](const RowRef& r) { return r.whole("n") > 0; });
    ds.setFiltered(true);
    EXPECT_EQ(ds.recordCount(), 4); // a deleted row never comes back

    db.exec("update t set n=30 where id='c'");
    ASSERT_TRUE(ds.locate("id", "c"));
    ds.requery();
    EXPECT_EQ(ds.text("id"), "c");
    EXPECT_EQ(ds.whole("n"), 30);
}

TEST_F(DatasetTest, JoinsAndAggregatesAreReadOnly) {
    Dataset ds(&db);
    ds.setSql("select count(*) as cnt, sum(n) as total from t");
    ds.open();
    EXPECT_EQ(ds.whole("cnt"), 4);
    EXPECT_EQ(ds.whole("total"), 10);
    EXPECT_FALSE(ds.editable());
    EXPECT_THROW(ds.edit(), DbError);

    Dataset join(&db);
    join.setSql("select a.id, b.n from t a, t b where a.id=b.id order by a.n");
    join.open();
    EXPECT_EQ(join.recordCount(), 4);
    EXPECT_FALSE(join.editable());
}

TEST_F(DatasetTest, SortsAndClones) {
    Dataset ds(&db);
    ds.setTableName("t");
    ds.open();
    ds.sort("n", Qt::DescendingOrder);
    EXPECT_EQ(ds.text("id"), "a"); // the current row stays current
    ds.first();
    EXPECT_EQ(ds.text("id"), "D");
    ds.sort("id");
    ds.first();
    EXPECT_EQ(ds.text("id"), "a"); // texts sort without regard to case
    ds.next();
    EXPECT_EQ(ds.text("id"), "B");
    std::unique_ptr<Dataset> c(ds.clone());
    EXPECT_EQ(c->recordCount(), 4);
    EXPECT_EQ(c->text("id"), "B");
}

TEST_F(DatasetTest, SignalsRowAndFieldChanges) {
    Dataset ds(&db);
    ds.setTableName("t");
    QSignalSpy changed(&ds, &Dataset::dataChanged);
    ds.open();
    ds.next();
    ds.edit();
    ds.setValue("n", 9);
    ds.post();
    ASSERT_GE(changed.size(), 3);
    EXPECT_EQ(changed.at(changed.size() - 1).at(0).toString(), "n");
}

TEST(Database, KnowsTheBankFunctionsAndTables) {
    QTemporaryDir dir;
    Database db;
    db.open(dir.path() + "/f.db", true);
    EXPECT_EQ(db.scalar("select substr('中文abc', 1, 2)").toString(), "中文");
    EXPECT_EQ(db.scalar("select len('咨询师')").toInt(), 3);
    EXPECT_EQ(db.scalar("select CINT('12')").toInt(), 12);
    EXPECT_THROW(db.scalar("select CINT('x')"), DbError);
    db.exec("create table tab_exam3 (a)");
    EXPECT_TRUE(db.hasTable("TAB_EXAM3"));
    db.dropTable("tab_exam3");
    db.dropTable("tab_exam3"); // quietly nothing the second time
    EXPECT_FALSE(db.hasTable("tab_exam3"));
    EXPECT_EQ(Database::quoteText("it's"), "'it''s'");
}

TEST(Database, TransactionRollsBackUnlessCommitted) {
    QTemporaryDir dir;
    Database db;
    db.open(dir.path() + "/f.db", true);
    db.exec("create table t (a)");
    {
        Transaction tx(db);
        db.exec("insert into t values (1)");
    }
    EXPECT_EQ(db.scalar("select count(*) from t").toInt(), 0);
    {
        Transaction tx(db);
        db.exec("insert into t values (1)");
        tx.commit();
    }
    EXPECT_EQ(db.scalar("select count(*) from t").toInt(), 1);
}

TEST(Database, BoundParametersCarryQuotesAndNullsSafely) {
    QTemporaryDir dir;
    Database db;
    db.open(dir.path() + "/f.db", true);
    db.exec("create table t (a TEXT)");
    db.exec("insert into t values (:v)", {{"v", "x'); drop table t; --"}});
    db.exec("insert into t values (:v)", {{"v", QVariant()}});
    EXPECT_EQ(db.scalar("select count(*) from t").toInt(), 2);
    EXPECT_EQ(db.scalar("select count(*) from t where a is null").toInt(), 1);
}

TEST(Database, AttachesAnotherFile) {
    QTemporaryDir dir;
    {
        Database other;
        other.open(dir.path() + "/up.db", true);
        other.exec("create table tab_sj (sjbs TEXT)");
        other.exec("insert into tab_sj values ('X1')");
    }
    Database db;
    db.open(dir.path() + "/main.db", true);
    db.attach(dir.path() + "/up.db", "up");
    EXPECT_EQ(db.scalar("select sjbs from up.tab_sj").toString(), "X1");
    db.detach("up");
    EXPECT_THROW(db.scalar("select sjbs from up.tab_sj"), DbError);
}

TEST_F(DatasetTest, KeptStatementsSurviveSchemaChangesReentryAndClosing) {
    EXPECT_EQ(db.scalar("select count(*) from t").toInt(), 4);
    db.exec("drop table t"); // a kept statement never holds the table
    db.exec("create table t (id TEXT, n INTEGER, extra TEXT)");
    db.exec("insert into t (id, n) values ('z', 9)");
    EXPECT_EQ(db.scalar("select count(*) from t").toInt(), 1); // prepared again for the new table

    // The same text run while a row of it is still being read gets a statement of its own.
    Statement outer = db.cached("select n from t");
    ASSERT_TRUE(outer.step());
    EXPECT_EQ(db.scalar("select n from t").toInt(), 9);
    EXPECT_EQ(outer.value(0).toInt(), 9);

    const QString file = db.path();
    db.close(); // with a statement still lent
    db.open(file);
    EXPECT_EQ(db.scalar("select n from t").toInt(), 9);
    EXPECT_ANY_THROW(db.exec("select * from no_such_table"));
    EXPECT_ANY_THROW(db.exec("select * from no_such_table")); // a failed text is not kept
}

TEST_F(DatasetTest, PrefixesOfATextAreFoundInOnePass) {
    db.exec("create table k (c TEXT COLLATE NOCASE)");
    db.exec("insert into k values ('4'), ('41'), ('4101'), ('410101'), ('4101'), ('X'), (null)");
    Dataset ds(&db);
    ds.setSql("select * from k");
    ds.open();
    const QVector<int> found = ds.findPrefixesOf("c", "410101");
    ASSERT_EQ(found.size(), 7);
    EXPECT_EQ(found[1], 1);
    EXPECT_EQ(found[2], 2);
    EXPECT_EQ(found[3], -1);
    EXPECT_EQ(found[4], 3); // the first of two
    EXPECT_EQ(found[6], 4);
    EXPECT_EQ(ds.findPrefixesOf("c", "x1", Qt::CaseInsensitive)[1], 6);
    EXPECT_EQ(ds.findPrefixesOf("c", "x1")[1], -1);
}

TEST_F(DatasetTest, APostedRowShowsWhatTheFileStored) {
    db.exec("create trigger stamp after update of n on t begin "
            "update t set d='changed' where _rowid_=new._rowid_; end");
    Dataset ds(&db);
    ds.setSql("select * from t order by n");
    ds.open();
    ds.edit();
    ds.setValue("n", "0012"); // an integer column keeps the number, not the text
    ds.post();
    EXPECT_EQ(ds.text("n"), "12");
    EXPECT_EQ(ds.text("d"), "changed"); // what a trigger wrote is seen too
    EXPECT_EQ(ds.textAt(0, "n"), "12");
}
