#include "view/RenderWorld.h"

#include <cstdint>
#include <system_error>

#include "document/OpenWorldFile.h"
#include "document/World.h"
#include "files/FileSaver.h"
#include "files/Os.h"
#include "framework/HeadlessHost.h"
#include "framework/PrintableName.h"
#include "gdi/PngFile.h"
#include "view/CWorldView.h"

namespace {

/// Writes the picture as the whole content of path, through the same saver as a world: the
/// old picture stays until the new one is whole, and the file keeps its mode and owner.
bool WritePngWhole(const CBitmap& picture, const std::string& path, std::string& error) {
    std::string bytes;
    std::string why;
    if (!EncodePng(picture, bytes, &why)) {
        error = "cannot write " + PrintableName(path) + ": " + why;
        return false;
    }
    const FileError failed = SaveWholeFile(path, bytes);
    if (failed.failed()) {
        error = "cannot write " + PrintableName(path) + ": " +
                (failed.notRegularFile ? std::string("not a regular file")
                                       : std::generic_category().message(failed.code));
        return false;
    }
    return true;
}

bool IsSameFile(const std::string& first, const std::string& second) {
    const OsResult<FileInfo> a = TheOs().InfoOf(first, true);
    const OsResult<FileInfo> b = TheOs().InfoOf(second, true);
    return a.ok() && b.ok() && a.value.device == b.value.device && a.value.inode == b.value.inode;
}

}  // namespace

bool RenderWorldToPng(World& world, const std::string& pngPath, std::string& error) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    world.GetWorldSize(width, height);
    const std::string size = std::to_string(width) + " by " + std::to_string(height);
    if (width <= 0 || height <= 0) {
        error = "The world is " + size + " pixels and has nothing to show.";
        return false;
    }
    if (!(CWorldView::BackBufferSizeFor(width, height) == SIZE{width, height})) {
        error = "The world is " + size + " pixels, larger than the view can paint (at most " +
                std::to_string(CWorldView::kMaxBackBufferSide) + " pixels a side and " +
                std::to_string(CWorldView::kMaxBackBufferPixels) + " pixels in all).";
        return false;
    }

    // The window is made empty and given the world's size only after the initial update, so the
    // view never sees a client area larger than the world and has no reason to grow it.
    HeadlessHost host(SIZE{});
    CWorldView view;
    world.AddView(&view);
    view.Create(&host);
    view.OnInitialUpdate();
    host.Resize(SIZE{width, height});
    host.PumpPaint();
    world.RemoveView(&view);
    return WritePngWhole(host.GetClientPixels(), pngPath, error);
}

bool RenderWorldFileToPng(const std::string& worldPath, const std::string& pngPath,
                          std::string& error, IncompleteWorlds incomplete, std::string* warning,
                          ProgressObserver* progress) {
    if (IsSameFile(worldPath, pngPath)) {
        error = PrintableName(pngPath) + " is the world file itself; it is not written over";
        return false;
    }
    const OpenedWorldFile opened = OpenWorldFile(worldPath, progress);
    switch (opened.verdict) {
        case WorldFileVerdict::complete:
            break;
        case WorldFileVerdict::unreadable:
        case WorldFileVerdict::notAWorldFile:
            error = opened.Problem(worldPath);
            return false;
        case WorldFileVerdict::partial:
        case WorldFileVerdict::skippedText:
            if (incomplete == IncompleteWorlds::refuse) {
                error = opened.Problem(worldPath);
                return false;
            }
            if (warning != nullptr) {
                *warning = opened.Problem(worldPath) + "; the picture shows what was understood";
            }
            break;
    }
    return RenderWorldToPng(*opened.world, pngPath, error);
}
