#include "framework/DialogProgress.h"

#include <utility>

#include "framework/Backend.h"

DialogProgress::DialogProgress(UserDialogs* dialogs, std::string caption, std::string text,
                               double delaySeconds, Clock clock)
    : DelayedProgress(delaySeconds, std::move(clock)),
      dialogs_(dialogs),
      caption_(std::move(caption)),
      text_(std::move(text)) {}

DialogProgress::~DialogProgress() = default;

void DialogProgress::Close() {
    opened_ = true;  // never again
    dialog_.reset();
}

bool DialogProgress::Show(const ProgressReport& report) {
    if (!opened_) {
        opened_ = true;
        dialog_ = dialogs_ != nullptr ? dialogs_->BeginProgress(caption_, text_) : nullptr;
    }
    return dialog_ == nullptr || dialog_->Update(report);
}
