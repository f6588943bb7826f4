#pragma once

#include <memory>
#include <string>

#include "files/ProgressObserver.h"

class ProgressDialog;
class UserDialogs;

/// The progress of a document's load or save in a dialog of the person's UserDialogs, opened
/// once the work has lasted longer than the delay. Cancel in the dialog cancels the work.
class DialogProgress : public DelayedProgress {
public:
    /// With null dialogs nothing is shown and nothing is cancelled.
    DialogProgress(UserDialogs* dialogs, std::string caption, std::string text,
                   double delaySeconds = kDefaultDelay, Clock clock = {});
    ~DialogProgress() override;

    /// Closes the dialog for good, so that a message about the outcome is not hidden by it.
    void Close();

protected:
    bool Show(const ProgressReport& report) override;

private:
    UserDialogs* dialogs_;
    std::string caption_;
    std::string text_;
    std::unique_ptr<ProgressDialog> dialog_;
    bool opened_ = false;
};
