#pragma once

#include <functional>
#include <memory>

#include "files/FileWatcher.h"

/// Called on the watcher's own thread, never on the caller's, when the watched file may have
/// changed.
using FileNotice = std::function<void()>;

/// A FileWatcher on the system's own notices of changes in a folder, where the files layer has
/// one (Windows: ReadDirectoryChangesW on the file's folder); null elsewhere (on Linux the Qt
/// backend watches).
///
/// It hears what happens to the file's name in its folder: a change of content or size, a
/// deletion, a re-creation under the same name, a file renamed onto the name (as editors
/// save) and the file renamed away. Changes that follow one another closely (the many writes
/// of one save) give one notice. A folder that is missing, or goes, is looked for again until
/// it is back, with a notice when it comes back or goes.
///
/// notice is called on a thread of the watcher, so it must neither block nor touch the
/// interface: a message-loop backend posts a message to its window there (PostMessage) and
/// does the work when the message arrives on the interface thread. notice may be called once
/// more for the file watched before, just after Watch moves to another; the work it leads to
/// compares the file with what the document knows, so such a notice is harmless. Once the
/// watcher is destroyed, notice is never called again.
///
/// Watch returns once the new file is watched, so every change after it is heard. Destroying
/// the watcher stops its thread and waits for it, without waiting on the disk.
std::unique_ptr<FileWatcher> MakeSystemFileWatcher(FileNotice notice);
