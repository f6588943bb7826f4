#include "framework/CArchive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "files/FileHandle.h"
#include "files/FileSaver.h"
#include "files/ProgressObserver.h"

class CArchive::Device {
public:
    virtual ~Device() = default;
    /// Up to count bytes; 0 only at the end.
    virtual std::size_t ReadSome(char* destination, std::size_t count) = 0;
    virtual void WriteAll(const char* source, std::size_t count) = 0;
    /// Makes what was written the content of the target, calling replacing (when set) just
    /// before the target's old content starts to go.
    virtual void Commit(const std::function<void()>& replacing) = 0;
    /// Loading: the size of the source; 0 when not known.
    virtual std::uint64_t Size() const { return 0; }
    /// Loading a file read to its end: the file as read.
    virtual std::optional<FileStamp> ReadStamp() const { return std::nullopt; }
};

namespace {

class FileReader : public CArchive::Device {
public:
    explicit FileReader(const std::string& path) : path(path), file(Open(path, openedInfo)) {}

    std::size_t ReadSome(char* destination, std::size_t count) override {
        const OsResult<std::size_t> read = TheOs().Read(file.Get(), destination, count);
        if (!read.ok()) {
            throw CFileException(CFileException::read, path, read.error);
        }
        // Every byte passes here once, so the file's stamp comes with the load.
        hash.Add(destination, read.value);
        bytesRead += read.value;
        atEnd = atEnd || (read.value == 0 && count > 0);
        return read.value;
    }
    void WriteAll(const char* /*source*/, std::size_t /*count*/) override {}
    void Commit(const std::function<void()>& /*replacing*/) override { file.Close(); }
    std::uint64_t Size() const override { return openedInfo.size; }
    std::optional<FileStamp> ReadStamp() const override {
        if (!atEnd) {
            return std::nullopt;
        }
        return FileStamp::AsRead(openedInfo, bytesRead, hash);
    }

private:
    // Only regular files: a directory cannot be read, and a device or a pipe could feed the
    // reader without end. Opening does not wait for a pipe's writer; blocking reads come back
    // once the file is known to be regular.
    static FileHandle Open(const std::string& path, FileInfo& openedInfo) {
        const OsResult<FileId> opened = TheOs().Open(path, kReadOnly | kNoWait, 0);
        if (!opened.ok()) {
            throw CFileException(CFileException::open, path, opened.error);
        }
        FileHandle file(opened.value);
        const OsResult<FileInfo> info = TheOs().Info(file.Get());
        if (!info.ok()) {
            throw CFileException(CFileException::open, path, info.error);
        }
        if (info.value.kind == FileKind::folder) {
            throw CFileException(CFileException::open, path, EISDIR);
        }
        if (info.value.kind != FileKind::regular) {
            throw CFileException(CFileException::open, path, "not a regular file");
        }
        if (const OsError error = TheOs().Wait(file.Get())) {
            throw CFileException(CFileException::open, path, error);
        }
        openedInfo = info.value;
        return file;
    }

    std::string path;
    FileInfo openedInfo;
    FileHandle file;
    FileHash hash;
    std::uint64_t bytesRead = 0;
    bool atEnd = false;
};

/// Hands the bytes to a FileSaver, which touches the target only on Commit.
class FileWriter : public CArchive::Device {
public:
    explicit FileWriter(const std::string& path) : path(path), saver(path) { Check(saver.Error()); }
    std::size_t ReadSome(char* /*destination*/, std::size_t /*count*/) override { return 0; }
    void WriteAll(const char* source, std::size_t count) override {
        Check(saver.Write(source, count));
    }
    void Commit(const std::function<void()>& replacing) override { Check(saver.Commit(replacing)); }

private:
    void Check(const FileError& error) const {
        if (error.failed()) {
            throw CFileException(CFileException::save, path, error);
        }
    }

    std::string path;
    FileSaver saver;
};

class MemoryReader : public CArchive::Device {
public:
    MemoryReader(std::string bytes, std::size_t chunk) : bytes(std::move(bytes)), chunk(chunk) {}
    std::size_t ReadSome(char* destination, std::size_t count) override {
        const std::size_t n = std::min({count, chunk, bytes.size() - next});
        std::memcpy(destination, bytes.data() + next, n);
        next += n;
        return n;
    }
    void WriteAll(const char* /*source*/, std::size_t /*count*/) override {}
    void Commit(const std::function<void()>& /*replacing*/) override {}
    std::uint64_t Size() const override { return bytes.size(); }

private:
    std::string bytes;
    std::size_t chunk;
    std::size_t next = 0;
};

class MemoryWriter : public CArchive::Device {
public:
    MemoryWriter(std::string& sink, std::size_t capacity) : sink(sink), capacity(capacity) {}
    std::size_t ReadSome(char* /*destination*/, std::size_t /*count*/) override { return 0; }
    void WriteAll(const char* source, std::size_t count) override {
        if (count > capacity - written.size()) {
            throw CFileException(CFileException::save, "memory", ENOSPC);
        }
        written.append(source, count);
    }
    void Commit(const std::function<void()>& replacing) override {
        if (replacing) {
            replacing();
        }
        sink = std::move(written);
    }

private:
    std::string& sink;
    std::size_t capacity;
    std::string written;
};

}  // namespace

CArchive::CArchive(const std::string& path, Mode mode)
    : CArchive(mode == load ? std::unique_ptr<Device>(std::make_unique<FileReader>(path))
                            : std::unique_ptr<Device>(std::make_unique<FileWriter>(path)),
               mode, path) {}

CArchive::CArchive(std::unique_ptr<Device> device, Mode mode, std::string name)
    : device(std::move(device)),
      mode(mode),
      name(std::move(name)),
      buffer(std::make_unique<char[]>(kBufferSize)),
      size(this->device->Size()) {}

CArchive CArchive::FromMemory(std::string bytes, std::size_t chunk) {
    return CArchive(std::make_unique<MemoryReader>(std::move(bytes), chunk), load, "memory");
}

CArchive CArchive::ToMemory(std::string& sink, std::size_t capacity) {
    return CArchive(std::make_unique<MemoryWriter>(sink, capacity), store, "memory");
}

CArchive::~CArchive() = default;

void CArchive::CheckUsable(CFileException::Operation operation) const {
    if (failure != nullptr) {
        throw *failure;
    }
    if (closed) {
        throw CFileException(operation, name, "the archive is closed");
    }
}

template <typename Action>
void CArchive::Guarded(Action&& action) {
    try {
        action();
    } catch (const CFileException& error) {
        failure = std::make_unique<CFileException>(error);
        throw;
    }
}

unsigned CArchive::Read(void* destination, unsigned count) {
    CheckUsable(CFileException::read);
    if (mode != load) {
        return 0;
    }
    char* out = static_cast<char*>(destination);
    std::size_t copied = 0;
    while (copied < count) {
        if (begin == end) {
            const std::size_t wanted = count - copied;
            std::size_t got = 0;
            ReportProgress(position + copied);
            if (wanted >= kBufferSize) {
                // A large read goes straight to the caller, without the extra copy.
                Guarded([&] { got = device->ReadSome(out + copied, wanted); });
                copied += got;
            } else {
                Guarded([&] { got = device->ReadSome(buffer.get(), kBufferSize); });
                begin = 0;
                end = got;
            }
            if (got == 0) {
                break;
            }
            continue;
        }
        const std::size_t take = std::min(end - begin, count - copied);
        std::memcpy(out + copied, buffer.get() + begin, take);
        begin += take;
        copied += take;
    }
    position += copied;
    return static_cast<unsigned>(copied);
}

void CArchive::Write(const void* source, unsigned count) {
    CheckUsable(CFileException::save);
    if (mode != store) {
        throw CFileException(CFileException::save, name, "the archive was opened for loading");
    }
    if (count > kBufferSize - end) {
        FlushBuffer();
        if (count >= kBufferSize) {
            ReportProgress(position);
            Guarded([&] { device->WriteAll(static_cast<const char*>(source), count); });
            position += count;
            return;
        }
    }
    std::memcpy(buffer.get() + end, source, count);
    end += count;
    position += count;
}

void CArchive::Flush() {
    CheckUsable(IsLoading() ? CFileException::read : CFileException::save);
    if (mode == store) {
        FlushBuffer();
    }
}

void CArchive::FlushBuffer() {
    if (end > 0) {
        ReportProgress(position);
        Guarded([&] { device->WriteAll(buffer.get(), end); });
        end = 0;
    }
}

void CArchive::ReportProgress(std::uint64_t done) {
    if (observer != nullptr && !observer->OnProgress(done, size)) {
        Guarded([&] {
            throw CFileException(IsLoading() ? CFileException::open : CFileException::save, name,
                                 "cancelled", ECANCELED);
        });
    }
}

void CArchive::Close() {
    if (closed) {
        return;
    }
    closed = true;
    try {
        if (failure != nullptr) {
            throw *failure;
        }
        if (mode == store) {
            FlushBuffer();
        }
        // Once the target's old content starts to go it is too late to cancel: for a rename
        // that is the rename, for a save in place the first byte written into the file.
        const auto replacing = [this] {
            if (observer != nullptr) {
                std::exchange(observer, nullptr)->OnPointOfNoReturn();
            }
        };
        Guarded([&] { device->Commit(replacing); });
        readStamp = device->ReadStamp();
    } catch (...) {
        device.reset();  // a storing file archive removes its temporary file
        throw;
    }
    device.reset();
}
