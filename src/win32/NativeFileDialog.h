#pragma once

#include <optional>
#include <string>

namespace win32 {

/// The common dialog that picks an existing file to open; nothing when cancelled.
std::optional<std::string> AskFileToOpen(void* owner, const std::string& caption);
/// The common dialog that picks a file to save to, proposing initialName (a path, or a name in
/// the current folder); it asks before an existing file is replaced. Nothing when cancelled.
std::optional<std::string> AskFileToSave(void* owner, const std::string& caption,
                                         const std::string& initialName);

}  // namespace win32
