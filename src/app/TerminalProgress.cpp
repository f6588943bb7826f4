#include "app/TerminalProgress.h"

#include <filesystem>
#include <ostream>
#include <utility>

#include "files/FileTools.h"
#include "files/Os.h"
#include "framework/PrintableName.h"

namespace {

// Back to the start of the line and erase it.
constexpr const char* kClearLine = "\r\033[K";

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& out, const std::string& file, double delaySeconds,
                                   Clock clock)
    : DelayedProgress(delaySeconds, std::move(clock)),
      out_(out),
      name_(PrintableText(FileNameOf(file))) {}

TerminalProgress::~TerminalProgress() {
    Clear();
}

void TerminalProgress::Clear() {
    if (drawn_) {
        out_ << kClearLine << std::flush;
        drawn_ = false;
    }
}

bool TerminalProgress::StandardErrorIsTerminal() {
    return TheOs().IsTerminal(TheOs().StandardError());
}

bool TerminalProgress::Show(const ProgressReport& report) {
    out_ << kClearLine << "Reading " << name_ << ": ";
    if (report.total > 0) {
        out_ << report.Permille() / 10 << "%, " << DescribeBytes(report.done) << " of "
             << DescribeBytes(report.total);
    } else {
        out_ << DescribeBytes(report.done);
    }
    out_ << ", " << DescribeBytes(static_cast<std::uint64_t>(report.bytesPerSecond)) << "/s"
         << std::flush;
    drawn_ = true;
    return true;
}
