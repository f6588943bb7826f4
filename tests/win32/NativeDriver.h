#pragma once

// Drives Velk's Windows through Windows' own messages, as Windows and a person would. Handles
// are HWNDs kept as void*, so that the tests need no Windows header (whose POINT, RECT and SIZE
// are not the drawing layer's).

#include <functional>
#include <string>
#include <vector>

namespace win32_test {

struct MenuEntry {
    std::string text;  ///< "-" for a separator
    bool enabled = false;
    bool checked = false;
    unsigned command = 0;
    bool operator==(const MenuEntry&) const = default;
};

/// The titles of the frame's menu bar.
std::vector<std::string> MenuBarTitles(void* frame);
/// Opens top-level menu index as Windows does before showing it (WM_INITMENUPOPUP), and reads
/// its items.
std::vector<MenuEntry> OpenMenu(void* frame, int index);
/// The pointer rests on item position of top-level menu index (WM_MENUSELECT with the flags
/// Windows gives that item, grey or not).
void HoverMenuItem(void* frame, int index, int position);
/// The menu closed.
void CloseMenu(void* frame);
/// Chooses item position of top-level menu index, as a click would (WM_COMMAND).
void ChooseMenuItem(void* frame, int index, int position);

/// A key pressed in window with Ctrl, Shift and Alt as given: the program's message loop
/// translates accelerators first, then the key goes to the window. True when it was an
/// accelerator.
bool PressKey(void* window, unsigned virtualKey, bool control, bool shift = false,
              bool alt = false);
/// Sets the lights of the lock keys.
void SetLockKeys(bool caps, bool num, bool scroll);

enum class Mouse { Move, LeftDown, LeftUp };
/// A mouse message at a client point with the left button held as given.
void SendMouse(void* client, Mouse what, int x, int y, bool leftHeld);
/// One wheel turn of delta (120 a notch; positive away from the person).
void SendWheel(void* window, int delta, bool shift);
/// A click in the bar's trough below or right of the thumb (a page on).
void ScrollPageOn(void* client, bool vertical);
struct BarState {
    int maximum = 0;
    int page = 0;
    int position = 0;
    bool visible = false;
};
BarState GetBar(void* client, bool vertical);

void GetClientSize(void* window, int& width, int& height);
bool IsShown(void* window);
std::string WindowText(void* window);
/// The close box.
void CloseWindow(void* window);

/// Handles the waiting messages until done answers true or timeoutMs have passed; answers done.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

/// Calls inspect with the next dialog that comes up on this thread, from within its modal loop.
void OnNextDialog(std::function<void(void* dialog)> inspect);
struct DialogContents {
    std::string caption;
    std::vector<std::string> texts;  ///< static texts, in order
    std::vector<std::string> buttons;
    int defaultButton = 0;  ///< the id of the button drawn as the default
    bool iconShown = false;
};
DialogContents ReadDialog(void* dialog);
/// Clicks the dialog's button with that id.
void ClickButton(void* dialog, int id);

/// Whether any window of this thread holds the mouse.
bool MouseCaptured();

/// The version resource of a program file: its four file version numbers, and the values of
/// the named keys in its US English, UTF-16 string block (empty for a key it lacks).
struct FileVersion {
    unsigned numbers[4] = {};
    std::vector<std::pair<std::string, std::string>> strings;
};
FileVersion ReadFileVersion(const std::string& path, const std::vector<std::string>& keys);

}  // namespace win32_test
