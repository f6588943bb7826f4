#include "framework/CRecentFileList.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "files/FileTools.h"
#include "framework/Backend.h"

namespace {

// Paths longer than this are shortened in the menu; menus wider than a screen help no one.
constexpr std::size_t kMenuPathLength = 60;

std::string Normalised(const std::string& path) {
    return AbsolutePath(path);
}

std::string ShownPath(const std::string& path) {
    if (path.size() <= kMenuPathLength) {
        return path;
    }
    std::string name = FileNameOf(path);
    std::size_t room = kMenuPathLength > name.size() + 4 ? kMenuPathLength - name.size() - 4 : 0;
    return path.substr(0, room) + "..." + kPathSeparator + name;
}

constexpr std::string_view kEncodedPrefix = "file://";

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80         ? 1
                             : (lead >> 5) == 6  ? 2
                             : (lead >> 4) == 14 ? 3
                             : (lead >> 3) == 30 ? 4
                                                 : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 2) {
                return false;
            }
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8 either.
        static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            return false;
        }
        i += length;
    }
    return true;
}

// Settings hold text: a path that is not UTF-8 is kept as a file URL with its bytes
// percent-encoded, so it comes back byte for byte. Other paths are stored as they are, as
// they always were.
std::string Stored(const std::string& path) {
    if (IsUtf8(path) && path.compare(0, kEncodedPrefix.size(), kEncodedPrefix) != 0) {
        return path;
    }
    static const char kHex[] = "0123456789ABCDEF";
    std::string text(kEncodedPrefix);
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            text += c;
        } else {
            text += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return text;
}

std::string Restored(const std::string& text) {
    if (text.compare(0, kEncodedPrefix.size(), kEncodedPrefix) != 0) {
        return text;
    }
    auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                      : -1;
    };
    std::string path;
    for (std::size_t i = kEncodedPrefix.size(); i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && digit(text[i + 1]) >= 0 &&
            digit(text[i + 2]) >= 0) {
            path += static_cast<char>(digit(text[i + 1]) * 16 + digit(text[i + 2]));
            i += 2;
        } else {
            path += text[i];
        }
    }
    return path;
}

}  // namespace

CRecentFileList::CRecentFileList(std::string section, std::string entryFormat, std::size_t size)
    : section_(std::move(section)), entryFormat_(std::move(entryFormat)), maxSize_(size) {}

void CRecentFileList::Add(const std::string& path) {
    if (path.empty() || maxSize_ == 0) {
        return;
    }
    std::string normal = Normalised(path);
    std::erase(paths_, normal);
    paths_.insert(paths_.begin(), normal);
    if (paths_.size() > maxSize_) {
        paths_.resize(maxSize_);
    }
}

void CRecentFileList::Remove(std::size_t index) {
    if (index < paths_.size()) {
        paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

std::string CRecentFileList::GetMenuText(std::size_t index) const {
    std::string text = "&";
    text += std::to_string(index + 1);
    text += ' ';
    for (char c : ShownPath(paths_.at(index))) {
        text += c;
        if (c == '&') {
            text += '&';
        }
    }
    return text;
}

std::string CRecentFileList::EntryName(std::size_t index) const {
    std::string name = entryFormat_;
    std::size_t at = name.find("%d");
    std::string number = std::to_string(index + 1);
    return at == std::string::npos ? name + number : name.replace(at, 2, number);
}

void CRecentFileList::ReadList(const SettingsStore& settings) {
    paths_.clear();
    for (std::size_t i = 0; i < maxSize_; ++i) {
        std::string path = Restored(settings.GetString(section_, EntryName(i), ""));
        if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end()) {
            paths_.push_back(path);
        }
    }
}

void CRecentFileList::WriteList(SettingsStore& settings) const {
    for (std::size_t i = 0; i < maxSize_; ++i) {
        if (i < paths_.size()) {
            settings.WriteString(section_, EntryName(i), Stored(paths_[i]));
        } else {
            settings.RemoveEntry(section_, EntryName(i));
        }
    }
}
