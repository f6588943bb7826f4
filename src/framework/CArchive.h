#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "files/FileStamp.h"
#include "framework/CFileException.h"

class ProgressObserver;

/// A stream of bytes that a document saves itself into or loads itself from: a file, or memory
/// for tests. The archive keeps its own buffer, so many small writes cost one system call.
///
/// A storing file archive saves through a FileSaver: it touches the target only in Close,
/// which puts the new content on disk and makes it the target's while the target keeps its
/// identity (owner, mode, attributes, hard links; see FileSaver). An archive destroyed without
/// Close (because the save failed or was abandoned) leaves the target exactly as it was.
///
/// An observer, when set, hears of every chunk the archive moves and may cancel the transfer,
/// which then fails with the error ECANCELED; a save can no longer be cancelled once Close has
/// begun to replace the target.
///
/// Every failure raises CFileException. Failures are sticky: once an operation has failed,
/// every later Read, Write and Flush raises the same error again, and so does the first Close.
class CArchive {
public:
    enum Mode { load, store };

    /// An archive on the file at path. Loading opens the file (a regular file only, without
    /// waiting on a pipe); storing prepares the save (FileSaver). Throws CFileException when
    /// that is not possible.
    CArchive(const std::string& path, Mode mode);
    /// A loading archive over a copy of bytes, handed out at most chunk bytes at a time.
    static CArchive FromMemory(std::string bytes, std::size_t chunk = SIZE_MAX);
    /// A storing archive whose bytes replace sink's content when Close completes. A save that
    /// would grow beyond capacity bytes fails part way as a full disk does (ENOSPC) and leaves
    /// sink as it was.
    static CArchive ToMemory(std::string& sink, std::size_t capacity = SIZE_MAX);

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    /// Without Close, a storing archive discards what it wrote; it never throws.
    ~CArchive();

    bool IsLoading() const { return mode == load; }
    bool IsStoring() const { return mode == store; }
    /// The file's path as given, or "memory".
    const std::string& GetFileName() const { return name; }
    /// Bytes handed out by Read (loading) or taken by Write (storing) so far.
    std::uint64_t GetPosition() const { return position; }
    /// Loading: the size of the file when it was opened. Storing: the size expected, as set,
    /// or 0 when not known.
    std::uint64_t GetSize() const { return size; }
    void SetExpectedSize(std::uint64_t bytes) { size = bytes; }
    /// Loading: the size of the file, or of the bytes, when the archive was made; storing: 0.
    std::uint64_t GetLength() const { return mode == load ? size : 0; }
    /// Tells observer of the transfer from now on; null for none. It must outlive the archive
    /// or be replaced first.
    void SetProgressObserver(ProgressObserver* observer) { this->observer = observer; }

    /// Copies up to count bytes into destination; fewer only at the end. Returns the number
    /// copied, 0 at the end. Storing archives have nothing to read and return 0.
    [[nodiscard]] unsigned Read(void* destination, unsigned count);
    /// Appends count bytes. Throws on a loading archive.
    void Write(const void* source, unsigned count);
    /// Storing: hands the buffered bytes to the file (not yet to the disk). Loading: nothing.
    void Flush();
    /// Storing: completes the save (flush, sync the temporary to disk, rename it over the
    /// target). Loading: releases the file. After a failure it raises that failure instead
    /// (a storing archive removes its temporary). Only the first Close acts, whatever its
    /// outcome: a later Close does nothing, and Read, Write and Flush throw.
    void Close();
    /// After Close of an archive that loaded a file to its very end: the file as it was read
    /// (its identity and time when opened, the size and hash of the bytes read), which costs
    /// no second pass over the file. Nothing for memory, or for a load that stopped early.
    const std::optional<FileStamp>& GetReadStamp() const { return readStamp; }

    /// Where the bytes go or come from; file and memory devices live in CArchive.cpp.
    class Device;

private:
    CArchive(std::unique_ptr<Device> device, Mode mode, std::string name);

    /// Raises the sticky failure, if any, or a failure of its own when the archive is closed.
    void CheckUsable(CFileException::Operation operation) const;
    /// Runs an operation of the device; a CFileException it raises becomes sticky.
    template <typename Action>
    void Guarded(Action&& action);
    void FlushBuffer();
    /// Tells the observer that done bytes have moved; throws when it cancels.
    void ReportProgress(std::uint64_t done);

    static constexpr std::size_t kBufferSize = 64 * 1024;

    std::unique_ptr<Device> device;
    Mode mode;
    std::string name;
    std::unique_ptr<char[]> buffer;
    std::size_t begin = 0;  ///< loading: first unread byte of the buffer
    std::size_t end = 0;    ///< loading: end of the buffered bytes; storing: bytes buffered
    std::uint64_t position = 0;
    std::uint64_t size = 0;
    ProgressObserver* observer = nullptr;
    bool closed = false;
    std::optional<FileStamp> readStamp;
    std::unique_ptr<CFileException> failure;
};
