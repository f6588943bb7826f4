#include "document/WorldLoadReport.h"

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
