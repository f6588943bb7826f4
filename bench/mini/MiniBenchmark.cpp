// The runner of the small benchmark library: it grows the number of iterations as Google
// Benchmark does, until a run lasts the minimum time, and prints what the last run measured.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "benchmark/benchmark.h"

namespace benchmark {

namespace {

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::vector<std::unique_ptr<internal::Benchmark>>& Registered() {
    static std::vector<std::unique_ptr<internal::Benchmark>> benchmarks;
    return benchmarks;
}

const char* UnitName(TimeUnit unit) {
    switch (unit) {
        case kNanosecond:
            return "ns";
        case kMicrosecond:
            return "us";
        case kMillisecond:
            return "ms";
        case kSecond:
            return "s";
    }
    return "ns";
}

double PerUnit(TimeUnit unit) {
    switch (unit) {
        case kNanosecond:
            return 1e9;
        case kMicrosecond:
            return 1e6;
        case kMillisecond:
            return 1e3;
        case kSecond:
            return 1;
    }
    return 1e9;
}

/// A number as the library shows counters (30k, 1.5M) and byte rates (1024 based: 321Mi/s).
std::string Human(double value, const char* suffix, bool binary = false) {
    const char* decimal[] = {"", "k", "M", "G", "T"};
    const char* twos[] = {"", "Ki", "Mi", "Gi", "Ti"};
    const char** prefixes = binary ? twos : decimal;
    const double base = binary ? 1024 : 1000;
    int step = 0;
    while (std::fabs(value) >= base && step < 4) {
        value /= base;
        ++step;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.4g%s%s", value, prefixes[step], suffix);
    return text;
}

/// One run of a benchmark with a number of iterations.
struct Run {
    std::int64_t iterations;
    double seconds;
    std::string error;
    std::int64_t bytes;
    std::map<std::string, double> counters;
};

Run RunOnce(const internal::Benchmark& benchmark, std::vector<std::int64_t> ranges,
            std::int64_t iterations) {
    State state(iterations, std::move(ranges));
    benchmark.Run(state);
    return Run{state.iterations(), state.Seconds(), state.Error(), state.Bytes(), state.counters};
}

}  // namespace

State::Iterator State::begin() {
    started_ = true;
    running_ = true;
    since_ = Now();
    return Iterator(this);
}

bool State::KeepRunning() {
    if (left_ > 0 && error_.empty()) {
        return true;
    }
    if (running_) {
        seconds_ += static_cast<double>(Now() - since_) / 1e9;
        running_ = false;
    }
    return false;
}

void State::PauseTiming() {
    if (running_) {
        seconds_ += static_cast<double>(Now() - since_) / 1e9;
        running_ = false;
    }
}

void State::ResumeTiming() {
    if (started_ && !running_) {
        since_ = Now();
        running_ = true;
    }
}

void State::SkipWithError(const std::string& message) {
    if (error_.empty()) {
        error_ = message.empty() ? "skipped" : message;
    }
}

namespace internal {

Benchmark* Register(const char* name, void (*function)(State&)) {
    Registered().push_back(std::make_unique<Benchmark>(name, function));
    return Registered().back().get();
}

}  // namespace internal

int RunAll(int argc, char** argv) {
    std::string filter = ".";
    double minTime = 0.5;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--benchmark_filter=", 0) == 0) {
            filter = argument.substr(std::strlen("--benchmark_filter="));
        } else if (argument.rfind("--benchmark_min_time=", 0) == 0) {
            minTime = std::atof(argument.c_str() + std::strlen("--benchmark_min_time="));
        } else {
            std::fprintf(stderr, "unknown argument: %s\n", argument.c_str());
            return 1;
        }
    }
    const std::regex wanted(filter);
    std::printf("%-40s %15s %15s %12s\n", "Benchmark", "Time", "CPU", "Iterations");
    std::printf("%s\n", std::string(85, '-').c_str());
    for (const auto& benchmark : Registered()) {
        std::vector<std::vector<std::int64_t>> cases;
        for (const std::int64_t arg : benchmark->Args()) {
            cases.push_back({arg});
        }
        if (cases.empty()) {
            cases.push_back({});
        }
        for (const auto& ranges : cases) {
            std::string name = benchmark->Name();
            if (!ranges.empty()) {
                name += "/" + (benchmark->ArgName().empty() ? "" : benchmark->ArgName() + ":") +
                        std::to_string(ranges[0]);
            }
            if (!std::regex_search(name, wanted)) {
                continue;
            }
            // As the library does: from one iteration, grow by the time a run took until one
            // lasts the minimum time.
            Run run = RunOnce(*benchmark, ranges, 1);
            while (run.error.empty() && run.seconds < minTime && run.iterations < 1'000'000'000) {
                const double factor =
                    run.seconds <= minTime / 100 ? 100 : minTime * 1.4 / run.seconds;
                const auto next = static_cast<std::int64_t>(
                    std::ceil(static_cast<double>(run.iterations) * std::max(factor, 1.5)));
                run = RunOnce(*benchmark, ranges, next);
            }
            if (!run.error.empty()) {
                std::printf("%-40s ERROR OCCURRED: '%s'\n", name.c_str(), run.error.c_str());
                continue;
            }
            const double each = run.seconds /
                                static_cast<double>(std::max<std::int64_t>(run.iterations, 1)) *
                                PerUnit(benchmark->GetUnit());
            std::string extra;
            if (run.bytes > 0 && run.seconds > 0) {
                extra += " bytes_per_second=" +
                         Human(static_cast<double>(run.bytes) / run.seconds, "/s", true);
            }
            for (const auto& [counter, value] : run.counters) {
                extra += " " + counter + "=" + Human(value, "");
            }
            std::printf("%-40s %12.3g %-2s %12.3g %-2s %12lld%s\n", name.c_str(), each,
                        UnitName(benchmark->GetUnit()), each, UnitName(benchmark->GetUnit()),
                        static_cast<long long>(run.iterations), extra.c_str());
            std::fflush(stdout);
        }
    }
    return 0;
}

}  // namespace benchmark
