#pragma once

#include <string>

/// What the command line asks the program to do at start. ParseParam is told of every
/// argument in turn; the first one that is not a flag names the file to open.
class CCommandLineInfo {
public:
    enum class ShellCommand { FileNew, FileOpen, FileNothing };

    virtual ~CCommandLineInfo() = default;

    /// One argument: param without its leading dash when flag is true. last is true for the
    /// final argument. Flags are ignored; a second file name is ignored too.
    virtual void ParseParam(const std::string& param, bool flag, bool last);

    ShellCommand shellCommand = ShellCommand::FileNew;
    std::string fileName;
};
