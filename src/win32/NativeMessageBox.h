#pragma once

#include <string>
#include <vector>

namespace win32 {

enum class BoxIcon { information, warning, error };

/// A message box with an OK button.
void ShowMessageBox(void* owner, const std::string& title, const std::string& text, BoxIcon icon);
/// Yes, No and Cancel, Yes the default: 0 for Yes, 1 for No, 2 for Cancel or a closed box.
int AskYesNoCancel(void* owner, const std::string& title, const std::string& text);
/// A warning with buttons of its own (labels with '&' before the mnemonic); answers the index
/// of the button chosen, or escapeIndex when the box is closed otherwise.
int AskWithButtons(void* owner, const std::string& title, const std::string& text,
                   const std::vector<std::string>& buttons, int defaultIndex, int escapeIndex);

}  // namespace win32
