#pragma once

#include <QFileSystemWatcher>

#include <functional>
#include <string>

#include "files/FileWatcher.h"

/// The framework's file watcher on QFileSystemWatcher, watching the file and its folder.
class QtFileWatcher : public FileWatcher {
public:
    explicit QtFileWatcher(std::function<void()> changed);
    void Watch(const std::string& path) override;

private:
    /// Watches the file again when it exists but is not watched; whether it had to.
    bool Rewatch();

    QFileSystemWatcher watcher_;
    QString path_;
    std::function<void()> changed_;
};
