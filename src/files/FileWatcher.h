#pragma once

#include <string>

/// Tells of changes to one file at a time; the platform makes it.
class FileWatcher {
public:
    virtual ~FileWatcher() = default;
    /// Watches the file at path from now on, instead of any other; empty for none. A file
    /// deleted and made again under the same name, as version control does, is still heard.
    virtual void Watch(const std::string& path) = 0;
};
