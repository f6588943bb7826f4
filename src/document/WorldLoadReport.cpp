#include "document/WorldLoadReport.h"

std::string QuoteFileText(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > ' ' && byte < 0x7F && c != '"' && c != '\\') {
            quoted += c;
        } else {
            quoted += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return quoted + "\"";
}

std::string Describe(const WorldLoadReport& report) {
    if (report.status == WorldLoadReport::Complete) {
        return "read completely";
    }
    std::string text = "line " + std::to_string(report.line) + ", column " +
                       std::to_string(report.column) + ": expected " + report.expected;
    if (!report.found.empty()) {
        text += ", found " + report.found;
    }
    return text;
}

std::string DescribeSkippedWords(const WorldLoadReport& report) {
    if (report.skippedWords == 0) {
        return "";
    }
    std::string text = report.skippedWords == 1
                           ? std::string("1 word was not understood and was skipped: ")
                           : std::to_string(report.skippedWords) +
                                 " words were not understood and were skipped, the first ";
    text += QuoteFileText(report.firstSkippedWord);
    if (report.firstSkippedLine > 0) {
        text += " at line " + std::to_string(report.firstSkippedLine) + ", column " +
                std::to_string(report.firstSkippedColumn);
    }
    return text;
}
