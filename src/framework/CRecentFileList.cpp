#include "framework/CRecentFileList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "framework/AppServices.h"

namespace {

// Paths longer than this are shortened in the menu; menus wider than a screen help no one.
constexpr std::size_t kMenuPathLength = 60;

std::string Normalised(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return path;
    }
    return absolute.lexically_normal().string();
}

std::string ShownPath(const std::string& path) {
    if (path.size() <= kMenuPathLength) {
        return path;
    }
    std::string name = std::filesystem::path(path).filename().string();
    std::size_t room = kMenuPathLength > name.size() + 4 ? kMenuPathLength - name.size() - 4 : 0;
    return path.substr(0, room) + ".../" + name;
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
        std::string path = settings.GetString(section_, EntryName(i), "");
        if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end()) {
            paths_.push_back(path);
        }
    }
}

void CRecentFileList::WriteList(SettingsStore& settings) const {
    for (std::size_t i = 0; i < maxSize_; ++i) {
        if (i < paths_.size()) {
            settings.WriteString(section_, EntryName(i), paths_[i]);
        } else {
            settings.RemoveEntry(section_, EntryName(i));
        }
    }
}
