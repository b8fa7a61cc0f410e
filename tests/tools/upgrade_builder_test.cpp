// Upgrade files: new rows for a bank, checked against the bank they are meant for.
#include "richtext/rtf_codec.h"
#include "store/bank_upgrade.h"
#include "store/database.h"
#include "store/schema.h"
#include <bank_source.h>
#include <bank_writer.h>

#include "small_bank_source.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Added to the small bank: a case type, a case with one question and two questions of 410101,
// so that the bank's section 410101 ends at xx 3.
const char* const kBankExtra = R"(
@type
kind: 1
code: 22
name: 案例分析题
count: 0
points: 20
minutes: 30
@case
id: 41010122CASE0001
text: |
  案例背景
@question
id: 41010122CASE0001-1
chapter: 410101
type: 22
key: 1
points: A441010001
text: |
  问题一
explanation: |
  参考答案
@question
id: 410101110001
chapter: 410101
type: 11
options: 4
key: B
points: A441010001
text: |
  题干一
explanation: |
  解析一
@question
id: 410101110002
chapter: 410101
type: 11
options: 4
key: C
text: |
  题干二
explanation: |
  解析二
)";

// A new section under the bank's 4101, a new catalogue chapter under the bank's A4 with a point,
// a new point of the bank's catalogue chapter A44101, two questions for the bank's section (one
// of them of the bank's case) and two for the new section.
#define UPGRADE_HEAD "@upgrade\nsjbs: X2\ncpbs: Y\n"

const char* const kUpgradeRows = R"(@chapter
code: 410102
name: 第二节
heading: 第二节
order: 5
@catalogue
id: A44102
order: 3
name: 第二章
@point
id: A441020001
heading: 现金流量
text: |
  现金流量是……
@point
id: A441010002
heading: 内部收益率
text: |
  内部收益率是……
@question
id: 410101110003
chapter: 410101
type: 11
options: 4
key: A
points: A441010001
text: |
  新题干
explanation: |
  新解析
@question
id: 41010122CASE0001-2
chapter: 410101
type: 22
key: 1
points: A441010002
text: |
  问题二
explanation: |
  参考答案二
@question
id: 410102110001
chapter: 410102
type: 11
options: 4
key: D
points: A441020001
text: |
  题干
explanation: |
  解析
@question
id: 410102140001
chapter: 410102
type: 14
options: 5
key: BD
points: A441020001, A441010002
text: |
  题干
explanation: |
  解析
)";

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

std::string text(Database& db, const QString& sql) {
    return db.scalar(sql).toString().toStdString();
}

QByteArray fileHash(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// The small bank, built once from its source; every test checks that it is never written.
class UpgradeBuilder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bankDir = new QTemporaryDir;
        writeFile(bankDir->path() + "/src/bank.txt",
                  QByteArray(kSmallBankSource) + QByteArray(kBankExtra));
        bankFile = bankDir->path() + "/data/bank.db";
        buildBankFile(bankDir->path() + "/src", bankFile);
        bankHash = fileHash(bankFile);
    }
    static void TearDownTestSuite() {
        delete bankDir;
        bankDir = nullptr;
    }
    void TearDown() override {
        EXPECT_FALSE(bankHash.isEmpty());
        EXPECT_EQ(fileHash(bankFile), bankHash) << "the bank was written";
    }

    // Builds an upgrade from source (the file u.txt); answers the error text, empty on success.
    QString buildUpgrade(const QString& source) {
        writeFile(work.path() + "/src/u.txt", source.toUtf8());
        try {
            buildUpgradeFile(bankFile, work.path() + "/src", upgradeFile());
            return {};
        } catch (const SourceError& e) {
            return QString::fromUtf8(e.what());
        }
    }
    QString upgradeFile() const { return work.path() + "/out/upgrade.db"; }

    QTemporaryDir work;
    static QTemporaryDir* bankDir;
    static QString bankFile;
    static QByteArray bankHash;
};

QTemporaryDir* UpgradeBuilder::bankDir = nullptr;
QString UpgradeBuilder::bankFile;
QByteArray UpgradeBuilder::bankHash;

struct Refusal {
    const char* source;  // the whole upgrade source
    const char* message; // what the error text contains
    bool placed;         // the text names u.txt and a line
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.message;
}

class UpgradeBuilderRefuses : public UpgradeBuilder,
                              public ::testing::WithParamInterface<Refusal> {};

#define QUESTION(id, chapter, type, extra)                                                         \
    "@question\nid: " id "\nchapter: " chapter "\ntype: " type "\n" extra                          \
    "text: |\n  t\nexplanation: |\n  e\n"

} // namespace

TEST_F(UpgradeBuilder, HoldsTheBankTablesButTheLockAndOnlyTheNewRows) {
    const QString error = buildUpgrade(QString::fromUtf8(UPGRADE_HEAD) + kUpgradeRows);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_FALSE(QFile::exists(upgradeFile() + ".part"));

    Database schema;
    schema.open(work.path() + "/schema.db", true);
    Schema::create(schema);
    QStringList expected = schema.tableNames();
    expected.removeAll("tab_key");
    Database up;
    up.openReadOnly(upgradeFile());
    QStringList tables = up.tableNames();
    tables.sort();
    expected.sort();
    EXPECT_EQ(tables.join(' ').toStdString(), expected.join(' ').toStdString());
    EXPECT_FALSE(up.hasTable("tab_key"));
    EXPECT_EQ(text(up, "PRAGMA journal_mode"), "delete");
    EXPECT_EQ(up.scalar("PRAGMA freelist_count").toInt(), 0); // vacuumed

    EXPECT_EQ(up.scalar("select count(*) from tab_sj").toInt(), 1);
    EXPECT_EQ(text(up, "select sjbs || '/' || cpbs from tab_sj"), "X2/Y");
    for (const char* empty : {"tab_plan", "tab_tx1", "tab_tx2", "tab_tx3", "tab_tx4", "tab_tx5",
                              "tab_title", "tab_cj", "tab_rz"})
        EXPECT_EQ(up.scalar(QString("select count(*) from %1").arg(empty)).toInt(), 0) << empty;
    // Rows of the bank that the upgrade refers to do not come along.
    EXPECT_EQ(text(up, "select group_concat(C1) from tab_kmmc"), "410102");
    EXPECT_EQ(text(up, "select group_concat(id) from tab_fgmc"), "A44102");
    EXPECT_EQ(up.scalar("select count(*) from tab_rule").toInt(), 2);
    EXPECT_EQ(up.scalar("select count(*) from tab_answ").toInt(), 4);
    EXPECT_EQ(up.scalar("select count(*) from tab_exer").toInt(), 4);
    EXPECT_EQ(Rtf::toPlainText(
                  up.scalar("select A15 from tab_exer where A1='410101110003'").toByteArray())
                  .toStdString(),
              "新题干");
    EXPECT_EQ(text(up, "select k4 from tab_answ where A1='410102140001'"), "A441010002");
}

TEST_F(UpgradeBuilder, CountsTheUpgradesQuestionsAndContinuesEachChaptersOrder) {
    const QString error = buildUpgrade(QString::fromUtf8(UPGRADE_HEAD) + kUpgradeRows);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    Database up;
    up.openReadOnly(upgradeFile());
    EXPECT_EQ(up.scalar("select C3 from tab_kmmc where C1='410102'").toInt(), 2);
    EXPECT_EQ(up.scalar("select q from tab_rule where ftid='A441020001'").toInt(), 2);
    EXPECT_EQ(up.scalar("select q from tab_rule where ftid='A441010002'").toInt(), 2);
    EXPECT_EQ(text(up, "select id from tab_rule where ftid='A441010002'"), "A44101");
    EXPECT_EQ(up.scalar("select q from tab_fgmc where id='A44102'").toInt(), 2);
    EXPECT_EQ(up.scalar("select count(*) from tab_kmmc where C4<>0 or D1<>0 or D2<>0").toInt(), 0);
    EXPECT_EQ(up.scalar("select count(*) from tab_rule where q1<>0 or q2<>0 or q4<>0").toInt(), 0);
    EXPECT_EQ(up.scalar("select count(*) from tab_answ where E3<>0 or E4<>0 or f1<>0 or "
                        "ecount<>0 or E2 is not null")
                  .toInt(),
              0);
    // The bank's 410101 ends at 3; the new section starts at 1.
    EXPECT_EQ(text(up, "select group_concat(A1 || '=' || xx, ' ') from (select A1, xx from "
                       "tab_answ order by A1)"),
              "410101110003=4 41010122CASE0001-2=5 410102110001=1 410102140001=2");
}

TEST_F(UpgradeBuilder, NamesTheLineOfAnIdTheBankAlreadyHas) {
    const QString error =
        buildUpgrade(UPGRADE_HEAD "\n@question\nid: 410101110002\nchapter: 410101\n"
                                  "type: 11\noptions: 4\nkey: A\ntext: |\n  t\n"
                                  "explanation: |\n  e\n");
    EXPECT_TRUE(error.startsWith("u.txt:6: ")) << error.toStdString();
    EXPECT_TRUE(error.contains("'410101110002' is already in the bank")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(upgradeFile()));
}

TEST_P(UpgradeBuilderRefuses, NamesTheFaultAndWritesNothing) {
    const QString error = buildUpgrade(QString::fromUtf8(GetParam().source));
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().message))) << error.toStdString();
    EXPECT_EQ(error.startsWith("u.txt:"), GetParam().placed) << error.toStdString();
    EXPECT_FALSE(QFile::exists(upgradeFile()));
    EXPECT_FALSE(QFile::exists(upgradeFile() + ".part"));
}

INSTANTIATE_TEST_SUITE_P(
    AlreadyInTheBank, UpgradeBuilderRefuses,
    ::testing::Values(Refusal{UPGRADE_HEAD "@chapter\ncode: 4101\nname: x\nheading: x\norder: 9\n",
                              "@chapter '4101' is already in the bank", true},
                      Refusal{UPGRADE_HEAD "@catalogue\nid: A44101\norder: 9\nname: x\n",
                              "@catalogue 'A44101' is already in the bank", true},
                      Refusal{UPGRADE_HEAD "@point\nid: A441010001\nheading: x\ntext: |\n  x\n",
                              "@point 'A441010001' is already in the bank", true},
                      Refusal{UPGRADE_HEAD "@case\nid: 41010122CASE0001\ntext: |\n  x\n",
                              "@case '41010122CASE0001' is already in the bank", true},
                      // Ids compare without regard to case, as in the bank.
                      Refusal{
                          UPGRADE_HEAD QUESTION("41010122case0001-1", "410101", "22", "key: 1\n"),
                          "'41010122case0001-1' is already in the bank", true}));

INSTANTIATE_TEST_SUITE_P(
    ReferencesToNothing, UpgradeBuilderRefuses,
    ::testing::Values(
        Refusal{UPGRADE_HEAD QUESTION("410199110001", "410199", "11", "options: 4\nkey: A\n"),
                "'410199' is not a 6-character chapter", true},
        Refusal{UPGRADE_HEAD "@chapter\ncode: 419901\nname: x\nheading: x\norder: 9\n",
                "parent node '4199' does not exist", true},
        Refusal{UPGRADE_HEAD "@catalogue\nid: A54101\norder: 9\nname: x\n",
                "catalogue entry 'A5' does not exist", true},
        Refusal{UPGRADE_HEAD "@point\nid: A441990001\nheading: x\ntext: |\n  x\n",
                "catalogue chapter 'A44199' does not exist", true},
        Refusal{UPGRADE_HEAD QUESTION("410101110009", "410101", "11",
                                      "options: 4\nkey: A\npoints: A441019999\n"),
                "knowledge point 'A441019999' does not exist", true},
        Refusal{UPGRADE_HEAD QUESTION("41010122CASE0009-1", "410101", "22", "key: 1\n"),
                "case '41010122CASE0009' does not exist", true},
        Refusal{UPGRADE_HEAD QUESTION("410101610001", "410101", "61", "options: 4\nkey: A\n"),
                "question type 61 does not exist", true},
        // The bank's own checks apply as they stand.
        Refusal{UPGRADE_HEAD QUESTION("410101110009", "410101", "11", "options: 4\nkey: E\n"),
                "key letter 'E'", true}));

INSTANTIATE_TEST_SUITE_P(
    NotAnUpgrade, UpgradeBuilderRefuses,
    ::testing::Values(
        Refusal{UPGRADE_HEAD "@plan\nmark: 0\namount: 50\nminutes: 60\nexamdate: 2027-04-10\n"
                             "leastmark: 65\nexamminutes: 150\n",
                "@plan belongs to the bank", true},
        Refusal{UPGRADE_HEAD "@type\nkind: 1\ncode: 61\nname: x\ncount: 1\npoints: 1\nminutes: 1\n",
                "@type belongs to the bank", true},
        Refusal{"@upgrade\nsjbs: X2\ncpbs: Z\n" QUESTION("410101110009", "410101", "11",
                                                         "options: 4\nkey: A\n"),
                "the bank is of product 'Y', not 'Z'", true},
        Refusal{"@upgrade\nsjbs: x\ncpbs: Y\n" QUESTION("410101110009", "410101", "11",
                                                        "options: 4\nkey: A\n"),
                "upgrade 'x' is already in the bank", true},
        Refusal{QUESTION("410101110009", "410101", "11", "options: 4\nkey: A\n"),
                "the source has no @upgrade", false},
        Refusal{UPGRADE_HEAD "@upgrade\nsjbs: X3\ncpbs: Y\n" QUESTION("410101110009", "410101",
                                                                      "11", "options: 4\nkey: A\n"),
                "an upgrade has one @upgrade", true},
        Refusal{UPGRADE_HEAD, "brings no rows", false}));

TEST_F(UpgradeBuilder, NeverReplacesTheBankNorTakesAFileThatIsNoBank) {
    writeFile(work.path() + "/src/u.txt", QByteArray(UPGRADE_HEAD) + kUpgradeRows);
    EXPECT_THROW(buildUpgradeFile(bankFile, work.path() + "/src", bankFile), SourceError);
    EXPECT_THROW(
        buildUpgradeFile(bankFile, work.path() + "/src", bankDir->path() + "/data/../data/bank.db"),
        SourceError);

    writeFile(work.path() + "/notabank.db", "plain text, not a database");
    EXPECT_THROW(
        buildUpgradeFile(work.path() + "/notabank.db", work.path() + "/src", upgradeFile()),
        SourceError);
    Database other;
    other.open(work.path() + "/other.db", true);
    other.exec("create table t (a)");
    other.close();
    EXPECT_THROW(buildUpgradeFile(work.path() + "/other.db", work.path() + "/src", upgradeFile()),
                 SourceError);
    EXPECT_THROW(buildUpgradeFile(work.path() + "/missing.db", work.path() + "/src", upgradeFile()),
                 SourceError);
    EXPECT_FALSE(QFile::exists(upgradeFile()));
    EXPECT_FALSE(QFile::exists(work.path() + "/missing.db"));
}

// The example upgrade beside the tests is built for the delivered bank and merges into it (as the
// program merges it) without a clash, continuing each section's order.
TEST(ExampleUpgrade, BuildsForTheDeliveredBankAndMergesIntoIt) {
    QTemporaryDir dir;
    const QString bank = dir.path() + "/QK730415.db";
    const QString upgrade = dir.path() + "/upgrade.db";
    buildBankFile(QStringLiteral(TARNWICK_BANK_SOURCE_DIR), bank);
    const QByteArray hash = fileHash(bank);
    try {
        buildUpgradeFile(bank, QStringLiteral(TARNWICK_UPGRADE_SOURCE_DIR), upgrade);
    } catch (const SourceError& e) {
        FAIL() << e.what();
    }
    EXPECT_EQ(fileHash(bank), hash);

    Database up;
    up.openReadOnly(upgrade);
    EXPECT_EQ(text(up, "select sjbs || '/' || cpbs from tab_sj"), "TW-2027-02/TW-ZXS-2027");
    EXPECT_EQ(up.scalar("select count(*) from tab_answ").toInt(), 7);
    EXPECT_EQ(up.scalar("select count(*) from tab_answ where A10='430103'").toInt(), 5);
    EXPECT_EQ(up.scalar("select count(*) from tab_exer").toInt(), 7);
    EXPECT_EQ(text(up, "select group_concat(C1 || ':' || C3) from tab_kmmc"), "530204:2");
    EXPECT_EQ(up.scalar("select count(*) from tab_rule where q>0").toInt(), 1);
    EXPECT_EQ(up.scalar("select count(*) from tab_answ where k3 is null").toInt(), 0);

    Database merged;
    merged.open(bank);
    const qint64 lastXx =
        merged.scalar("select max(xx) from tab_answ where A10='430103'").toLongLong();
    EXPECT_EQ(text(up, "select min(xx) || '-' || max(xx) from tab_answ where A10='430103'"),
              QString("%1-%2").arg(lastXx + 1).arg(lastXx + 5).toStdString());
    up.close();
    const BankUpgrade::Added added =
        BankUpgrade::merge(merged, upgrade, BankUpgrade::Rows::All, {"TW-2027-02", "TW-ZXS-2027"});
    EXPECT_EQ(added.questions, 7);
    EXPECT_EQ(added.chapters, 1);
    EXPECT_EQ(merged.scalar("select C3 from tab_kmmc where C1='530204'").toInt(), 2);
    // The questions are of the two subjects' exam types, as the bank's own.
    EXPECT_EQ(merged
                  .scalar("select count(*) from tab_answ where A13 not in (select A1 from "
                          "tab_tx1 union select A1 from tab_tx2)")
                  .toInt(),
              0);
    // Each section lists its questions in one unbroken order.
    EXPECT_EQ(merged
                  .scalar("select count(*) from (select A10 from tab_answ group by A10 having "
                          "count(distinct xx)<>count(*) or max(xx)<>count(*))")
                  .toInt(),
              0);
}
