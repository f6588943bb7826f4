#pragma once

#include <cstdint>
#include <functional>
#include <string>

/// Follows a long transfer of bytes, such as an archive's load or save, and may stop it. The
/// archive calls it once per chunk it moves, so a check costs nothing next to the chunk.
class ProgressObserver {
public:
    virtual ~ProgressObserver() = default;
    /// done of total bytes so far; total is 0 when it is not known. Answers false to stop the
    /// transfer, which then fails as cancelled.
    virtual bool OnProgress(std::uint64_t done, std::uint64_t total) = 0;
    /// From now on the transfer can no longer be stopped: the old file is being replaced.
    virtual void OnPointOfNoReturn() {}
};

/// How far a transfer has come, worked out for showing it.
struct ProgressReport {
    std::uint64_t done = 0;
    std::uint64_t total = 0;  ///< 0 when not known
    double elapsedSeconds = 0;
    double bytesPerSecond = 0;
    double secondsLeft = -1;  ///< negative when not known
    bool cancellable = true;

    /// The share done in thousandths, 0 to 1000; 0 when the total is not known.
    int Permille() const;
};

/// Shows a transfer only once it has lasted longer than a delay, and then not more often than
/// every few hundredths of a second: a short transfer shows nothing at all, and a long one
/// spends its time moving bytes, not drawing. The rest is left to Show.
class DelayedProgress : public ProgressObserver {
public:
    /// Seconds on a steady clock; tests give one of their own.
    using Clock = std::function<double()>;

    static constexpr double kDefaultDelay = 0.5;
    static constexpr double kShowInterval = 0.05;

    /// The transfer starts now, by the clock (the steady clock when none is given).
    explicit DelayedProgress(double delaySeconds = kDefaultDelay, Clock clock = {});

    bool OnProgress(std::uint64_t done, std::uint64_t total) override;
    void OnPointOfNoReturn() override;

    /// Whether Show was called at least once.
    bool WasShown() const { return shown_; }
    double ElapsedSeconds() const;

protected:
    /// Shows the report; answers false when the person asked to stop. Only a cancellable
    /// report can stop the transfer.
    virtual bool Show(const ProgressReport& report) = 0;

private:
    Clock clock_;
    double delay_;
    double start_;
    double lastShown_ = 0;
    bool heard_ = false;
    bool shown_ = false;
    bool cancellable_ = true;
    ProgressReport last_;
};

/// "1.0 GB", "420 MB", "12 KB", "900 bytes": bytes in the largest decimal unit that keeps a
/// whole number in front.
std::string DescribeBytes(std::uint64_t bytes);
/// "4.1 s" below a minute, "3 min 20 s" above.
std::string DescribeSeconds(double seconds);
