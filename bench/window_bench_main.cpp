// The main() of the benchmarks over windows: a headless application around Google Benchmark.
#include "window_bench.h"

#include "synthetic_bank.h"

#include "platform/dialogs.h"

#include <QApplication>
#include <benchmark/benchmark.h>

WindowBench::WindowBench() : dm(SyntheticBank::programFolderWithPictures(kQuestions)) {
    DM1 = &dm;
    Dialogs::setResponder([](const Dialogs::Request&) { return 1; });
}

WindowBench::~WindowBench() {
    Dialogs::setResponder({});
    DM1 = nullptr;
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
