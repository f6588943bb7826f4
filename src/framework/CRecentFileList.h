#pragma once

#include <cstddef>
#include <string>
#include <vector>

class SettingsStore;

/// The recent-file list: at most a fixed number of paths, the latest first, each once.
class CRecentFileList {
public:
    /// A list of at most size entries kept in settings section as entryFormat with %d replaced
    /// by 1, 2, ... (for instance "File%d").
    CRecentFileList(std::string section, std::string entryFormat, std::size_t size);

    std::size_t GetMaxSize() const { return maxSize_; }
    std::size_t GetSize() const { return paths_.size(); }
    const std::string& operator[](std::size_t index) const { return paths_[index]; }

    /// Puts path first, made absolute and lexically normal; an equal entry moves up instead
    /// of appearing twice, and the oldest entry falls off a full list. An empty path is ignored.
    void Add(const std::string& path);
    /// Removes the entry at index; an index past the end is ignored.
    void Remove(std::size_t index);

    /// The text of a menu item: "&1 " and the path, with '&' doubled and a long path shortened
    /// in its middle so that the file name always shows.
    std::string GetMenuText(std::size_t index) const;

    /// Replaces the list with what settings hold; entries that are empty are skipped. Paths
    /// that are not UTF-8 are kept in settings as percent-encoded file URLs ("file://..."), so
    /// they come back byte for byte; other paths are kept as they are.
    void ReadList(const SettingsStore& settings);
    /// Writes every entry and removes the entries of slots that are empty.
    void WriteList(SettingsStore& settings) const;

private:
    std::string EntryName(std::size_t index) const;

    std::string section_;
    std::string entryFormat_;
    std::size_t maxSize_;
    std::vector<std::string> paths_;
};
