// Runs every benchmark, then prints one table: what was measured, the baseline, this program and
// their ratio, with the target each ratio must meet. A line whose baseline or program was not
// measured, or stopped with an error, misses its target, and so does a run that measured nothing.
#include "bench_data.h"
#include "comparisons.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>

namespace sdelka::bench {

std::vector<Comparison>& comparisons() {
    static std::vector<Comparison> list;
    return list;
}

namespace {

// The name a line of the table gives a benchmark: its function (or the name it was registered
// under) and its arguments, without what the run adds (iterations, minimum time, repetitions,
// time type, threads).
std::string baseName(const benchmark::BenchmarkReporter::Run& run) {
    const benchmark::BenchmarkName& name = run.run_name;
    return name.args.empty() ? name.function_name : name.function_name + "/" + name.args;
}

// What one benchmark gave: its time per iteration and its counters, or the error it stopped
// with. With repetitions the median counts.
struct Measured {
    std::optional<double> seconds;
    std::map<std::string, double> counters;
    bool fromMedian = false;
    std::string error;
};

// A message as one cell of the table: its lines joined, no column bar.
std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == '\t') {
            if (!line.empty() && line.back() != ' ')
                line += ' ';
        } else {
            line += c == '|' ? '/' : c;
        }
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            collect(run);
    }

    // The benchmark of that name, or nothing when it was not run.
    const Measured* find(const std::string& name) const {
        auto it = measured_.find(name);
        return it == measured_.end() ? nullptr : &it->second;
    }
    bool anyMeasured() const {
        for (const auto& [name, m] : measured_) {
            if (m.error.empty() && m.seconds)
                return true;
        }
        return false;
    }

private:
    void collect(const Run& run) {
        const std::string name = baseName(run);
        Measured& m = measured_[name];
        // Two benchmarks reported under one name (a time type or thread count apart) could not
        // be told apart by a line of the table.
        const auto instance = std::make_pair(run.family_index, run.per_family_instance_index);
        auto [known, added] = instances_.emplace(name, instance);
        if (!added && known->second != instance) {
            m.error = "two benchmarks are reported as " + name;
            return;
        }
        if (run.error_occurred) {
            m.error =
                run.error_message.empty() ? std::string("failed") : oneLine(run.error_message);
            return;
        }
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median)
            return;
        if (m.fromMedian && !median)
            return;
        m.fromMedian = median;
        m.seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        for (const auto& [counter, value] : run.counters)
            m.counters[counter] = value.value;
    }

    std::map<std::string, Measured> measured_;
    std::map<std::string, std::pair<int64_t, int64_t>> instances_;
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

// One side of a line: its value, or why there is none.
struct Side {
    std::optional<double> value;
    std::string text;
};

Side sideOf(const CollectingReporter& reporter, const std::string& name, const Comparison& c) {
    const Measured* m = reporter.find(name);
    if (!m)
        return {std::nullopt, "missing (" + name + " not run)"};
    if (!m->error.empty())
        return {std::nullopt, "error (" + name + ": " + m->error + ")"};
    if (c.counter.empty()) {
        if (!m->seconds)
            return {std::nullopt, "missing (" + name + " has no time)"};
        return {m->seconds, shown(*m->seconds)};
    }
    auto it = m->counters.find(c.counter);
    if (it == m->counters.end())
        return {std::nullopt, "missing (" + name + " has no counter \"" + c.counter + "\")"};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0f", it->second);
    return {it->second, buf + std::string(" ") + c.counter};
}

} // namespace
} // namespace sdelka::bench

int main(int argc, char** argv) {
    using namespace sdelka::bench;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    releaseBenchDatabases();

    bool allMet = true;
    std::printf(
        "\n| measured | baseline | this program | ratio | target |\n|---|---|---|---|---|\n");
    for (const Comparison& c : comparisons()) {
        const Side base = sideOf(reporter, c.baseline, c);
        const Side prog = sideOf(reporter, c.program, c);
        std::string ratioText = "-";
        bool met = false;
        if (base.value && prog.value) {
            const double ratio = *prog.value / *base.value;
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.3f", ratio);
            ratioText = buf;
            met = std::isfinite(ratio) && ratio <= c.target;
        }
        allMet = allMet && met;
        std::printf("| %s | %s | %s | %s | <= %.3f %s |\n", c.what.c_str(), base.text.c_str(),
                    prog.text.c_str(), ratioText.c_str(), c.target, met ? "met" : "NOT MET");
    }
    std::fflush(stdout);
    if (!reporter.anyMeasured()) {
        std::fprintf(stderr, "No benchmark was measured: nothing to compare.\n");
        return 1;
    }
    return allMet ? 0 : 1;
}
