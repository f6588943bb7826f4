#include "win32/Win32ProgressDialog.h"

#include "files/ProgressObserver.h"

Win32ProgressDialog::Win32ProgressDialog(const std::string& caption, const std::string& text,
                                         void* owner)
    : native_(owner, caption, text), text_(text) {}

bool Win32ProgressDialog::Update(const ProgressReport& report) {
    if (cancellable_ && !report.cancellable) {
        cancellable_ = false;
        native_.RemoveCancel();
    }
    std::string line;
    if (report.total > 0) {
        line = std::to_string(report.Permille() / 10) + "% of " + DescribeBytes(report.total);
    } else {
        line = DescribeBytes(report.done);
    }
    if (!cancellable_) {
        line += ", finishing";
    } else if (report.secondsLeft >= 0) {
        line += ", about " + DescribeSeconds(report.secondsLeft) + " left";
    }
    native_.SetText(text_ + "\n" + line);
    native_.SetPermille(report.total > 0 ? report.Permille() : -1);
    const bool cancelled = native_.Pump();
    return !cancellable_ || !cancelled;
}
