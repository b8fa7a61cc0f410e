// Opening the bank and counting answers, over synthetic banks of 1k, 10k and 100k questions.
#include "synthetic_bank.h"

#include "store/app_state.h"
#include "store/data_module.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

// What the program does between its start and the menu: the data module connects (file, bank
// tables, password) and the main form loads the answer-time table.
void BM_OpenBankAndLoadAnswerTimes(benchmark::State& state) {
    const QString folder = SyntheticBank::programFolder(int(state.range(0)));
    for (auto _ : state) {
        TDM1 dm(folder);
        if (!dm.ConnectOk)
            state.SkipWithError("bank did not open");
        dm.Cn1Query1->close();
        dm.Cn1Query1->setSql("select * from tab_tx1");
        dm.Cn1Query1->open();
        App::TypeTimes.clear();
        App::TypeCodes.clear();
        for (; !dm.Cn1Query1->eof(); dm.Cn1Query1->next()) {
            App::TypeTimes << int(dm.Cn1Query1->real("time") * 600);
            App::TypeCodes << int(dm.Cn1Query1->whole("A1"));
        }
        benchmark::DoNotOptimize(App::TypeTimes.size());
    }
}

// One counted answer: today's log, the chapter and its ancestors, two knowledge points. Every
// third answer is wrong, every fifth the question's first.
void recordAnswer(TDM1& dm, int i) {
    const int wrong = i % 3 == 0 ? 2 : 1;
    dm.RecordAnswerInLog(i == 0 ? 2 : 1, wrong, 1);
    dm.RecordAnswerInChapters("410101", i % 5 == 0 ? 2 : 1, wrong);
    dm.RecordAnswerInRules("('A400010001','A400020003')", "('A40001','A40002')", "('A4','A4')", 1,
                           wrong);
}

// Counts answers, each either as the three operations alone or inside one transaction, as the
// practice and exam windows count them.
void recordAnswers(benchmark::State& state, bool inTransaction) {
    TDM1 dm(SyntheticBank::programFolder(int(state.range(0))));
    if (!dm.ConnectOk) {
        state.SkipWithError("bank did not open");
        return;
    }
    int i = 0;
    for (auto _ : state) {
        if (inTransaction) {
            Transaction tx(dm.ADOCn1);
            recordAnswer(dm, i++);
            tx.commit();
        } else {
            recordAnswer(dm, i++);
        }
    }
}

void BM_RecordOneAnswer(benchmark::State& state) {
    recordAnswers(state, false);
}
void BM_RecordOneAnswerInOneTransaction(benchmark::State& state) {
    recordAnswers(state, true);
}

} // namespace

BENCHMARK(BM_OpenBankAndLoadAnswerTimes)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RecordOneAnswer)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_RecordOneAnswerInOneTransaction)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
