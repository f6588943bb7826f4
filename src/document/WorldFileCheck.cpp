#include "document/WorldFileCheck.h"

#include "document/OpenWorldFile.h"
#include "document/World.h"
#include "framework/PrintableName.h"
#include "objects/DrawableObject.h"

WorldFileCheck CheckWorldFile(const std::string& path, ProgressObserver* progress) {
    WorldFileCheck check;
    check.path = path;
    OpenedWorldFile opened = OpenWorldFile(path, progress);
    check.readable = opened.verdict != WorldFileVerdict::unreadable;
    check.complete = opened.IsComplete();
    check.error = opened.error;
    check.bytes = opened.bytes;
    check.load = opened.report;
    const World& world = *opened.world;
    world.GetWorldSize(check.width, check.height);
    for (const auto* node = world.GetAllObjects().head; node != nullptr; node = node->next) {
        ++check.objects;
        if (const auto* drawable = dynamic_cast<const DrawableObject*>(node->value)) {
            check.shapes += drawable->GetShapes().count;
        }
    }
    return check;
}
std::string FormatWorldFileCheck(const WorldFileCheck& check) {
    std::string text = PrintableText(check.path) + ": ";
    if (!check.readable) {
        text += "unreadable\n  " + check.error + "\n";
        if (check.bytes == 0) {
            return text;
        }
        text += "  before the error:\n";
    } else if (check.load.status == WorldLoadReport::NotAWorldFile) {
        return text + "not a world file\n  " + Describe(check.load) + "\n";
    } else if (check.load.status == WorldLoadReport::Partial) {
        text += "read in part; saving it would drop the rest\n  stopped at " +
                Describe(check.load) + "\n";
    } else if (check.load.skippedWords > 0) {
        text += "read to the end, but saving it would drop words it did not understand\n";
    } else if (check.load.emptyFile) {
        text += "empty; it opens as a new world that a save fills\n";
    } else {
        text += "complete\n";
    }
    if (check.readable && check.load.skippedWords > 0) {
        text += "  " + DescribeSkippedWords(check.load) + "\n";
    }
    text += "  size: " + std::to_string(check.width) + " x " + std::to_string(check.height) +
            "\n  objects: " + std::to_string(check.objects) +
            "\n  shapes: " + std::to_string(check.shapes) +
            "\n  file size: " + std::to_string(check.bytes) + " bytes\n";
    return text;
}
