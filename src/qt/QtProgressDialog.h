#pragma once

#include <QProgressDialog>

#include <string>

#include "framework/Backend.h"

/// The progress of a long load or save: a modal dialog with the file, the share of bytes done
/// and the time left, and a Cancel button while the work can still be stopped. Each update
/// lets Qt handle pending events, so windows repaint while input to them is blocked.
class QtProgressDialog : public ProgressDialog {
public:
    QtProgressDialog(const std::string& caption, const std::string& text, QWidget* owner);

    bool Update(const ProgressReport& report) override;

    /// The dialog on screen, for tests.
    QProgressDialog& Widget() { return dialog_; }

private:
    QProgressDialog dialog_;
    QString text_;
    bool cancellable_ = true;
};
