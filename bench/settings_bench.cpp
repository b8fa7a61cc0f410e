// The settings window over the synthetic bank: from the command to the window on the screen,
// built, shown and painted, for the answer times (one editor per question type) and the music.
#include "window_bench.h"

#include "settings/config_window.h"
#include "store/app_state.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <benchmark/benchmark.h>

namespace {

void OpenSettings(benchmark::State& state, int mode) {
    WindowBench bench;
    App::PaperKind = 1;
    App::ConfigMode = mode;
    int editors = 0;
    for (auto _ : state) {
        auto* w = new TFrmConfig;
        w->show();
        QApplication::processEvents();
        editors = int(w->TimeEditors().size());
        state.PauseTiming();
        w->close(); // stores the times, as the learner's closing does
        delete w;
        state.ResumeTiming();
    }
    state.counters["editors"] = editors;
}

void BM_OpenAnswerTimeSettings(benchmark::State& state) {
    OpenSettings(state, 1);
}

void BM_OpenMusicSettings(benchmark::State& state) {
    OpenSettings(state, 0);
}

} // namespace

BENCHMARK(BM_OpenAnswerTimeSettings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenMusicSettings)->Unit(benchmark::kMillisecond);
