#include "Comparisons.h"

#include <QByteArray>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <unistd.h>
#include <vector>

namespace dorvanel::bench {

namespace {

struct SummaryRow {
    std::string name;
    std::string ours;
    std::string raw;
    std::string ratio;
    std::string target;
    std::string verdict;
};

std::vector<Comparison>& registered() {
    static std::vector<Comparison> comparisons;
    return comparisons;
}

std::string printed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool isThroughput(Figure figure) { return figure == Figure::MebibytesPerSecond; }

// The figure shown for one side, from its seconds per iteration.
double figureOf(const Comparison& comparison, double seconds) {
    switch (comparison.figure) {
    case Figure::Milliseconds: return seconds * 1e3;
    case Figure::MicrosecondsPerRow: return seconds * 1e6 / comparison.unitsPerIteration;
    case Figure::MebibytesPerSecond: return comparison.unitsPerIteration / (1024.0 * 1024.0) / seconds;
    }
    return 0;
}

std::string figureText(Figure figure, double value) {
    switch (figure) {
    case Figure::Milliseconds: return printed("%.1f ms", value);
    case Figure::MicrosecondsPerRow: return printed("%.3f us/row", value);
    case Figure::MebibytesPerSecond: return printed("%.1f MiB/s", value);
    }
    return {};
}

std::string targetText(const Comparison& comparison) {
    if (comparison.target == 0) return "-";
    return printed(isThroughput(comparison.figure) ? ">= %.2f" : "<= %.2f", comparison.target);
}

std::string verdictOf(const Comparison& comparison, double ratio) {
    if (comparison.target == 0) return "-";
    const bool met = isThroughput(comparison.figure) ? ratio >= comparison.target : ratio <= comparison.target;
    return met ? "met" : "MISSED";
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string oursName(const Comparison& comparison) { return comparison.name + "/ours"; }
std::string rawName(const Comparison& comparison) { return comparison.name + "/raw"; }

// Shows the runs as usual and keeps every repetition's seconds per iteration by benchmark.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal: a display reporter of one's own does not get the run's option.
    CollectingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
            seconds_[run.run_name.function_name].push_back(run.real_accumulated_time / double(run.iterations));
        }
    }

    std::optional<double> medianSeconds(const std::string& benchmarkName) const {
        const auto found = seconds_.find(benchmarkName);
        if (found == seconds_.end()) return std::nullopt;
        return median(found->second);
    }

private:
    std::map<std::string, std::vector<double>> seconds_;
};

void reportUnits(benchmark::State& state, Figure figure, double unitsPerIteration) {
    const auto units = static_cast<int64_t>(double(state.iterations()) * unitsPerIteration);
    if (figure == Figure::MebibytesPerSecond) state.SetBytesProcessed(units);
    if (figure == Figure::MicrosecondsPerRow) state.SetItemsProcessed(units);
}

void registerSide(const Comparison& comparison, const std::string& name, const Body& body) {
    benchmark::RegisterBenchmark(name.c_str(),
                                 [figure = comparison.figure, units = comparison.unitsPerIteration,
                                  body](benchmark::State& state) {
                                     try {
                                         body(state);
                                     } catch (const std::exception& failure) {
                                         state.SkipWithError(failure.what());
                                         return;
                                     }
                                     reportUnits(state, figure, units);
                                 })
        ->Iterations(comparison.iterations)
        ->Repetitions(comparison.repetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}

std::optional<SummaryRow> summaryOf(const Comparison& comparison, const CollectingReporter& reporter) {
    const auto ours = reporter.medianSeconds(oursName(comparison));
    const auto raw = reporter.medianSeconds(rawName(comparison));
    if (!ours || !raw) return std::nullopt;
    const double oursFigure = figureOf(comparison, *ours);
    const double rawFigure = figureOf(comparison, *raw);
    const double ratio = oursFigure / rawFigure;
    return SummaryRow{comparison.name,
                      figureText(comparison.figure, oursFigure),
                      figureText(comparison.figure, rawFigure),
                      printed("%.2f", ratio),
                      targetText(comparison),
                      verdictOf(comparison, ratio)};
}

void printTable(const std::vector<SummaryRow>& rows) {
    std::size_t nameWidth = 4;
    for (const SummaryRow& row : rows) nameWidth = std::max(nameWidth, row.name.size());
    const int width = int(nameWidth);
    std::printf("\nSummary (median of repetitions; ratio = ours / raw)\n");
    std::printf("%-*s  %16s  %16s  %6s  %8s  %s\n", width, "case", "ours", "raw", "ratio", "target", "result");
    for (const SummaryRow& row : rows)
        std::printf("%-*s  %16s  %16s  %6s  %8s  %s\n", width, row.name.c_str(), row.ours.c_str(), row.raw.c_str(),
                    row.ratio.c_str(), row.target.c_str(), row.verdict.c_str());
}

// Peak memory is not measured here, hence the two empty columns bench/run fills for its own rows.
void appendForRunScript(const std::vector<SummaryRow>& rows) {
    const QByteArray file = qgetenv("DORVANEL_BENCH_SUMMARY");
    if (file.isEmpty()) return;
    std::ofstream out(file.constData(), std::ios::app);
    for (const SummaryRow& row : rows)
        out << row.name << '\t' << row.ours << '\t' << row.raw << '\t' << row.ratio << '\t' << row.target << '\t'
            << row.verdict << "\t-\t-\n";
}

}  // namespace

void Register(Comparison comparison) {
    registerSide(comparison, oursName(comparison), comparison.ours);
    registerSide(comparison, rawName(comparison), comparison.raw);
    registered().push_back(std::move(comparison));
}

int RunComparisons(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RegisterComparisons();
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::vector<SummaryRow> rows;
    for (const Comparison& comparison : registered())
        if (auto row = summaryOf(comparison, reporter)) rows.push_back(*row);
    printTable(rows);
    appendForRunScript(rows);
    return 0;
}

}  // namespace dorvanel::bench
