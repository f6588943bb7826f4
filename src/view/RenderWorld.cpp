#include "view/RenderWorld.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "document/OpenWorldFile.h"
#include "document/World.h"
#include "framework/HeadlessHost.h"
#include "gdi/PngFile.h"
#include "view/CWorldView.h"

namespace {

/// Writes the picture into a temporary file beside path and renames it over path once whole.
bool WritePngWhole(const CBitmap& picture, const std::string& path, std::string& error) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        error = "cannot write " + path + ": not a regular file";
        return false;
    }
    const std::string::size_type slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string temporary =
        folder + "." + name.substr(0, 100) + ".rendering-" + std::to_string(::getpid());
    if (!WritePng(picture, temporary, &error)) {
        ::unlink(temporary.c_str());
        for (std::size_t at; (at = error.find(temporary)) != std::string::npos;) {
            error.replace(at, temporary.size(), path);
        }
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool IsSameFile(const std::string& first, const std::string& second) {
    struct stat a {
    }, b{};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
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
        error = "\"" + pngPath + "\" is the world file itself; it is not written over";
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
