#pragma once

#include <string>

#include "framework/Backend.h"
#include "win32/NativeProgress.h"

/// The progress of a long load or save in a Windows dialog with a bar and Cancel; the same
/// lines as on Linux.
class Win32ProgressDialog : public ProgressDialog {
public:
    Win32ProgressDialog(const std::string& caption, const std::string& text, void* owner);
    bool Update(const ProgressReport& report) override;

    /// What the dialog shows, for tests.
    void* Handle() const { return native_.Handle(); }

private:
    win32::NativeProgress native_;
    std::string text_;
    bool cancellable_ = true;
};
