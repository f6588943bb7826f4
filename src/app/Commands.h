#pragma once

#include <optional>

struct ProgramCommand;

/// Carries out the commands of the program that need no window (--render, --check, --help,
/// --version and an invalid command line), printing to the standard streams. The exit status,
/// or nothing when the command asks for the window.
std::optional<int> RunWindowlessCommand(const ProgramCommand& command);
