#pragma once

#include <utility>

#include "files/Os.h"

/// Closes an open file on every way out.
class FileHandle {
public:
    explicit FileHandle(FileId file = kNoFile) : file_(file) {}
    explicit FileHandle(const OsResult<FileId>& opened)
        : file_(opened.ok() ? opened.value : kNoFile) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : file_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            Close();
            file_ = other.Release();
        }
        return *this;
    }
    ~FileHandle() { Close(); }

    FileId Get() const { return file_; }
    bool IsOpen() const { return file_ != kNoFile; }
    /// Gives the file up without closing it.
    FileId Release() { return std::exchange(file_, kNoFile); }
    /// Closes now; the error of closing, or 0 when nothing was open.
    OsError Close() {
        const OsError error = file_ != kNoFile ? TheOs().Close(file_) : 0;
        file_ = kNoFile;
        return error;
    }

private:
    FileId file_;
};
