// The program velk: the desktop program, or one of its commands that need no window.
#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/CVelkApp.h"
#include "app/Commands.h"
#include "app/ProgramCommand.h"
#include "qt/QtPlatform.h"

namespace {

// The one application object, made before main runs.
CVelkApp theApp;

bool HasDisplay() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    ProgramCommand command = ParseProgramCommand(arguments);
    if (const std::optional<int> status = RunWindowlessCommand(command)) {
        return *status;
    }
    if (!HasDisplay()) {
        std::cerr << "velk: there is no display to show a window on (none of DISPLAY, "
                     "WAYLAND_DISPLAY and QT_QPA_PLATFORM is set).\n"
                     "Paint a world into a PNG file instead: velk --render FILE -o OUT.png\n";
        return 1;
    }
    // Qt reads options of its own from the arguments it is given (-reverse, -style, ...); ours
    // have been read, and a file named after "--" must stay a file, so Qt sees the name alone.
    int qtArgumentCount = 1;
    QApplication application(qtArgumentCount, argv);
    QtPlatform platform;
    std::vector<std::string> frameworkArguments;
    if (!command.file.empty()) {
        // The framework takes an argument with a leading dash for a flag.
        frameworkArguments.push_back(command.file[0] == '-' ? "./" + command.file : command.file);
    }
    return theApp.Run(platform, frameworkArguments);
}
