// The program velk: the desktop program, or one of its commands that need no window.
#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/CVelkApp.h"
#include "app/ProgramCommand.h"
#include "app/TerminalProgress.h"
#include "app/VelkResources.h"
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

std::string VersionText() {
    const VersionRecord& version = VelkResources().version;
    std::string text;
    for (int i = 0; i < 4; ++i) {
        text += (i > 0 ? "." : "") + std::to_string(version.productVersion[i]);
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    ProgramCommand command = ParseProgramCommand(arguments);
    switch (command.mode) {
        case ProgramCommand::Mode::invalid:
            std::cerr << "velk: " << command.error << "\n\n" << ProgramUsage();
            return 2;
        case ProgramCommand::Mode::help:
            std::cout << ProgramUsage();
            return 0;
        case ProgramCommand::Mode::version:
            std::cout << "velk " << VersionText() << '\n';
            return 0;
        case ProgramCommand::Mode::render:
            return RenderWorldFile(
                command.file, command.output, std::cerr,
                TerminalProgress::StandardErrorIsTerminal() ? &std::cerr : nullptr);
        case ProgramCommand::Mode::check:
            return CheckWorldFileCommand(
                command.file, std::cout,
                TerminalProgress::StandardErrorIsTerminal() ? &std::cerr : nullptr);
        case ProgramCommand::Mode::window:
            break;
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
