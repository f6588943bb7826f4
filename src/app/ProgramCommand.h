#pragma once

#include <iosfwd>
#include <string>
#include <vector>

/// What the command line of the program `velk` asks for.
struct ProgramCommand {
    enum class Mode {
        window,  ///< the desktop program, on a new world or on file
        render,  ///< paint file into the PNG output, without a window
        check,   ///< tell how completely file reads
        help,
        version,
        invalid,  ///< error says what is wrong
    };
    Mode mode = Mode::window;
    std::string file;
    std::string output;
    std::string error;
};

/// Reads the arguments after the program name: `[FILE]`, `--render FILE -o OUT.png`,
/// `--check FILE`, `--help`, `--version`. "--" ends the options, so a file may start with '-'.
ProgramCommand ParseProgramCommand(const std::vector<std::string>& arguments);

/// The usage text of --help.
std::string ProgramUsage();

/// Opens the world file with OpenWorldFile and paints it into the PNG file. Messages go to
/// errors; answers the exit status: 0 when the PNG was written from a complete world, 1
/// otherwise. A world that does not read completely is still painted, with a warning; the PNG
/// file never replaces the world file, and a failed write leaves no partial PNG. With
/// progressLine (a terminal), a long read shows its progress there.
int RenderWorldFile(const std::string& file, const std::string& output, std::ostream& errors,
                    std::ostream* progressLine = nullptr);

/// Prints the report of the world file to out. Answers 0 when the file reads completely (as
/// OpenWorldFile judges it), 1 when it does not. With progressLine (a terminal), a long read
/// shows its progress there.
int CheckWorldFileCommand(const std::string& file, std::ostream& out,
                          std::ostream* progressLine = nullptr);
