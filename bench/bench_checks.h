#pragma once

#include <benchmark/benchmark.h>

#include <exception>
#include <string>

namespace sdelka::bench {

// Runs a benchmark's body. An exception (a statement the server refused, a database that could
// not be made) stops that benchmark with its text instead of ending the program, so the table
// counts its line as failed and the others are still measured.
template <class Body> void guarded(benchmark::State& state, Body&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        if (!state.error_occurred())
            state.SkipWithError(e.what());
    }
}

// Stops the benchmark with the message when the work it measured went wrong; returns whether
// it went right. Inside the timed loop the caller breaks out of it on false.
inline bool verified(benchmark::State& state, bool ok, const std::string& message) {
    if (!ok && !state.error_occurred())
        state.SkipWithError(message.c_str());
    return ok;
}

} // namespace sdelka::bench
