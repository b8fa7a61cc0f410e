// Chapter practice over a synthetic bank: the set-up of a 500-question practice, leaving one
// question for the next (judging with all statistics, loading and laying out the next one), and
// showing the chapter browser.
#include "window_bench.h"

#include "practice/chapter_browser.h"
#include "practice/practice_window.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

const char* kSection = "410101"; // 500 of the 100k questions

// The chapter's question set as the browser would ask for it.
struct Session : WindowBench {
    Session() {
        App::PracticeQuerySql =
            QStringLiteral("select * from tab_answ where A10='%1' order by xx").arg(kSection);
    }
};

void BM_PracticeSetUp500(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        state.PauseTiming();
        // Answers of an earlier practice are left in the bank, as in real use.
        s.dm.ADOCn1.exec(
            QStringLiteral("update tab_answ set E2_1='B' where A10='%1' and xx<=50").arg(kSection));
        auto* w = new TFrmLxxt;
        state.ResumeTiming();
        if (!w->LoadQuestionSet())
            state.SkipWithError("empty practice");
        state.PauseTiming();
        delete w;
        state.ResumeTiming();
    }
}

void BM_LeaveQuestionForNext(benchmark::State& state) {
    Session s;
    TFrmLxxt w;
    if (!w.LoadQuestionSet()) {
        state.SkipWithError("empty practice");
        return;
    }
    w.show();
    QApplication::processEvents();
    AnswerAndLeave(state, w);
    w.hide();
}

void BM_ChapterBrowserShow(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        auto* b = new TFrmkmmc;
        b->show();
        QApplication::processEvents();
        state.PauseTiming();
        b->hide();
        delete b;
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_PracticeSetUp500)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_LeaveQuestionForNext)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ChapterBrowserShow)->Unit(benchmark::kMillisecond)->Iterations(20);
