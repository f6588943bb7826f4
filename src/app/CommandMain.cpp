// The program velk where it is built without a window: the commands that need none.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/ProgramCommand.h"
#include "files/Os.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    const ProgramCommand command = ParseProgramCommand(arguments);
    if (const std::optional<int> status = RunWindowlessCommand(command)) {
        return *status;
    }
    std::cerr << "velk: this build has no window.\n"
                 "Paint a world into a PNG file instead: velk --render FILE -o OUT.png\n";
    return 1;
}
