#pragma once

#include <unistd.h>

#include <utility>

/// Closes a file descriptor on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            Close();
            fd = other.Release();
        }
        return *this;
    }
    ~FileDescriptor() { Close(); }

    int Get() const { return fd; }
    /// Gives the descriptor up without closing it.
    int Release() { return std::exchange(fd, -1); }
    /// Closes now; the result of close, or 0 when nothing was open.
    int Close() {
        const int result = fd >= 0 ? ::close(fd) : 0;
        fd = -1;
        return result;
    }

private:
    int fd;
};
