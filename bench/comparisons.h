#pragma once

#include <string>
#include <vector>

namespace sdelka::bench {

// One line of the closing table: what is measured, the benchmark that is its baseline, the one
// that measures the program, and the largest ratio (program / baseline) that meets the target.
// A benchmark is named by its function and arguments as registered ("loadDayLists/20000"),
// whatever the run adds to the name it reports ("/iterations:300", "/min_time:2", ...).
struct Comparison {
    std::string what;
    std::string baseline;
    std::string program;
    double target;
    // Compared by this counter of the two benchmarks instead of their time, when given.
    std::string counter = {};
};

// Benchmark files add their lines at start-up.
std::vector<Comparison>& comparisons();

struct AddComparison {
    AddComparison(Comparison c) { comparisons().push_back(std::move(c)); }
};

} // namespace sdelka::bench
