#pragma once

// Temporary folders and whole-file reads and writes for tests that go through real files.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace velk_test {

/// A path as Velk names files: UTF-8 on every system (std::filesystem's string() is the
/// system's narrow code page, which on Windows is not UTF-8).
inline std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

/// The path of UTF-8 text.
inline std::filesystem::path PathOf(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

/// A path that also reads as Velk's UTF-8 text, so that tests hand the same expression to the
/// standard library and to Velk on every system (on Windows a path converts to UTF-16 only).
class TestPath : public std::filesystem::path {
public:
    using std::filesystem::path::path;
    TestPath(std::filesystem::path path) : std::filesystem::path(std::move(path)) {}
    operator std::string() const { return PathText(*this); }
};

/// Sets the process's environment variable name to value, or removes it when value is null.
inline void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
    ::_putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
#endif
}

/// A new empty folder, removed with everything in it at the end of the test, even where a test
/// took away the permissions to do so.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
            const std::filesystem::path candidate =
                std::filesystem::temp_directory_path() /
                ("velk-test-" + std::to_string(random()) + "-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                std::filesystem::permissions(candidate, std::filesystem::perms::owner_all, error);
                path = candidate;
            }
        }
        if (path.empty()) {
            ADD_FAILURE() << "cannot make a temporary folder";
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(path, ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(path, ignored);
    }

    TestPath operator/(const std::string& name) const { return TestPath(path / PathOf(name)); }
    /// The names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path)) {
            names.push_back(PathText(entry.path().filename()));
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path path;
};

}  // namespace velk_test
