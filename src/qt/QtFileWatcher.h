#pragma once

#include <QFileSystemWatcher>

#include <functional>
#include <string>

#include "framework/DocumentWatch.h"

/// The framework's file watcher on QFileSystemWatcher.
class QtFileWatcher : public FileWatcher {
public:
    explicit QtFileWatcher(std::function<void()> changed);
    void Watch(const std::string& path) override;

private:
    QFileSystemWatcher watcher_;
    QString path_;
    std::function<void()> changed_;
};
