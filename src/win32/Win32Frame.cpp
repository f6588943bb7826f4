#include "win32/Win32Frame.h"

#include "framework/AfxIds.h"
#include "framework/CFrameWnd.h"
#include "win32/Win32ClientArea.h"
#include "win32/Win32StatusBar.h"

Win32Frame::Win32Frame(CFrameWnd& frame)
    : frame_(frame),
      native_(*this, kInitialWidth, kInitialHeight),
      client_(std::make_unique<Win32ClientArea>(native_)) {
    native_.SetChildren(client_->Handle(), nullptr);
}

Win32Frame::~Win32Frame() {
    // The view goes before the windows it is shown in.
    client_.reset();
    statusBar_.reset();
}

WindowHost* Win32Frame::GetClientHost() {
    return client_.get();
}

void Win32Frame::SetTitle(const std::string& documentTitle, const std::string& appTitle,
                          bool /*modified*/) {
    // Windows marks no unsaved changes in a caption; the save prompt tells of them.
    native_.SetTitle(documentTitle.empty() ? appTitle : documentTitle + " - " + appTitle);
}

void Win32Frame::SetMenu(const std::vector<MenuItem>& menu) {
    native_.SetMenu(menu);
}

void Win32Frame::SetAccelerators(const std::vector<Accelerator>& accelerators) {
    native_.SetAccelerators(accelerators);
}

void Win32Frame::SetIcon(const std::vector<IconImage>& images) {
    native_.SetIcon(images);
}

StatusBarHost* Win32Frame::CreateStatusBar() {
    if (statusBar_ == nullptr) {
        statusBar_ =
            std::make_unique<Win32StatusBar>(native_.Handle(), [this] { native_.Layout(); });
        native_.SetChildren(client_->Handle(), statusBar_->Handle());
    }
    return statusBar_.get();
}

void Win32Frame::Show(int command) {
    native_.Show(command != afx::SW_HIDE);
}

void Win32Frame::RefreshCommands() {
    // Menus take the commands' state each time one opens, and accelerators ask the frame when
    // pressed: nothing waits to be brought up to date.
}

void Win32Frame::OnCommand(unsigned command) {
    frame_.ExecuteCommand(command);
}

void Win32Frame::QueryCommand(unsigned command, bool& enabled, bool& checked) {
    const CCmdUI state = frame_.QueryCommand(command);
    enabled = state.IsHandled() && state.IsEnabled();
    checked = state.IsChecked();
}

std::vector<MenuItem> Win32Frame::MenuItems(std::size_t index) {
    return frame_.GetMenuItems(index);
}

void Win32Frame::OnMenuSelect(unsigned command) {
    frame_.OnMenuSelect(command);
}

bool Win32Frame::OnClose() {
    return frame_.OnClose();
}

void Win32Frame::OnResized() {
    // The panes keep their widths from the right; the message pane takes what is left.
    if (statusBar_ != nullptr) {
        statusBar_->Layout();
    }
}

void Win32Frame::OnTick() {
    if (statusBar_ != nullptr) {
        statusBar_->ShowLockKeys();
    }
}
