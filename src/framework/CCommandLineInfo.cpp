#include "framework/CCommandLineInfo.h"

void CCommandLineInfo::ParseParam(const std::string& param, bool flag, bool /*last*/) {
    if (flag || shellCommand == ShellCommand::FileOpen) {
        return;
    }
    shellCommand = ShellCommand::FileOpen;
    fileName = param;
}
