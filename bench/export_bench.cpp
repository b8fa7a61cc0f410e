// Exporting a kind-1 paper of 95 questions from the 100k-question synthetic bank: building the
// document (question texts, explanations and knowledge points read from the bank) and writing
// it as OpenDocument text. Starting the word processor is not part of it.
#include "window_bench.h"

#include "exam/paper.h"
#include "exam/paper_export.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include "platform/clock.h"

#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

void BM_ExportKind1Paper(benchmark::State& state) {
    WindowBench bench;
    TDM1& dm = bench.dm;
    App::PaperKind = 1;
    const Paper::Built b = Paper::BuildPaper(dm, 1, Clock::today(), Paper::TimeOfDayRandom());
    if (b.questions != 95)
        state.SkipWithError("not a 95-question paper");
    QTemporaryDir out;
    for (auto _ : state) {
        QTextDocument doc;
        PaperExport::BuildDocument(dm, b.table, b.title, 1, &doc);
        if (PaperExport::WriteOdt(doc, b.title, out.path()).isEmpty())
            state.SkipWithError("document not written");
    }
    Paper::DropPaper(dm, b.table);
}

} // namespace

BENCHMARK(BM_ExportKind1Paper)->Unit(benchmark::kMillisecond)->Iterations(20);
