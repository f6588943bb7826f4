// Watching one file on Windows: a thread reads the changes of the file's folder
// (ReadDirectoryChangesW) and gives a notice when one of them concerns the file's name. Watching
// the folder rather than the file is what lets a deletion, a re-creation and a file renamed
// onto the name be heard: a handle on the file itself would follow the old file away.

#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "files/SystemFileWatcher.h"
#include "files/windows/WindowsText.h"

namespace {

/// Changes that come this close after each other are one notice, such as the writes of a save.
constexpr ULONGLONG kQuietMs = 50;
/// A stream of changes that never pauses still gives a notice this often.
constexpr ULONGLONG kLongestWaitMs = 500;
/// How often a missing folder is looked for.
constexpr DWORD kMissingFolderMs = 250;

constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                           FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE |
                           FILE_NOTIFY_CHANGE_CREATION | FILE_NOTIFY_CHANGE_ATTRIBUTES;

bool SameName(const std::wstring& name, const std::wstring& wanted) {
    return !wanted.empty() &&
           ::CompareStringOrdinal(name.data(), static_cast<int>(name.size()), wanted.data(),
                                  static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL;
}

/// One open folder and the read of its changes that is under way.
class FolderReader {
public:
    FolderReader() : done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), buffer_(64 * 1024) {}
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;
    ~FolderReader() {
        Close();
        if (done_ != nullptr) {
            ::CloseHandle(done_);
        }
    }

    bool IsOpen() const { return folder_ != INVALID_HANDLE_VALUE; }
    HANDLE Done() const { return done_; }

    /// Opens the folder and starts reading its changes; false when it cannot.
    bool Open(const std::wstring& path) {
        Close();
        if (done_ == nullptr) {
            return false;
        }
        folder_ = ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                                nullptr);
        if (folder_ == INVALID_HANDLE_VALUE) {
            return false;
        }
        if (!Arm()) {
            Close();
            return false;
        }
        return true;
    }

    /// Stops the read under way and closes the folder. The read is waited for, since it
    /// writes into this reader's buffer; a cancelled read ends at once.
    void Close() {
        if (folder_ == INVALID_HANDLE_VALUE) {
            return;
        }
        if (reading_) {
            ::CancelIoEx(folder_, &overlapped_);
            DWORD bytes = 0;
            ::GetOverlappedResult(folder_, &overlapped_, &bytes, TRUE);
            reading_ = false;
        }
        ::CloseHandle(folder_);
        folder_ = INVALID_HANDLE_VALUE;
    }

    enum class Result { nothing, named, unknown, lost };

    /// Takes the finished read: whether it named one of names, could not say what changed (too
    /// many changes at once), or the folder is lost. Starts the next read.
    Result Take(const std::wstring& name, const std::wstring& shortName) {
        DWORD bytes = 0;
        const bool ok = ::GetOverlappedResult(folder_, &overlapped_, &bytes, FALSE) != 0;
        reading_ = false;
        Result result = Result::nothing;
        if (!ok) {
            result = Result::lost;
        } else if (bytes == 0) {
            result = Result::unknown;
        } else {
            // Entries follow one another by their offsets, which Wine does not round up to
            // whole DWORDs as Windows does: each is copied out rather than read in place.
            const char* const changes = reinterpret_cast<const char*>(buffer_.data());
            const DWORD header = offsetof(FILE_NOTIFY_INFORMATION, FileName);
            for (DWORD at = 0; at + header <= bytes;) {
                FILE_NOTIFY_INFORMATION entry{};
                std::memcpy(&entry, changes + at, header);
                const DWORD length = std::min<DWORD>(entry.FileNameLength, bytes - at - header);
                std::wstring changed(length / sizeof(wchar_t), L'\0');
                std::memcpy(changed.data(), changes + at + header,
                            changed.size() * sizeof(wchar_t));
                if (SameName(changed, name) || SameName(changed, shortName)) {
                    result = Result::named;
                    break;
                }
                if (entry.NextEntryOffset == 0) {
                    break;
                }
                at += entry.NextEntryOffset;
            }
        }
        if (result != Result::lost && !Arm()) {
            result = Result::lost;
        }
        if (result == Result::lost) {
            Close();
        }
        return result;
    }

private:
    bool Arm() {
        ::ResetEvent(done_);
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = done_;
        reading_ = ::ReadDirectoryChangesW(folder_, buffer_.data(),
                                           static_cast<DWORD>(buffer_.size() * sizeof(DWORD)),
                                           FALSE, kChanges, nullptr, &overlapped_, nullptr) != 0;
        return reading_;
    }

    HANDLE folder_ = INVALID_HANDLE_VALUE;
    HANDLE done_;
    OVERLAPPED overlapped_{};
    bool reading_ = false;
    /// DWORD-aligned, as the changes must be.
    std::vector<DWORD> buffer_;
};

class WindowsFileWatcher final : public FileWatcher {
public:
    explicit WindowsFileWatcher(FileNotice notice)
        : notice_(std::move(notice)), wake_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
        if (wake_ == nullptr) {
            throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                                    "CreateEvent");
        }
        thread_ = std::thread([this] { Run(); });
    }

    ~WindowsFileWatcher() override {
        {
            const std::lock_guard<std::mutex> hold(mutex_);
            stop_ = true;
        }
        ::SetEvent(wake_);
        thread_.join();
        ::CloseHandle(wake_);
    }

    void Watch(const std::string& path) override {
        std::wstring wide;
        if (!velk_windows::ToSystemPath(path, wide)) {
            wide.clear();
        }
        std::unique_lock<std::mutex> lock(mutex_);
        wanted_ = std::move(wide);
        const std::uint64_t wish = ++wish_;
        ::SetEvent(wake_);
        settled_.wait(lock, [&] { return taken_ >= wish || stop_; });
    }

private:
    /// The folder and the name within it of the file at path; an empty name for none.
    static void Split(const std::wstring& path, std::wstring& folder, std::wstring& name) {
        const std::size_t cut = path.find_last_of(L"\\/");
        if (cut == std::wstring::npos) {
            folder = L".";
            name = path;
        } else {
            name = path.substr(cut + 1);
            // The root of a drive keeps its separator: "C:" alone is the drive's current folder.
            const bool root = cut == 0 || path[cut - 1] == L':';
            folder = path.substr(0, root ? cut + 1 : cut);
        }
    }

    /// The file's short (8.3) name, which some changes are reported by; empty when it has none.
    static std::wstring ShortName(const std::wstring& path, const std::wstring& name) {
        const DWORD size = ::GetShortPathNameW(path.c_str(), nullptr, 0);
        if (size == 0) {
            return {};
        }
        std::wstring shortPath(size, L'\0');
        const DWORD length = ::GetShortPathNameW(path.c_str(), shortPath.data(), size);
        if (length == 0 || length >= size) {
            return {};
        }
        shortPath.resize(length);
        const std::size_t cut = shortPath.find_last_of(L"\\/");
        std::wstring shortName = cut == std::wstring::npos ? shortPath : shortPath.substr(cut + 1);
        return ::CompareStringOrdinal(shortName.data(), static_cast<int>(shortName.size()),
                                      name.data(), static_cast<int>(name.size()),
                                      TRUE) == CSTR_EQUAL
                   ? std::wstring()
                   : shortName;
    }

    void Run() {
        FolderReader reader;
        std::uint64_t taken = 0;
        std::wstring folder;
        std::wstring name;
        std::wstring shortName;
        bool missing = false;     // the folder could not be opened, or was lost
        ULONGLONG lookAgain = 0;  // when to look for a missing folder again
        bool due = false;         // a notice is to be given once the changes pause
        ULONGLONG firstChange = 0;
        ULONGLONG lastChange = 0;
        const auto changed = [&] {
            const ULONGLONG now = ::GetTickCount64();
            if (!due) {
                firstChange = now;
            }
            due = true;
            lastChange = now;
        };
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                if (stop_) {
                    break;
                }
                if (taken != wish_) {
                    taken = wish_;
                    const std::wstring path = wanted_;
                    lock.unlock();
                    due = false;
                    Split(path, folder, name);
                    reader.Close();
                    missing = false;
                    lookAgain = 0;
                    if (!name.empty()) {
                        missing = !reader.Open(folder);
                        lookAgain = ::GetTickCount64() + kMissingFolderMs;
                        shortName = ShortName(path, name);
                    }
                    lock.lock();
                    taken_ = taken;
                    settled_.notify_all();
                }
            }
            const bool watching = !name.empty();
            if (watching && !reader.IsOpen() && ::GetTickCount64() >= lookAgain) {
                if (reader.Open(folder)) {
                    if (missing) {
                        changed();  // the folder is back, and the file may be with it
                    }
                    missing = false;
                } else {
                    missing = true;
                    lookAgain = ::GetTickCount64() + kMissingFolderMs;
                }
            }
            DWORD timeout = INFINITE;
            if (due) {
                const ULONGLONG now = ::GetTickCount64();
                const ULONGLONG quietEnd = lastChange + kQuietMs;
                const ULONGLONG end = std::min(quietEnd, firstChange + kLongestWaitMs);
                timeout = end > now ? static_cast<DWORD>(end - now) : 0;
            }
            if (watching && !reader.IsOpen()) {
                const ULONGLONG now = ::GetTickCount64();
                timeout = std::min<DWORD>(
                    timeout, lookAgain > now ? static_cast<DWORD>(lookAgain - now) : 0);
            }
            const HANDLE waits[] = {wake_, reader.Done()};
            const DWORD count = reader.IsOpen() ? 2 : 1;
            const DWORD woken = ::WaitForMultipleObjects(count, waits, FALSE, timeout);
            if (woken == WAIT_OBJECT_0 + 1) {
                switch (reader.Take(name, shortName)) {
                    case FolderReader::Result::nothing:
                        break;
                    case FolderReader::Result::named:
                    case FolderReader::Result::unknown:
                    case FolderReader::Result::lost:
                        missing = true;
                        lookAgain = ::GetTickCount64() + kMissingFolderMs;
                        changed();
                        break;
                }
            } else if (woken == WAIT_TIMEOUT && due) {
                const ULONGLONG now = ::GetTickCount64();
                if (now >= lastChange + kQuietMs || now >= firstChange + kLongestWaitMs) {
                    due = false;
                    // A folder deleted while open stays until its last handle goes: let go.
                    if (reader.IsOpen() &&
                        ::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
                        reader.Close();
                        missing = true;
                        lookAgain = now + kMissingFolderMs;
                    }
                    Notify(taken);
                }
            }
        }
    }

    /// Gives the notice unless the watcher has since been told to stop or to watch another file.
    void Notify(std::uint64_t taken) {
        {
            const std::lock_guard<std::mutex> hold(mutex_);
            if (stop_ || taken != wish_) {
                return;
            }
        }
        if (notice_) {
            notice_();
        }
    }

    FileNotice notice_;
    HANDLE wake_;
    std::mutex mutex_;
    std::condition_variable settled_;
    std::wstring wanted_;
    std::uint64_t wish_ = 0;   ///< how many times Watch was called
    std::uint64_t taken_ = 0;  ///< how many of those the thread has taken up
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<FileWatcher> MakeSystemFileWatcher(FileNotice notice) {
    return std::make_unique<WindowsFileWatcher>(std::move(notice));
}
