#pragma once

#include <string>

namespace win32 {

/// A modal progress window with a line of text, a bar and a Cancel button. Its owner takes no
/// input while it is up; Pump lets every window repaint meanwhile.
class NativeProgress {
public:
    NativeProgress(void* owner, const std::string& caption, const std::string& text);
    ~NativeProgress();
    NativeProgress(const NativeProgress&) = delete;
    NativeProgress& operator=(const NativeProgress&) = delete;

    void* Handle() const { return window_; }
    void SetText(const std::string& text);
    /// permille from 0 to 1000; negative for a busy bar, when how much is left is not known.
    void SetPermille(int permille);
    void RemoveCancel();
    /// Handles the messages waiting; answers whether Cancel was pressed so far.
    bool Pump();

    /// The dialog procedure's work, for the procedure alone.
    void OnCancel() { cancelled_ = true; }

private:
    void* owner_ = nullptr;
    void* window_ = nullptr;
    bool ownerWasEnabled_ = false;
    bool busy_ = false;
    bool cancelled_ = false;
};

}  // namespace win32
