#include "files/ProgressObserver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <utility>

namespace {

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int ProgressReport::Permille() const {
    if (total == 0) {
        return 0;
    }
    const double share = static_cast<double>(done) / static_cast<double>(total);
    return static_cast<int>(std::min(1000.0, share * 1000));
}

DelayedProgress::DelayedProgress(double delaySeconds, Clock clock)
    : clock_(clock ? std::move(clock) : Clock(SteadySeconds)),
      delay_(delaySeconds),
      start_(clock_()) {}

double DelayedProgress::ElapsedSeconds() const {
    return clock_() - start_;
}

bool DelayedProgress::OnProgress(std::uint64_t done, std::uint64_t total) {
    if (heard_ && done == last_.done && total == last_.total) {
        return true;  // a reader that asks again at the end has nothing new to show
    }
    heard_ = true;
    const double now = clock_();
    const double elapsed = now - start_;
    last_.done = done;
    last_.total = total;
    last_.elapsedSeconds = elapsed;
    last_.bytesPerSecond = elapsed > 0 ? static_cast<double>(done) / elapsed : 0;
    last_.secondsLeft =
        total > 0 && done > 0 && done <= total
            ? elapsed * static_cast<double>(total - done) / static_cast<double>(done)
            : -1;
    last_.cancellable = cancellable_;
    if (elapsed < delay_ || (shown_ && now - lastShown_ < kShowInterval)) {
        return true;
    }
    shown_ = true;
    lastShown_ = now;
    return Show(last_) || !cancellable_;
}

void DelayedProgress::OnPointOfNoReturn() {
    cancellable_ = false;
    last_.cancellable = false;
    if (shown_ || ElapsedSeconds() >= delay_) {
        shown_ = true;
        lastShown_ = clock_();
        Show(last_);
    }
}

std::string DescribeBytes(std::uint64_t bytes) {
    static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};
    if (bytes < 1000) {
        return std::to_string(bytes) + " bytes";
    }
    double value = static_cast<double>(bytes) / 1000;
    std::size_t unit = 0;
    // The unit follows the number as shown, so that 999.6 KB reads "1.0 MB", not "1000 KB".
    double shown = 0;
    for (;;) {
        shown = value < 9.95 ? std::round(value * 10) / 10 : std::round(value);
        if (shown < 1000 || unit + 1 == std::size(kUnits)) {
            break;
        }
        value /= 1000;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, shown < 10 ? "%.1f %s" : "%.0f %s", shown, kUnits[unit]);
    return text;
}

std::string DescribeSeconds(double seconds) {
    char text[32];
    if (seconds < 59.95) {
        std::snprintf(text, sizeof text, "%.1f s", std::max(0.0, seconds));
    } else {
        const long whole = std::lround(seconds);
        std::snprintf(text, sizeof text, "%ld min %ld s", whole / 60, whole % 60);
    }
    return text;
}
