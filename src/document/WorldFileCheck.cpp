#include "document/WorldFileCheck.h"

#include "document/World.h"
#include "framework/CArchive.h"
#include "framework/CFileException.h"
#include "objects/DrawableObject.h"

WorldFileCheck CheckWorldFile(const std::string& path, ProgressObserver* progress) {
    WorldFileCheck check;
    check.path = path;
    World world;
    try {
        CArchive archive(path, CArchive::load);
        archive.SetProgressObserver(progress);
        try {
            world.Serialize(archive);
            // The rest of a file read in part still counts for its size.
            char rest[4096];
            while (archive.Read(rest, sizeof rest) != 0) {
            }
        } catch (const CFileException&) {
            check.bytes = archive.GetPosition();
            throw;
        }
        check.bytes = archive.GetPosition();
        archive.Close();
    } catch (const CFileException& error) {
        check.readable = false;
        check.error = error.what();
    }
    check.load = world.GetLoadReport();
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
    std::string text = check.path + ": ";
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
