#include "view/RenderWorld.h"

#include <cstdint>
#include <exception>

#include "document/World.h"
#include "document/WorldLoadReport.h"
#include "framework/CArchive.h"
#include "framework/HeadlessHost.h"
#include "gdi/PngFile.h"
#include "view/CWorldView.h"

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
    return WritePng(host.GetClientPixels(), pngPath, &error);
}

bool RenderWorldFileToPng(const std::string& worldPath, const std::string& pngPath,
                          std::string& error) {
    World world;
    try {
        CArchive archive(worldPath, CArchive::load);
        world.Serialize(archive);
        archive.Close();
    } catch (const std::exception& failure) {
        error = failure.what();
        return false;
    }
    const WorldLoadReport& report = world.GetLoadReport();
    if (report.status == WorldLoadReport::NotAWorldFile) {
        error = "\"" + worldPath + "\" is not a world file: " + Describe(report);
        return false;
    }
    if (report.status == WorldLoadReport::Partial) {
        error = "\"" + worldPath + "\" could be read only up to " + Describe(report);
        return false;
    }
    return RenderWorldToPng(world, pngPath, error);
}
