#pragma once

// Pairs of benchmarks, the component's way against the raw SQLite C API's, run in the same
// process and summarised as ratios at the end.

#include <benchmark/benchmark.h>
#include <functional>
#include <string>

namespace dorvanel::bench {

// How a pair's figures are shown, and which way its ratio should lean.
enum class Figure {
    Milliseconds,        // time per run; the target is a largest ratio ours/raw
    MicrosecondsPerRow,  // time per row; the target is a largest ratio ours/raw
    MebibytesPerSecond,  // throughput; the target is a smallest ratio ours/raw
};

using Body = std::function<void(benchmark::State&)>;

struct Comparison {
    std::string name;
    Figure figure = Figure::Milliseconds;
    double unitsPerIteration = 1;  // rows or bytes, for the per-row and throughput figures
    double target = 0;             // 0: none
    int iterations = 1;
    int repetitions = 3;  // the summary takes the median
    Body ours;
    Body raw;
};

void Register(Comparison comparison);

// Defined by each benchmark program: registers its comparisons.
void RegisterComparisons();

// Runs what was registered (Google Benchmark's options apply) and prints the summary table.
// When DORVANEL_BENCH_SUMMARY names a file, the table's rows are appended to it, tab
// separated, for bench/run.
int RunComparisons(int argc, char** argv);

}  // namespace dorvanel::bench
