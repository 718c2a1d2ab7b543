// Runs every benchmark, then prints one table: what was measured, the baseline, this program and
// their ratio, with the target each ratio must meet.
#include "bench_data.h"
#include "comparisons.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace sdelka::bench {

std::vector<Comparison>& comparisons() {
    static std::vector<Comparison> list;
    return list;
}

namespace {

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            seconds[run.benchmark_name()] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto& [name, value] : run.counters)
                counters[run.benchmark_name() + "/" + name] = value.value;
        }
    }
    std::map<std::string, double> seconds;
    std::map<std::string, double> counters;
};

std::string shown(double seconds) {
    char buf[64];
    if (seconds >= 1)
        std::snprintf(buf, sizeof buf, "%.2f s", seconds);
    else if (seconds >= 1e-3)
        std::snprintf(buf, sizeof buf, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(buf, sizeof buf, "%.1f us", seconds * 1e6);
    return buf;
}

} // namespace
} // namespace sdelka::bench

int main(int argc, char** argv) {
    using namespace sdelka::bench;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    releaseBenchDatabases();

    bool allMet = true;
    std::printf(
        "\n| measured | baseline | this program | ratio | target |\n|---|---|---|---|---|\n");
    for (const Comparison& c : comparisons()) {
        const bool byCounter = !c.counter.empty();
        const auto& values = byCounter ? reporter.counters : reporter.seconds;
        auto base = values.find(byCounter ? c.baseline + "/" + c.counter : c.baseline);
        auto prog = values.find(byCounter ? c.program + "/" + c.counter : c.program);
        if (base == values.end() || prog == values.end())
            continue;
        const double ratio = prog->second / base->second;
        const bool met = ratio <= c.target;
        allMet = allMet && met;
        auto text = [&](double v) {
            return byCounter ? std::to_string(int(v + 0.5)) + " " + c.counter : shown(v);
        };
        std::printf("| %s | %s | %s | %.3f | <= %.3f %s |\n", c.what.c_str(),
                    text(base->second).c_str(), text(prog->second).c_str(), ratio, c.target,
                    met ? "met" : "NOT MET");
    }
    return allMet ? 0 : 1;
}
