#include "framework/CFileException.h"

#include <system_error>
#include <utility>

#include "files/FileError.h"
#include "framework/PrintableName.h"

namespace {

std::string Reason(const FileError& error) {
    if (error.notRegularFile) {
        return "not a regular file";
    }
    const std::string system = error.code != 0 ? std::generic_category().message(error.code)
                                               : "the new content could not be written";
    return error.keptCopy.empty()
               ? system
               : system + "; the old content is kept in " + PrintableName(error.keptCopy);
}

std::string Sentence(CFileException::Operation operation, const std::string& path,
                     const std::string& reason) {
    const char* verb = "open";
    if (operation == CFileException::read) {
        verb = "read";
    } else if (operation == CFileException::save) {
        verb = "save";
    }
    return std::string("Cannot ") + verb + " " + PrintableName(path) + ": " + reason;
}

}  // namespace

CFileException::CFileException(Operation operation, std::string path, int error)
    : std::runtime_error(Sentence(operation, path, std::generic_category().message(error))),
      operation(operation),
      path(std::move(path)),
      error(error) {}

CFileException::CFileException(Operation operation, std::string path, const std::string& reason,
                               int error)
    : std::runtime_error(Sentence(operation, path, reason)),
      operation(operation),
      path(std::move(path)),
      error(error) {}

CFileException::CFileException(Operation operation, std::string path, const FileError& error)
    : CFileException(operation, std::move(path), Reason(error), error.code) {}
