#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/CVelkApp.h"
#include "document/World.h"
#include "framework/Backend.h"
#include "framework/CFrameWnd.h"

namespace velk_test {

/// One run of the real application on a backend's platform: started with arguments, finished
/// when the run goes. Window is the backend's frame class.
template <typename Platform, typename Window>
class AppRun {
public:
    explicit AppRun(UserDialogs& dialogs) : platform(&dialogs) {}
    ~AppRun() { Finish(); }
    AppRun(const AppRun&) = delete;
    AppRun& operator=(const AppRun&) = delete;

    bool Start(std::vector<std::string> arguments = {}) {
        app = std::make_unique<CVelkApp>();
        return app->Start(platform, std::move(arguments));
    }
    void Finish() {
        if (app != nullptr) {
            app->Finish(0);
            app.reset();
        }
    }

    CFrameWnd& Frame() const { return *app->GetMainWnd(); }
    Window& Frontend() const { return *dynamic_cast<Window*>(Frame().GetFrameHost()); }
    World& Document() const { return *dynamic_cast<World*>(Frame().GetActiveDocument()); }

    Platform platform;
    std::unique_ptr<CVelkApp> app;
};

}  // namespace velk_test
