#include "framework/PrintableName.h"

#include <cstdint>
#include <cstdio>

namespace {

/// The length of the UTF-8 sequence at text[at] and its code point; 0 when it is not one.
std::size_t DecodeUtf8(const std::string& text, std::size_t at, std::uint32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = lead < 0x80                   ? 1
                         : lead >= 0xC2 && lead < 0xE0 ? 2
                         : lead >= 0xE0 && lead < 0xF0 ? 3
                         : lead >= 0xF0 && lead < 0xF5 ? 4
                                                       : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
        return 0;  // overlong, beyond Unicode, or a surrogate
    }
    return length;
}

bool Hidden(std::uint32_t code) {
    return code < 0x20 || (code >= 0x7F && code < 0xA0) || code == 0x061C || code == 0x200E ||
           code == 0x200F || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069);
}

}  // namespace

std::string PrintableName(const std::string& path) {
    return "\"" + PrintableText(path) + "\"";
}

std::string PrintableText(const std::string& path) {
    std::string shown;
    char escape[16];
    for (std::size_t at = 0; at < path.size();) {
        std::uint32_t code = 0;
        const std::size_t length = DecodeUtf8(path, at, code);
        if (length == 0) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(path[at]));
            shown += escape;
            ++at;
        } else if (Hidden(code)) {
            std::snprintf(escape, sizeof escape, code < 0x100 ? "\\x%02X" : "\\u{%04X}",
                          static_cast<unsigned>(code));
            shown += escape;
            at += length;
        } else {
            shown.append(path, at, length);
            at += length;
        }
    }
    return shown;
}
