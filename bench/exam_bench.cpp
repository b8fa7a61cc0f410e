// Mock exams over the 100k-question synthetic bank: composing a kind-1 paper, opening the exam
// window on it up to question 1, leaving a question for the next (saving and counting the
// answer), grading, and showing the history with 500 stored papers.
#include "window_bench.h"

#include "exam/exam_history.h"
#include "exam/exam_window.h"
#include "exam/paper.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include "platform/clock.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

struct Session : WindowBench {
    Session() {
        App::PaperKind = 1;
        // Papers left by an earlier run are not part of the measurement.
        for (const QString& t : dm.ADOCn1.tableNames()) {
            if (Paper::IsPaperTableName(t))
                Paper::DropPaper(dm, t);
        }
        dm.ADOCn1.exec(QStringLiteral("delete from tab_cj"));
    }
    ~Session() { dm.ADOCn1.exec(QStringLiteral("delete from tab_cj")); }
    Paper::Built build() {
        return Paper::BuildPaper(dm, 1, Clock::today(), Paper::TimeOfDayRandom());
    }
};

void BM_ComposeKind1Paper(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        const Paper::Built b = s.build();
        state.PauseTiming();
        if (b.questions != 95)
            state.SkipWithError("not a 95-question paper");
        Paper::DropPaper(s.dm, b.table);
        state.ResumeTiming();
    }
}

void BM_OpenExamWindowToQuestion1(benchmark::State& state) {
    Session s;
    const Paper::Built b = s.build();
    for (auto _ : state) {
        auto* w = new TFrmExam;
        w->SetPaper(b.table, b.title, QStringLiteral("new"), 0, QStringLiteral("0:00:00"));
        if (!w->OpenPaper())
            state.SkipWithError("paper not opened");
        w->show();
        QApplication::processEvents();
        state.PauseTiming();
        if (w->currentRow() != 1)
            state.SkipWithError("question 1 not on show");
        w->hide();
        delete w;
        state.ResumeTiming();
    }
    Paper::DropPaper(s.dm, b.table);
}

void BM_NextQuestionSavingTheAnswer(benchmark::State& state) {
    Session s;
    const Paper::Built b = s.build();
    TFrmExam w;
    w.SetPaper(b.table, b.title, QStringLiteral("new"), 0, QStringLiteral("0:00:00"));
    w.OpenPaper();
    w.show();
    QApplication::processEvents();
    AnswerAndLeave(state, w);
    w.hide();
    Paper::DropPaper(s.dm, b.table);
}

void BM_GradePaper(benchmark::State& state) {
    Session s;
    const Paper::Built b = s.build();
    s.dm.ADOCn1.exec(QStringLiteral("update tab_plan set LeastMark=0"));
    s.dm.ADOCn1.exec(QStringLiteral("update ") + b.table + QStringLiteral(" set E2_1=A2"));
    for (auto _ : state) {
        state.PauseTiming();
        ExamSession session(s.dm);
        session.table = b.table;
        session.mode = QStringLiteral("old");
        session.open();
        state.ResumeTiming();
        session.grade(QStringLiteral("0:45:07"));
        if (session.score <= 0)
            state.SkipWithError("nothing scored");
    }
    Paper::DropPaper(s.dm, b.table);
}

void BM_HistoryWith500Papers(benchmark::State& state) {
    Session s;
    {
        Transaction tx(s.dm.ADOCn1);
        for (int n = 1; n <= 500; ++n)
            s.dm.ADOCn1.exec(QStringLiteral("insert into tab_cj (A1, A3, A3_1, D1, A6, D2) values "
                                            "(:a, :t, :n, '2026-12-01', :s, '1:20:00')"),
                             {{"a", QStringLiteral("tab_exam%1").arg(n)},
                              {"t", Paper::Title(QDate(2026, 12, 1), Paper::Kind(1).title, n)},
                              {"n", n},
                              {"s", 40 + n % 90}});
        tx.commit();
    }
    for (auto _ : state) {
        auto* w = new TFrmCheck;
        w->show();
        QApplication::processEvents();
        state.PauseTiming();
        w->hide();
        delete w;
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_ComposeKind1Paper)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_OpenExamWindowToQuestion1)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_NextQuestionSavingTheAnswer)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_GradePaper)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_HistoryWith500Papers)->Unit(benchmark::kMillisecond)->Iterations(20);
