#include "framework/CFileException.h"

#include <system_error>
#include <utility>

namespace {

std::string Sentence(CFileException::Operation operation, const std::string& path,
                     const std::string& reason) {
    const char* verb = "open";
    if (operation == CFileException::read) {
        verb = "read";
    } else if (operation == CFileException::save) {
        verb = "save";
    }
    return std::string("Cannot ") + verb + " \"" + path + "\": " + reason;
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
