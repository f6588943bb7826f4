#pragma once

#include <cstddef>

#include "framework/Backend.h"

/// What a button of a question does, for backends whose boxes place buttons by their role.
enum class ButtonRole { accept, destructive, reject };

struct QuestionButton {
    const char* label;  ///< with "&" before the mnemonic
    ButtonRole role;
};

/// A question with buttons of its own, worded alike on every backend. A backend shows the
/// buttons in order and answers the index of the one chosen; Enter chooses defaultButton and
/// Escape, or closing the box, escapeButton.
struct ButtonQuestion {
    QuestionButton buttons[3];
    std::size_t count;
    int defaultButton;
    int escapeButton;
};

/// The file a save would write over was changed: Overwrite, Save As or Cancel.
extern const ButtonQuestion kChangedFileQuestion;
ChangedFileChoice ChangedFileAnswer(int button);

/// The file changed while the document has changes of its own: Reload or Keep Mine.
extern const ButtonQuestion kReloadQuestion;
bool ReloadAnswer(int button);

/// A recovery copy was found: Restore, Discard or Later.
extern const ButtonQuestion kRecoveryQuestion;
RecoveryChoice RecoveryAnswer(int button);
