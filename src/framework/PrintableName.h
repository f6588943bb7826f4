#pragma once

#include <string>

/// A file's name or path as a message shows it, in double quotes: what a terminal or a label
/// would act on is written out instead. Control characters, bytes that are not UTF-8 and the
/// characters that turn or isolate the direction of text (which can make "dlrow.exe" read as
/// "exe.world") become \xHH or \u{HHHH}; every other character, non-ASCII ones included, stays.
std::string PrintableName(const std::string& path);
/// The same without the quotes, for a title.
std::string PrintableText(const std::string& text);
