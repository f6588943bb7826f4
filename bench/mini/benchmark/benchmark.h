#pragma once

// The part of Google Benchmark's interface that Velk's benchmarks use, for systems where the
// library is not at hand (Debian builds it for Linux only, not for MinGW-w64). The names and
// the meaning are the library's; what it measures is simpler: wall-clock time alone (CPU time
// is shown as the same), iterations grown until a run lasts the minimum time, one line per
// benchmark in the library's console layout.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace benchmark {

enum TimeUnit { kNanosecond, kMicrosecond, kMillisecond, kSecond };

class State {
public:
    struct __attribute__((unused)) Value {};
    class Iterator {
    public:
        explicit Iterator(State* state) : state_(state) {}
        Value operator*() const { return {}; }
        Iterator& operator++() {
            --state_->left_;
            return *this;
        }
        bool operator!=(const Iterator&) const { return state_->KeepRunning(); }

    private:
        State* state_;
    };

    State(std::int64_t iterations, std::vector<std::int64_t> ranges)
        : iterations_(iterations), left_(iterations), ranges_(std::move(ranges)) {}

    Iterator begin();
    Iterator end() { return Iterator(this); }

    void PauseTiming();
    void ResumeTiming();
    void SkipWithError(const std::string& message);
    void SetBytesProcessed(std::int64_t bytes) { bytes_ = bytes; }
    std::int64_t iterations() const { return iterations_ - (left_ > 0 ? left_ : 0); }
    std::int64_t range(std::size_t index = 0) const { return ranges_.at(index); }

    std::map<std::string, double> counters;

    // For the runner.
    double Seconds() const { return seconds_; }
    const std::string& Error() const { return error_; }
    std::int64_t Bytes() const { return bytes_; }

private:
    bool KeepRunning();

    std::int64_t iterations_;
    std::int64_t left_;
    std::vector<std::int64_t> ranges_;
    bool started_ = false;
    bool running_ = false;
    std::int64_t since_ = 0;
    double seconds_ = 0;
    std::int64_t bytes_ = 0;
    std::string error_;
};

namespace internal {

class Benchmark {
public:
    Benchmark(std::string name, void (*function)(State&))
        : name_(std::move(name)), function_(function) {}
    Benchmark* Arg(std::int64_t value) {
        args_.push_back(value);
        return this;
    }
    Benchmark* ArgName(std::string name) {
        argName_ = std::move(name);
        return this;
    }
    Benchmark* Unit(TimeUnit unit) {
        unit_ = unit;
        return this;
    }
    Benchmark* UseRealTime() { return this; }

    const std::string& Name() const { return name_; }
    const std::string& ArgName() const { return argName_; }
    const std::vector<std::int64_t>& Args() const { return args_; }
    TimeUnit GetUnit() const { return unit_; }
    void Run(State& state) const { function_(state); }

private:
    std::string name_;
    void (*function_)(State&);
    std::vector<std::int64_t> args_;
    std::string argName_;
    TimeUnit unit_ = kNanosecond;
};

Benchmark* Register(const char* name, void (*function)(State&));

}  // namespace internal

/// Runs every benchmark whose name matches --benchmark_filter; --benchmark_min_time=SECONDS
/// (0.5 by default) is how long a measured run lasts at least.
int RunAll(int argc, char** argv);

template <typename T>
inline void DoNotOptimize(T&& value) {
    asm volatile("" : : "r,m"(value) : "memory");
}

}  // namespace benchmark

#define VELK_BENCHMARK_JOIN2(a, b) a##b
#define VELK_BENCHMARK_JOIN(a, b) VELK_BENCHMARK_JOIN2(a, b)
#define BENCHMARK(function)                                                        \
    [[maybe_unused]] static ::benchmark::internal::Benchmark* VELK_BENCHMARK_JOIN( \
        velk_benchmark_, __LINE__) = ::benchmark::internal::Register(#function, function)
#define BENCHMARK_MAIN()                        \
    int main(int argc, char** argv) {           \
        return ::benchmark::RunAll(argc, argv); \
    }                                           \
    static_assert(true, "a semicolon follows")
