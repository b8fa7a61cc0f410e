#pragma once

#include "store/data_module.h"

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
