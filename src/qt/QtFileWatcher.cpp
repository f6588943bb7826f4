#include "qt/QtFileWatcher.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <utility>

QtFileWatcher::QtFileWatcher(std::function<void()> changed) : changed_(std::move(changed)) {
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, [this](const QString&) {
        // A file replaced by a rename, as most editors save, is no longer watched: its new
        // self is watched again.
        Rewatch();
        changed_();
    });
    // A file deleted and made again, as version control does, drops out of the watch with its
    // deletion; its folder tells when it is back.
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, [this](const QString&) {
        if (Rewatch()) {
            changed_();
        }
    });
}

bool QtFileWatcher::Rewatch() {
    if (path_.isEmpty() || watcher_.files().contains(path_) || !QFileInfo::exists(path_)) {
        return false;
    }
    return watcher_.addPath(path_);
}

void QtFileWatcher::Watch(const std::string& path) {
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty()) {
        watcher_.removePaths(watched);
    }
    path_ = QFile::decodeName(QByteArray::fromStdString(path));
    if (!path_.isEmpty()) {
        watcher_.addPath(path_);
        watcher_.addPath(QFileInfo(path_).absolutePath());
    }
}
