// The program velk.exe on Windows: the desktop program, or one of its commands that need no
// window, which write to the console the program was started from.
#include <optional>
#include <string>
#include <vector>

#include "app/CVelkApp.h"
#include "app/Commands.h"
#include "app/ProgramCommand.h"
#include "files/Os.h"
#include "files/SystemFileWatcher.h"
#include "win32/NativeConsole.h"
#include "win32/Win32Platform.h"

namespace {

// The one application object, made before main runs.
CVelkApp theApp;

}  // namespace

int main(int argc, char** argv) {
    win32::UseParentConsole();
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    const ProgramCommand command = ParseProgramCommand(arguments);
    if (const std::optional<int> status = RunWindowlessCommand(command)) {
        return *status;
    }
    Win32Platform platform;
    platform.SetWatcherFactory(MakeSystemFileWatcher);
    std::vector<std::string> frameworkArguments;
    if (!command.file.empty()) {
        // The framework takes an argument with a leading dash for a flag.
        frameworkArguments.push_back(command.file[0] == '-' ? ".\\" + command.file : command.file);
    }
    return theApp.Run(platform, frameworkArguments);
}
