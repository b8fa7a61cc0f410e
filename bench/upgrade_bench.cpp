// Merging new questions into the 100k-question bank: an upgrade file of 20,000 questions as the
// upgrade window merges it (checks, then the copy, recount and register in one transaction),
// the backup taken before it, and the start-up comparison with a delivered bank that brings
// nothing new.
#include "synthetic_bank.h"

#include "store/bank_upgrade.h"
#include "store/database.h"
#include "store/learner_bank.h"
#include "store/schema.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kBankQuestions = 100000;
constexpr int kUpgradeQuestions = 20000;

// The synthetic bank as a learner's bank of product "TW-BENCH".
QString learnerCopy(const QTemporaryDir& dir, const QString& name) {
    const QString bank = dir.filePath(name);
    QFile::remove(bank);
    QFile::copy(SyntheticBank::programFolder(kBankQuestions) + "data/QK730415.db", bank);
    Database db;
    db.open(bank);
    db.exec("insert into tab_sj (sjbs, cpbs) values ('TW-BASE', 'TW-BENCH')");
    db.close();
    // The copy is on the disk before a merge is timed, as a learner's bank is.
    ::sync();
    return bank;
}

// 20,000 new questions in the bank's sections, linked to its knowledge points.
QString upgradeFile(const QTemporaryDir& dir) {
    const QString file = dir.filePath("upgrade.db");
    if (QFile::exists(file))
        return file;
    Database db;
    db.open(file, true);
    Schema::create(db);
    db.dropTable("tab_key");
    Transaction tx(db);
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg936\\uc1 ";
    for (int i = 0; i < 200; ++i)
        rtf += "\\u39033?";
    rtf += "\\par}";
    Statement answ(db.handle(), "insert into tab_answ (A1, A2, A2_1, A10, A13, k3, k4, xx, f1, "
                                "E3, E4) values (:a, 'B', 4, :c, 11, :p1, :p2, :x, 0, 0, 0)");
    Statement exer(db.handle(), "insert into tab_exer (A1, A15, jx) values (:a, :r, :r)");
    for (int q = 0; q < kUpgradeQuestions; ++q) {
        const QString section = SyntheticBank::sectionCode(q % 200);
        const QString id = section + QStringLiteral("11%1").arg(9000 + q / 200);
        answ.reset();
        answ.bindAll({{"a", id},
                      {"c", section},
                      {"p1", SyntheticBank::pointId(q % 5000)},
                      {"p2", SyntheticBank::pointId((q * 11 + 7) % 5000)},
                      {"x", 1000 + q / 200}});
        answ.step();
        exer.reset();
        exer.bindAll({{"a", id}, {"r", rtf}});
        exer.step();
    }
    db.exec("insert into tab_sj (sjbs, cpbs) values ('TW-UP-BENCH', 'TW-BENCH')");
    tx.commit();
    db.exec("PRAGMA journal_mode=DELETE");
    return file;
}

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

// A fresh learner's bank, open as the program opens it.
std::unique_ptr<Database> openLearnerCopy() {
    auto bank = std::make_unique<Database>();
    bank->open(learnerCopy(workDir(), "merge.db"));
    bank->exec("PRAGMA journal_mode=WAL");
    return bank;
}

// The window's work after the learner's click, without its messages: the file opened and
// checked (quick_check included), then merged.
void BM_MergeUpgrade20kInto100k(benchmark::State& state) {
    const QString upgrade = upgradeFile(workDir());
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<Database> learner = openLearnerCopy();
        Database& bank = *learner;
        state.ResumeTiming();
        Database file;
        file.openReadOnly(upgrade);
        if (!BankUpgrade::isUpgradeFile(file))
            state.SkipWithError("not an upgrade file");
        const BankUpgrade::Mark mark = BankUpgrade::readMark(file);
        added = BankUpgrade::merge(bank, upgrade, BankUpgrade::Rows::All, mark).questions;
    }
    state.counters["questions"] = added;
}

// Only the merge: the copy, the recount and the register row in one transaction.
void BM_MergeOnly20kInto100k(benchmark::State& state) {
    const QString upgrade = upgradeFile(workDir());
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<Database> learner = openLearnerCopy();
        Database& bank = *learner;
        state.ResumeTiming();
        BankUpgrade::merge(bank, upgrade, BankUpgrade::Rows::All, {"TW-UP-BENCH", "TW-BENCH"});
    }
}

// The floor: the rows alone copied by one insert per table (every column, no checks, no
// recount), committed with the same durability.
void BM_BareCopy20kInto100k(benchmark::State& state) {
    const QString upgrade = upgradeFile(workDir());
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<Database> learner = openLearnerCopy();
        Database& bank = *learner;
        bank.exec("PRAGMA synchronous=FULL");
        bank.exec("PRAGMA cache_size=-131072");
        bank.attach(upgrade, "up");
        state.ResumeTiming();
        Transaction tx(bank);
        for (const char* table : {"tab_kmmc", "tab_exer", "tab_answ", "tab_rule", "tab_fgmc"})
            bank.exec(QStringLiteral("insert into main.%1 select * from up.%1").arg(table));
        tx.commit();
    }
}

// The backup the window takes first.
void BM_BackupOf100kBank(benchmark::State& state) {
    const QString bankFile = learnerCopy(workDir(), "backup.db");
    Database bank;
    bank.open(bankFile);
    const QString folder = workDir().filePath("backups");
    int n = 0;
    for (auto _ : state)
        LearnerBank::backup(bank, folder, QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(n++),
                            2);
}

// Every start compares the learner's bank with the delivered one; here it brings nothing new.
void BM_StartWithUnchangedTemplate100k(benchmark::State& state) {
    const QString bankFile = learnerCopy(workDir(), "learner.db");
    const QString templateFile = learnerCopy(workDir(), "template.db");
    Database bank;
    bank.open(bankFile);
    for (auto _ : state) {
        if (BankUpgrade::mergeTemplate(bank, templateFile, workDir().filePath("backups")).any())
            state.SkipWithError("merged something");
    }
}

} // namespace

BENCHMARK(BM_MergeUpgrade20kInto100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MergeOnly20kInto100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BareCopy20kInto100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BackupOf100kBank)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StartWithUnchangedTemplate100k)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
