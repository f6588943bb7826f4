// The large worlds of examples/make-world.py that the benchmarks of a crowded window share:
// 10,000 objects in 1024 by 1024, 100,000 in 4000 by 4000 and 1,000,000 in 12000 by 12000
// (377 MB). Each is written once, by the script, into VELK_BENCH_WORLDS (a folder; /tmp when
// unset) and read from there by every later run.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/World.h"
#include "framework/CArchive.h"
#include "framework/HeadlessHost.h"
#include "gdi/GdiTypes.h"
#include "objects/InteractableObject.h"
#include "shapes/DrawPoint.h"
#include "view/CWorldView.h"

namespace velk_bench {

/// A world of the script: its number of objects and its side.
struct WorldSpec {
    int objects;
    std::int32_t side;
};

constexpr WorldSpec k10k{10'000, 1024};
constexpr WorldSpec k100k{100'000, 4000};
constexpr WorldSpec k1M{1'000'000, 12000};
/// The window that the crowded-window benchmarks paint, scrolled to the world's middle.
constexpr SIZE kWindow{1024, 768};

/// The path of the world's file, which is written first when it is missing; empty when it
/// cannot be.
inline std::string WorldFile(WorldSpec spec) {
    const char* folder = std::getenv("VELK_BENCH_WORLDS");
    const std::string path = std::string(folder != nullptr ? folder : "/tmp") + "/velk-world-" +
                             std::to_string(spec.objects) + "-" + std::to_string(spec.side) +
                             ".world";
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        const std::string command = std::string("python3 '") + VELK_MAKE_WORLD + "' '" + path +
                                    "' --objects " + std::to_string(spec.objects) + " --width " +
                                    std::to_string(spec.side) + " --height " +
                                    std::to_string(spec.side);
        if (std::system(command.c_str()) != 0) {
            return {};
        }
    }
    return path;
}

/// Reads the world's file into the world; false when it cannot.
inline bool ReadWorldFile(World& world, WorldSpec spec) {
    const std::string path = WorldFile(spec);
    if (path.empty()) {
        return false;
    }
    CArchive archive(path, CArchive::load);
    world.Serialize(archive);
    archive.Close();
    return world.GetAllObjects().count == spec.objects;
}

/// A world of the script in a view on a headless window of kWindow, scrolled to the middle of
/// the world and painted once.
struct FileScene {
    explicit FileScene(WorldSpec spec) : host(kWindow) {
        ok = ReadWorldFile(world, spec);
        world.AddView(&view);
        view.Create(&host);
        view.OnInitialUpdate();
        host.Scroll(SB_HORZ, (spec.side - kWindow.cx) / 2);
        host.Scroll(SB_VERT, (spec.side - kWindow.cy) / 2);
        host.PumpPaint();
    }
    ~FileScene() { view.DestroyWindow(); }

    /// A client point over an object near the middle of the window, found the way a press
    /// finds one; (-1, -1) when there is none.
    POINT PointOverAnObject() const {
        const POINT scroll = view.GetScrollPosition();
        for (std::int32_t d = 0; d < 200; d += 3) {
            const POINT client{kWindow.cx / 2 + d, kWindow.cy / 2 + d / 2};
            const DrawPoint at(client.x + scroll.x, client.y + scroll.y, 0);
            for (auto* node = world.GetInteractables().head; node != nullptr; node = node->next) {
                if (node->value->HitTest(at)) {
                    return client;
                }
            }
        }
        return POINT{-1, -1};
    }

    bool ok = false;
    World world;
    HeadlessHost host;
    CWorldView view;
};

}  // namespace velk_bench
