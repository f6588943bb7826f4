#pragma once

#include <string>

#include "files/Os.h"

/// Why work on a file failed, as facts for the framework to put into words; code 0 and no
/// facts is success.
struct FileError {
    OsError code = 0;
    /// The file is a pipe, a device or another thing that is not a regular file (code is 0).
    bool notRegularFile = false;
    /// A save that could not put the old content back: where the whole old content is kept.
    std::string keptCopy;

    bool failed() const { return code != 0 || notRegularFile || !keptCopy.empty(); }
    explicit operator bool() const { return failed(); }
};
