#pragma once

#include "store/data_module.h"

#include <QApplication>
#include <benchmark/benchmark.h>

// What a benchmark over windows stands on: the data module over the 100k-question synthetic bank
// with the program's button pictures, installed as DM1, and every dialog answered at once. The
// main() of these benchmarks (window_bench_main.cpp) is a headless application.
struct WindowBench {
    WindowBench();
    ~WindowBench();
    WindowBench(const WindowBench&) = delete;
    WindowBench& operator=(const WindowBench&) = delete;

    static constexpr int kQuestions = 100000;
    TDM1 dm;
};

// Times leaving one question for the next in a window that presents questions: each round
// answers A or B by key and moves on, forward and back in turn, so that every leave records a
// changed answer.
template <class Window> void AnswerAndLeave(benchmark::State& state, Window& w) {
    int i = 0;
    for (auto _ : state) {
        w.FormKeyDown(i % 4 < 2 ? Qt::Key_A : Qt::Key_B);
        if (i % 2 == 0)
            w.epEfTrBtn2Click();
        else
            w.epEfTrBtn1Click();
        QApplication::processEvents();
        ++i;
    }
}
