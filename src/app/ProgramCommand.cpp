#include "app/ProgramCommand.h"

#include <memory>
#include <ostream>

#include "app/TerminalProgress.h"
#include "document/WorldFileCheck.h"
#include "view/RenderWorld.h"

ProgramCommand ParseProgramCommand(const std::vector<std::string>& arguments) {
    ProgramCommand command;
    auto invalid = [&command](std::string why) {
        command.mode = ProgramCommand::Mode::invalid;
        command.error = std::move(why);
        return command;
    };
    bool optionsEnded = false;
    bool modeGiven = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            files.push_back(argument);
            continue;
        }
        auto takeMode = [&](ProgramCommand::Mode mode) {
            if (modeGiven) {
                return false;
            }
            modeGiven = true;
            command.mode = mode;
            return true;
        };
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            if (!takeMode(ProgramCommand::Mode::help)) {
                return invalid("--help cannot be combined with another mode");
            }
        } else if (argument == "--version") {
            if (!takeMode(ProgramCommand::Mode::version)) {
                return invalid("--version cannot be combined with another mode");
            }
        } else if (argument == "--render") {
            if (!takeMode(ProgramCommand::Mode::render)) {
                return invalid("--render cannot be combined with another mode");
            }
        } else if (argument == "--check") {
            if (!takeMode(ProgramCommand::Mode::check)) {
                return invalid("--check cannot be combined with another mode");
            }
        } else if (argument == "-o" || argument == "--output") {
            if (i + 1 >= arguments.size()) {
                return invalid(argument + " needs the name of the PNG file to write");
            }
            command.output = arguments[++i];
        } else {
            return invalid("unknown option " + argument);
        }
    }
    if (files.size() > 1) {
        return invalid("one world file at most, not " + std::to_string(files.size()));
    }
    command.file = files.empty() ? std::string() : files.front();
    switch (command.mode) {
        case ProgramCommand::Mode::render:
            if (command.file.empty() || command.output.empty()) {
                return invalid("--render needs a world file and -o OUT.png");
            }
            break;
        case ProgramCommand::Mode::check:
            if (command.file.empty()) {
                return invalid("--check needs a world file");
            }
            break;
        default:
            break;
    }
    if (!command.output.empty() && command.mode != ProgramCommand::Mode::render) {
        return invalid("-o goes with --render only");
    }
    if (!command.file.empty() && (command.mode == ProgramCommand::Mode::help ||
                                  command.mode == ProgramCommand::Mode::version)) {
        return invalid("--help and --version take no file");
    }
    return command;
}

std::string ProgramUsage() {
    return "Usage: velk [FILE]\n"
           "       velk --render FILE -o OUT.png\n"
           "       velk --check FILE\n"
           "       velk --help | --version\n"
           "\n"
           "Shows a world of objects made of discs, lines, rectangles and ellipses, and lets\n"
           "you drag the objects about with the left mouse button.\n"
           "\n"
           "  FILE                  open this world file (a new world when none is named)\n"
           "  --render FILE -o OUT  paint the world as the window shows it into the PNG file\n"
           "                        OUT; needs no display\n"
           "  --check FILE          tell whether FILE reads completely, and where it stops if\n"
           "                        not; exit status 0 only when it does\n"
           "  --help                show this text\n"
           "  --version             show the version\n";
}

namespace {

std::unique_ptr<TerminalProgress> ProgressLine(std::ostream* out, const std::string& file) {
    return out != nullptr ? std::make_unique<TerminalProgress>(*out, file) : nullptr;
}

}  // namespace

int RenderWorldFile(const std::string& file, const std::string& output, std::ostream& errors,
                    std::ostream* progressLine) {
    std::string error;
    std::string warning;
    bool rendered = false;
    {
        std::unique_ptr<TerminalProgress> progress = ProgressLine(progressLine, file);
        rendered = RenderWorldFileToPng(file, output, error, IncompleteWorlds::paint, &warning,
                                        progress.get());
    }
    if (!rendered) {
        errors << "velk: " << error << '\n';
        return 1;
    }
    if (!warning.empty()) {
        errors << "velk: warning: " << warning << '\n';
        return 1;
    }
    return 0;
}

int CheckWorldFileCommand(const std::string& file, std::ostream& out, std::ostream* progressLine) {
    WorldFileCheck check;
    {
        std::unique_ptr<TerminalProgress> progress = ProgressLine(progressLine, file);
        check = CheckWorldFile(file, progress.get());
    }
    out << FormatWorldFileCheck(check);
    return check.complete ? 0 : 1;
}
