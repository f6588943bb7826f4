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
struct GeneratedWorld {
    int objects;
    std::int32_t side;
};

constexpr GeneratedWorld k10k{10'000, 1024};
constexpr GeneratedWorld k100k{100'000, 4000};
constexpr GeneratedWorld k1M{1'000'000, 12000};
/// The window that the crowded-window benchmarks paint, scrolled to the world's middle.
constexpr SIZE kWindow{1024, 768};

/// The path of the world's file, which is written first when it is missing; empty when it
/// cannot be.
inline std::string WorldFile(GeneratedWorld generated) {
    const char* folder = std::getenv("VELK_BENCH_WORLDS");
    const std::string path = std::string(folder != nullptr ? folder : "/tmp") + "/velk-world-" +
                             std::to_string(generated.objects) + "-" +
                             std::to_string(generated.side) + ".world";
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        const std::string command = std::string("python3 '") + VELK_MAKE_WORLD + "' '" + path +
                                    "' --objects " + std::to_string(generated.objects) +
                                    " --width " + std::to_string(generated.side) + " --height " +
                                    std::to_string(generated.side);
        if (std::system(command.c_str()) != 0) {
            return {};
        }
    }
    return path;
}

/// Reads the world's file into the world; false when it cannot.
inline bool ReadWorldFile(World& world, GeneratedWorld generated) {
    const std::string path = WorldFile(generated);
    if (path.empty()) {
        return false;
    }
    CArchive archive(path, CArchive::load);
    world.Serialize(archive);
    archive.Close();
    return world.GetAllObjects().count == generated.objects;
}

/// A world of the script in a view on a headless window of kWindow, scrolled to the middle of
/// the world and painted once.
struct FileScene {
    explicit FileScene(GeneratedWorld generated) : host(kWindow) {
        ok = ReadWorldFile(world, generated);
        world.AddView(&view);
        view.Create(&host);
        view.OnInitialUpdate();
        host.Scroll(SB_HORZ, (generated.side - kWindow.cx) / 2);
        host.Scroll(SB_VERT, (generated.side - kWindow.cy) / 2);
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
