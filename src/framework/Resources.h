#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

/// One entry of a menu: a command item, a separator, or a pop-up menu with items of its own.
struct MenuItem {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    /// The text as shown, '&' before the mnemonic letter and a tab before the shortcut text.
    std::string text;
    unsigned command = 0;
    /// Shown disabled whatever the command routing says (the placeholder of the recent files).
    bool grayed = false;
    std::vector<MenuItem> items;  ///< of a pop-up

    static MenuItem Item(std::string text, unsigned command, bool grayed = false) {
        return {Kind::Command, std::move(text), command, grayed, {}};
    }
    static MenuItem Separator() { return {Kind::Separator, {}, 0, false, {}}; }
    static MenuItem Popup(std::string text, std::vector<MenuItem> items) {
        return {Kind::Popup, std::move(text), 0, false, std::move(items)};
    }
};

/// One accelerator: a virtual key with FCONTROL, FSHIFT, FALT (and FVIRTKEY) flags.
struct Accelerator {
    unsigned flags = 0;
    unsigned key = 0;
    unsigned command = 0;
};

/// One control of a dialog template, placed in dialog units.
struct DialogControl {
    enum class Kind { Static, Button, Icon };
    Kind kind = Kind::Static;
    int id = -1;
    int x = 0, y = 0, width = 0, height = 0;
    unsigned long style = 0;
    /// The text of a static or button; for an icon, the icon resource's number in decimal.
    std::string text;
};

/// A dialog's layout in dialog units, with its controls in tab order.
struct DialogTemplate {
    int width = 0, height = 0;
    unsigned long style = 0;
    std::string caption;
    std::string fontName;
    int fontPoints = 0;
    std::vector<DialogControl> controls;
};

/// One image of an icon group: a PNG file's bytes and its size.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> png;
};

/// The version record: numbers and the string block of one language.
struct VersionRecord {
    std::uint16_t fileVersion[4] = {};
    std::uint16_t productVersion[4] = {};
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
    /// Key and value, in the order of the record.
    std::vector<std::pair<std::string, std::string>> strings;

    /// The value of a key of the string block; empty when the key is absent.
    std::string Value(const std::string& key) const {
        for (const auto& [name, value] : strings) {
            if (name == key) {
                return value;
            }
        }
        return {};
    }
};

/// Every resource of a program, by number. The application hands its set to the framework,
/// which loads menus, accelerators, strings, dialogs and icons from it.
struct ResourceSet {
    std::map<unsigned, std::vector<MenuItem>> menus;  ///< the top-level pop-ups of each menu
    std::map<unsigned, std::vector<Accelerator>> accelerators;
    std::map<unsigned, std::string> strings;
    std::map<unsigned, DialogTemplate> dialogs;
    std::map<unsigned, std::vector<IconImage>> icons;
    VersionRecord version;

    /// The string of that number; empty when there is none.
    std::string LoadString(unsigned id) const {
        auto found = strings.find(id);
        return found == strings.end() ? std::string() : found->second;
    }
};

/// Fields of a document string (resource of the document template), in order.
enum class DocStringIndex {
    windowTitle,
    docName,
    fileNewName,
    filterName,
    filterExt,
    regFileTypeId,
    regFileTypeName
};

/// The field of a document string with fields separated by line breaks; empty when missing.
std::string GetDocStringField(const std::string& docString, DocStringIndex index);

/// The status-bar prompt of a command's string: the text before its first line break.
std::string PromptOfCommandString(const std::string& commandString);
