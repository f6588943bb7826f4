#pragma once

#include <iosfwd>
#include <string>

#include "files/ProgressObserver.h"

/// One line on a terminal that rewrites itself while a world file is read ("Reading w.world:
/// 41%, 420 MB of 1.0 GB, 110 MB/s"), once the reading has lasted longer than the delay. The
/// line is cleared at the end, so what the command prints afterwards starts on a clean line.
class TerminalProgress : public DelayedProgress {
public:
    /// Writes to out, which must be a terminal: the line is redrawn with a carriage return and
    /// an erase to the end of the line.
    TerminalProgress(std::ostream& out, const std::string& file,
                     double delaySeconds = kDefaultDelay, Clock clock = {});
    /// Clears the line, when one was drawn.
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    /// Clears the line now; later progress draws it again.
    void Clear();

    /// Whether standard error is a terminal, where a progress line belongs.
    static bool StandardErrorIsTerminal();

protected:
    bool Show(const ProgressReport& report) override;

private:
    std::ostream& out_;
    std::string name_;
    bool drawn_ = false;
};
