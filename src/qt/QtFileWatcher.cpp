#include "qt/QtFileWatcher.h"

#include <QFile>
#include <QStringList>

#include <utility>

QtFileWatcher::QtFileWatcher(std::function<void()> changed) : changed_(std::move(changed)) {
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, [this](const QString&) {
        // A file replaced by a rename, as most editors save, is no longer watched: its new
        // self is watched again.
        if (!path_.isEmpty() && !watcher_.files().contains(path_)) {
            watcher_.addPath(path_);
        }
        changed_();
    });
}

void QtFileWatcher::Watch(const std::string& path) {
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    path_ = QFile::decodeName(QByteArray::fromStdString(path));
    if (!path_.isEmpty()) {
        watcher_.addPath(path_);
    }
}
