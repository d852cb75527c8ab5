#pragma once
// The timing every benchmark program shares, the Windows ones and the native peer programs
// alike (C++14, as the peers build).

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

// Quoriel's readers and the peers are compared timed alike: rounds over all the files, one run
// of each file a round, so that a burst of other work on the machine falls on one run of a file
// and not on all of them.
constexpr int COMPARISON_ROUNDS = 7;
constexpr double COMPARISON_RUN_SECONDS = 0.1;
// Calibration doubles the repetitions until a run is at least this long.
constexpr double CALIBRATION_SECONDS = 0.05;

using BenchClock = std::chrono::steady_clock;

inline double SecondsSince(BenchClock::time_point from) {
    return std::chrono::duration<double>(BenchClock::now() - from).count();
}

template <typename Step>
double TimeRun(Step&& step, uint64_t repetitions) {
    const auto from = BenchClock::now();
    for (uint64_t i = 0; i < repetitions; ++i) {
        step();
    }
    return SecondsSince(from);
}

template <typename Step>
double RunRate(Step&& step, uint64_t repetitions) {
    return static_cast<double>(repetitions) / TimeRun(step, repetitions);
}

// Doubles the repetitions until a run is long enough to time, then scales them to a run of
// runSeconds; at least 1.
template <typename Step>
uint64_t CalibrateRepetitions(Step&& step, double runSeconds) {
    uint64_t repetitions = 1;
    double seconds = TimeRun(step, repetitions);
    while (seconds < CALIBRATION_SECONDS) {
        repetitions *= 2;
        seconds = TimeRun(step, repetitions);
    }
    const double scaled = static_cast<double>(repetitions) * runSeconds / seconds;
    return std::max<uint64_t>(1, static_cast<uint64_t>(scaled));
}

// Calls step for about seconds before anything is timed: Wine starts its own services beside
// the first program of a session, and they would slow the first runs down.
template <typename Step>
void WarmUp(Step&& step, double seconds) {
    const auto from = BenchClock::now();
    do {
        step();
    } while (SecondsSince(from) < seconds);
}

// A set of rates (or times) by its median, the upper one of an even set, and its range.
struct Spread {
    double median = 0;
    double lowest = 0;
    double highest = 0;
};

inline Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) {
        return Spread{};
    }
    std::sort(values.begin(), values.end());
    return Spread{values[values.size() / 2], values.front(), values.back()};
}
