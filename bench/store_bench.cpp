// Opening the bank and counting answers, over synthetic banks of 1k, 10k and 100k questions.
#include "synthetic_bank.h"

#include "store/app_state.h"
#include "store/data_module.h"

#include <QDate>

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

// The question set of a chapter practice on the bank's first section, as the practice window
// holds it, with today's log row made by a first answer; and the answer recorded for each: wrong,
// counted, the first of the day but not the question's first ever.
AnswerRecord wrongAnswer(int i);
Dataset* openPractice(TDM1& dm) {
    Dataset* list = dm.Cn1Query_tm;
    list->setSql("select * from tab_answ where A10=(select min(A10) from tab_answ) order by A1");
    list->open();
    dm.RecordAnswer(list, wrongAnswer(0));
    return list;
}
// Moves the practice to its next question, round and round.
void nextQuestion(Dataset* list, int i) {
    if (!list->setRecNo(i % list->recordCount() + 1))
        list->first();
}
AnswerRecord wrongAnswer(int i) {
    AnswerRecord a;
    a.counted = true;
    a.firstToday = a.wrong = 2;
    a.firstEver = a.prevWrong = 1;
    a.e2_1 = a.e2 = i % 2 ? "A" : "D";
    a.e1 = QDate::currentDate();
    a.e3 = i;
    a.e4 = -3;
    return a;
}

// One answer as the windows record it: TDM1::RecordAnswer on the practice's current row.
void BM_RecordAnswer(benchmark::State& state) {
    TDM1 dm(SyntheticBank::programFolder(int(state.range(0))));
    if (!dm.ConnectOk) {
        state.SkipWithError("bank did not open");
        return;
    }
    Dataset* list = openPractice(dm);
    int i = 1;
    for (auto _ : state) {
        nextQuestion(list, i);
        dm.RecordAnswer(list, wrongAnswer(i++));
    }
}

// The floor: the same writes as bare SQL, statements prepared once, in one transaction: the
// question's row, today's log row, four chapter levels, and the point, chapter and top-level
// counters raised for "answered" and "wrong".
void BM_RecordAnswerBareSql(benchmark::State& state) {
    TDM1 dm(SyntheticBank::programFolder(int(state.range(0))));
    if (!dm.ConnectOk) {
        state.SkipWithError("bank did not open");
        return;
    }
    Dataset* list = openPractice(dm);
    Database& db = dm.ADOCn1;
    sqlite3* h = db.handle();
    Statement begin(h, "BEGIN IMMEDIATE"), commit(h, "COMMIT");
    Statement answ(h, "update tab_answ set E2_1=:a, E2=:a, E1=:d, E3=:n, E4=-3 where A1=:id");
    Statement rz(h, "update tab_rz set A2=A2+1, A3=A3+1, B1=B1+1, B2=B2+1 where A1=:d");
    Statement km(h, "update tab_kmmc set D1=D1+1, D2=D2+1 where C1=:c");
    Statement rule(h, "update tab_rule set q2=coalesce(q2,0)+1 where ftid in (:p1,:p2)");
    Statement rule4(h, "update tab_rule set q4=coalesce(q4,0)+1 where ftid in (:p1,:p2)");
    Statement fg(h, "update tab_fgmc set q2=coalesce(q2,0)+1 where id in (:p1,:p2)");
    Statement fg4(h, "update tab_fgmc set q4=coalesce(q4,0)+1 where id in (:p1,:p2)");
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const auto run = [](Statement& st, const Params& p = {}) {
        st.reset();
        st.bindAll(p);
        while (st.step()) {
        }
    };
    int i = 1;
    for (auto _ : state) {
        nextQuestion(list, i);
        const QString id = list->text("A1"), chapter = list->text("A10");
        const QString p1 = list->text("k3"), p2 = list->text("k4");
        run(begin);
        run(answ, {{"a", i % 2 ? "A" : "D"}, {"d", today}, {"n", i}, {"id", id}});
        run(rz, {{"d", today}});
        for (int len : {1, 2, 4, 6})
            run(km, {{"c", chapter.left(len)}});
        for (Statement* st : {&rule, &rule4})
            run(*st, {{"p1", p1}, {"p2", p2}});
        for (Statement* st : {&fg, &fg4}) {
            run(*st, {{"p1", p1.left(6)}, {"p2", p2.left(6)}});
            run(*st, {{"p1", p1.left(2)}, {"p2", p2.left(2)}});
        }
        run(commit);
        ++i;
    }
}

} // namespace

BENCHMARK(BM_RecordAnswerBareSql)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RecordAnswer)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

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
