#include "app/Commands.h"

#include <iostream>
#include <string>

#include "app/ProgramCommand.h"
#include "app/TerminalProgress.h"
#include "app/VelkResources.h"

namespace {

std::string VersionText() {
    const VersionRecord& version = VelkResources().version;
    std::string text;
    for (int i = 0; i < 4; ++i) {
        text += (i > 0 ? "." : "") + std::to_string(version.productVersion[i]);
    }
    return text;
}

}  // namespace

std::optional<int> RunWindowlessCommand(const ProgramCommand& command) {
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
    return std::nullopt;
}
