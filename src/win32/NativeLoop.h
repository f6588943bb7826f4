#pragma once

#include <cstdint>
#include <functional>

namespace win32 {

/// The message loop of the interface thread and its thread timers. Keys that the accelerator
/// table of a frame names become that frame's commands before any window sees them.
class MessageLoop {
public:
    /// Runs until Quit; answers Quit's exit code.
    static int Run();
    /// Ends the running loop with the code; a loop not yet running ends as soon as it starts.
    static void Quit(int exitCode);
    /// Calls tick every periodMs milliseconds while a loop runs (a modal dialog's too); false
    /// when Windows has no timer left.
    static bool StartTimer(std::uint32_t periodMs, std::function<void()> tick);
    /// Stops every timer StartTimer started.
    static void StopTimers();
    /// Forgets an earlier Quit, for a new platform on the same thread.
    static void Reset();
    /// Makes the interface thread the one that called this; Post delivers there.
    static void BindToThisThread();
    /// Runs job on the interface thread, from any thread, as soon as that thread handles its
    /// messages (in a modal dialog's loop too); false when it cannot be sent.
    static bool Post(std::function<void()> job);
};

}  // namespace win32
