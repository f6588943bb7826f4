#pragma once

namespace win32 {

/// A program of the Windows subsystem starts without a console: this lets its standard output
/// and error reach the console of the process that started it, when there is one and they
/// were not redirected elsewhere.
void UseParentConsole();

}  // namespace win32
