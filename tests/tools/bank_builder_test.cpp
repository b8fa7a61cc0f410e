#include "richtext/rtf_codec.h"
#include "store/database.h"
#include "store/schema.h"
#include <bank_source.h>
#include <bank_writer.h>

#include "small_bank_source.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const kBase = kSmallBankSource;

// Builds a bank from kBase plus extra source; returns the error text, empty on success.
QString build(const QString& extra, Database& db) {
    try {
        const auto records = parseSource(QString::fromUtf8(kBase) + extra, "t.txt");
        Schema::create(db);
        writeBank(records, db);
        return {};
    } catch (const SourceError& e) {
        return QString::fromUtf8(e.what());
    }
}

struct Rejection {
    const char* source;
    const char* message; // a part of the error text
};

void PrintTo(const Rejection& r, std::ostream* os) {
    *os << r.message;
}

class BankBuilderRejects : public ::testing::TestWithParam<Rejection> {};

} // namespace

TEST(BankSource, ParsesBlocksWithParagraphsAndComments) {
    const auto records = parseSource("# comment\n@point\nid: X1\ntext: |\n  one\n  \n  two **b**\n"
                                     "heading: h\n",
                                     "f.txt");
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].kind, "point");
    EXPECT_EQ(records[0].value("text"), "one\n\ntwo **b**");
    EXPECT_EQ(records[0].value("heading"), "h");
    EXPECT_EQ(records[0].where("heading"), "f.txt:8");
}

TEST(BankSource, TextBecomesRtfWithBold) {
    const QByteArray rtf = sourceTextToRtf("答案：**B**\n第二段");
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_EQ(Rtf::toPlainText(rtf), "答案：B\n第二段");
}

TEST(BankBuilder, WritesRowsAndCounters) {
    QTemporaryDir dir;
    Database db;
    db.open(dir.path() + "/b.db", true);
    const QString error = build(R"(
@question
id: 410101110001
chapter: 410101
type: 11
options: 4
key: B
points: A441010001
text: |
  题干
explanation: |
  解析
@question
id: 410101140001
chapter: 410101
type: 14
options: 5
key: ACE
text: |
  题干
explanation: |
  解析
)",
                                db);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(db.scalar("select C3 from tab_kmmc where C1='4'").toInt(), 2);
    EXPECT_EQ(db.scalar("select q from tab_rule where ftid='A441010001'").toInt(), 1);
    EXPECT_EQ(db.scalar("select q from tab_fgmc where id='A4'").toInt(), 1);
    EXPECT_EQ(db.scalar("select xx from tab_answ where A1='410101140001'").toInt(), 2);
    EXPECT_EQ(db.scalar("select ExamTime from tab_plan").toInt(), 9000);
    EXPECT_EQ(db.scalar("select sum(B2*B3) from tab_tx1").toInt(), 130);
    EXPECT_EQ(db.scalar("select f1 from tab_answ where A1='410101110001'").toInt(), 0);
}

TEST_P(BankBuilderRejects, NamesTheFault) {
    QTemporaryDir dir;
    Database db;
    db.open(dir.path() + "/b.db", true);
    const QString error = build(QString::fromUtf8(GetParam().source), db);
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().message))) << error.toStdString();
    EXPECT_TRUE(error.startsWith("t.txt:")) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BankBuilderRejects,
    ::testing::Values(
        Rejection{"@quiz\nid: 1\n", "unknown record kind"},
        Rejection{"@question\nid: 410101110001\nchapter: 410101\ntype: 11\noptions: 4\nkey: E\n"
                  "text: |\n  t\nexplanation: |\n  e\n",
                  "key letter 'E'"},
        Rejection{"@question\nid: 410101140001\nchapter: 410101\ntype: 14\noptions: 4\nkey: CA\n"
                  "text: |\n  t\nexplanation: |\n  e\n",
                  "order A to F"},
        Rejection{"@question\nid: 410101140001\nchapter: 410101\ntype: 14\noptions: 4\nkey: C\n"
                  "text: |\n  t\nexplanation: |\n  e\n",
                  "at least two letters"},
        Rejection{"@question\nid: 410101110001\nchapter: 410101\ntype: 11\noptions: 4\nkey: A\n"
                  "points: A449999999\ntext: |\n  t\nexplanation: |\n  e\n",
                  "knowledge point 'A449999999' does not exist"},
        Rejection{"@question\nid: 410101110001\nchapter: 410199\ntype: 11\noptions: 4\nkey: A\n"
                  "text: |\n  t\nexplanation: |\n  e\n",
                  "is not a 6-character chapter"},
        Rejection{"@question\nid: 410101110001\nchapter: 410101\ntype: 11\noptions: 4\nkey: A\n"
                  "text: |\n  t\n",
                  "lacks 'explanation'"},
        Rejection{"@question\nid: 4101011CASE00001-1\nchapter: 410101\ntype: 11\noptions: 4\n"
                  "key: A\ntext: |\n  t\nexplanation: |\n  e\n",
                  "case '4101011CASE00001' does not exist"},
        Rejection{"@chapter\ncode: 4101\nname: x\nheading: x\norder: 9\n", "given twice"},
        Rejection{"@chapter\ncode: 520101\nname: x\nheading: x\norder: 9\n",
                  "parent node '5201' does not exist"},
        Rejection{"@question\nid: 410101110001\nchapter: 410101\ntype: 11\noptions: 4\nkey: A\n"
                  "colour: red\ntext: |\n  t\nexplanation: |\n  e\n",
                  "unknown field 'colour'"}));

TEST(BankBuilder, AFailedBuildLeavesNoFile) {
    QTemporaryDir src, out;
    QFile f(src.path() + "/a.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("@quiz\n");
    f.close();
    EXPECT_THROW(buildBankFile(src.path(), out.path() + "/data/bank.db"), SourceError);
    EXPECT_FALSE(QFile::exists(out.path() + "/data/bank.db"));
    EXPECT_FALSE(QFile::exists(out.path() + "/data/bank.db.part"));
}

TEST(BankBuilder, AnOldBankHoldingALearnersProgressIsKeptAsideWithItsLog) {
    QTemporaryDir src, out;
    {
        QFile f(src.path() + "/a.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kBase);
    }
    const QString bank = out.path() + "/data/QK730415.db";
    buildBankFile(src.path(), bank);
    // A rebuild of an untouched bank keeps nothing aside.
    buildBankFile(src.path(), bank);
    EXPECT_TRUE(QDir(out.path() + "/data").entryList({"*.progress-*"}).isEmpty());

    // An older program answered into this file and left its write-ahead log behind.
    Database old;
    old.open(bank);
    old.exec("PRAGMA journal_mode=WAL");
    old.exec("PRAGMA wal_autocheckpoint=0");
    old.exec("insert into tab_rz (A1, A2) values ('2026-12-01', 5)");
    ASSERT_TRUE(QFile::exists(bank + "-wal"));
    const QString kept =
        keepAsideIfItHoldsProgress(bank, QDateTime(QDate(2026, 12, 9), QTime(8, 0, 1)));
    old.close();
    EXPECT_EQ(kept, bank + ".progress-20261209-080001");
    buildBankFile(src.path(), bank);
    EXPECT_FALSE(QFile::exists(bank + "-wal"));

    Database keptDb;
    keptDb.openReadOnly(kept);
    EXPECT_EQ(keptDb.scalar("select A2 from tab_rz").toInt(), 5); // the log's rows came along
    Database fresh;
    fresh.openReadOnly(bank);
    EXPECT_EQ(fresh.scalar("select count(*) from tab_rz").toInt(), 0);
}
