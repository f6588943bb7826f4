#pragma once

#include <stdexcept>
#include <string>

struct FileError;

/// A file that could not be opened, read, written or saved. what() is a whole sentence for the
/// user that names the file and the reason, for example
/// `Cannot save "/home/ann/w.world": Permission denied`.
class CFileException : public std::runtime_error {
public:
    /// What was being done when the error happened; it picks the sentence's verb.
    enum Operation { open, read, save };

    /// The reason is the system's text for the error number.
    CFileException(Operation operation, std::string path, int error);
    /// A reason of our own, in place of the system's text for the error number.
    CFileException(Operation operation, std::string path, const std::string& reason, int error = 0);
    /// The facts of the files layer put into words.
    CFileException(Operation operation, std::string path, const FileError& error);

    Operation GetOperation() const { return operation; }
    /// The file as it was named to the archive.
    const std::string& GetPath() const { return path; }
    /// The system's error number, or 0.
    int GetError() const { return error; }

private:
    Operation operation;
    std::string path;
    int error;
};
