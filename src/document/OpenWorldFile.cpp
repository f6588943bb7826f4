#include "document/OpenWorldFile.h"

#include <new>

#include "framework/CArchive.h"
#include "framework/CFileException.h"
#include "framework/PrintableName.h"

WorldFileVerdict JudgeWorldLoad(const WorldLoadReport& report) {
    switch (report.status) {
        case WorldLoadReport::Complete:
            return report.skippedWords > 0 ? WorldFileVerdict::skippedText
                                           : WorldFileVerdict::complete;
        case WorldLoadReport::Partial:
            return WorldFileVerdict::partial;
        case WorldLoadReport::NotAWorldFile:
            return WorldFileVerdict::notAWorldFile;
    }
    return WorldFileVerdict::partial;
}

std::string OpenedWorldFile::Problem(const std::string& path) const {
    const std::string name = PrintableName(path);
    switch (verdict) {
        case WorldFileVerdict::complete:
            return "";
        case WorldFileVerdict::skippedText:
            return name + " was read to the end, but " + DescribeSkippedWords(report);
        case WorldFileVerdict::partial:
            return name + " could be read only up to " + Describe(report);
        case WorldFileVerdict::notAWorldFile:
            return name + " is not a world file: " + Describe(report);
        case WorldFileVerdict::unreadable:
            return error;
    }
    return error;
}

OpenedWorldFile OpenWorldFile(const std::string& path, ProgressObserver* progress) {
    OpenedWorldFile opened;
    opened.world = std::make_unique<World>();
    try {
        CArchive archive(path, CArchive::load);
        archive.SetProgressObserver(progress);
        try {
            opened.world->Serialize(archive);
            char rest[4096];
            while (archive.Read(rest, sizeof rest) != 0) {
            }
        } catch (const CFileException&) {
            opened.bytes = archive.GetPosition();
            throw;
        }
        opened.bytes = archive.GetPosition();
        archive.Close();
    } catch (const CFileException& failure) {
        opened.verdict = WorldFileVerdict::unreadable;
        opened.error = failure.what();
        opened.report = opened.world->GetLoadReport();
        return opened;
    } catch (const std::bad_alloc&) {
        // What was read goes at once: it is what took the memory, and it is no world to show.
        static_cast<void>(opened.world->OnNewDocument());
        opened.verdict = WorldFileVerdict::unreadable;
        opened.error = "Cannot open " + PrintableName(path) + ": not enough memory";
        opened.report = opened.world->GetLoadReport();
        return opened;
    }
    opened.report = opened.world->GetLoadReport();
    opened.verdict = JudgeWorldLoad(opened.report);
    return opened;
}
