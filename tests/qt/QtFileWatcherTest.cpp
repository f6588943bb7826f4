#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "qt/QtFileWatcher.h"

namespace {

void Write(const std::string& path, const char* text, std::ios::openmode mode = std::ios::trunc) {
    std::ofstream(path, std::ios::out | mode) << text;
}

/// Runs the event loop until `heard` reaches `count`, for at most `milliseconds`.
bool Hears(const int& heard, int count, int milliseconds = 5000) {
    const QDeadlineTimer deadline(milliseconds);
    while (heard < count && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return heard >= count;
}

// A change written into the file is heard, and so is a save that replaces the file by a rename,
// as most editors save. The new file is watched in its turn, and a file no longer watched is
// not heard.
TEST(QtFileWatcher, HearsWritesAndReplacementsOfTheWatchedFileOnly) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("w.world").toStdString();
    const std::string other = folder.filePath("other.world").toStdString();
    Write(path, "world { }\n");
    Write(other, "world { }\n");
    int heard = 0;
    QtFileWatcher watcher([&heard] { ++heard; });
    watcher.Watch(path);

    Write(path, "world { size 5 5 }\n", std::ios::app);
    ASSERT_TRUE(Hears(heard, 1)) << "a write in place";

    const std::string replacement = folder.filePath("w.world.new").toStdString();
    Write(replacement, "world { size 7 7 }\n");
    ASSERT_EQ(std::rename(replacement.c_str(), path.c_str()), 0);
    const int afterRename = heard + 1;
    ASSERT_TRUE(Hears(heard, afterRename)) << "a replacement";

    QCoreApplication::processEvents();
    const int beforeSecondWrite = heard;
    Write(path, "world { size 9 9 }\n", std::ios::app);
    ASSERT_TRUE(Hears(heard, beforeSecondWrite + 1)) << "the replaced file";

    watcher.Watch(other);
    QCoreApplication::processEvents();
    const int beforeUnwatched = heard;
    Write(path, "world { }\n", std::ios::app);
    EXPECT_FALSE(Hears(heard, beforeUnwatched + 1, 1000)) << "a file no longer watched";
}

// Version control deletes a file and makes it again: the new file is heard as a change, and so
// are later changes to it.
TEST(QtFileWatcher, HearsAFileDeletedAndMadeAgain) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("w.world").toStdString();
    Write(path, "world { }\n");
    int heard = 0;
    QtFileWatcher watcher([&heard] { ++heard; });
    watcher.Watch(path);

    ASSERT_EQ(std::remove(path.c_str()), 0);
    ASSERT_TRUE(Hears(heard, 1)) << "the deletion";
    QCoreApplication::processEvents();
    const int beforeMade = heard;
    Write(path, "world { size 3 3 }\n");
    ASSERT_TRUE(Hears(heard, beforeMade + 1)) << "the file made again";
    QCoreApplication::processEvents();
    const int beforeWrite = heard;
    Write(path, "world { size 4 4 }\n", std::ios::app);
    EXPECT_TRUE(Hears(heard, beforeWrite + 1)) << "a later write";
}

}  // namespace
