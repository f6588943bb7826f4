#include "framework/Resources.h"

std::string GetDocStringField(const std::string& docString, DocStringIndex index) {
    std::size_t start = 0;
    for (int field = 0; field < static_cast<int>(index); ++field) {
        std::size_t end = docString.find('\n', start);
        if (end == std::string::npos) {
            return {};
        }
        start = end + 1;
    }
    std::size_t end = docString.find('\n', start);
    return docString.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string PromptOfCommandString(const std::string& commandString) {
    return commandString.substr(0, commandString.find('\n'));
}
