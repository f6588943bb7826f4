#include "framework/CWnd.h"

#include <algorithm>

#include "framework/Backend.h"
#include "framework/CPaintDC.h"

namespace {

// The shortest period a timer runs at; a shorter one would keep the message loop busy.
constexpr std::uint32_t kMinTimerPeriodMs = 10;

}  // namespace

CWnd::~CWnd() {
    Unbind();
}

bool CWnd::Create(WindowHost* host) {
    if (host_ != nullptr || host == nullptr || !host->AttachWindow(this)) {
        return false;
    }
    host_ = host;
    if (OnCreate() == -1) {
        Unbind();
        return false;
    }
    const SIZE client = host_->GetClientSize();
    OnSize(SIZE_RESTORED, client.cx, client.cy);
    return true;
}

bool CWnd::DestroyWindow() {
    if (host_ == nullptr) {
        return false;
    }
    OnDestroy();
    Unbind();
    return true;
}

void CWnd::Unbind() {
    if (host_ != nullptr) {
        WindowHost* host = host_;
        host_ = nullptr;
        host->AttachWindow(nullptr);
    }
}

void CWnd::GetClientRect(RECT* rect) const {
    if (rect == nullptr) {
        return;
    }
    const SIZE client = host_ != nullptr ? host_->GetClientSize() : SIZE{};
    *rect = RECT{0, 0, client.cx, client.cy};
}

void CWnd::InvalidateRect(const RECT* rect, bool /*erase*/) {
    if (host_ != nullptr) {
        host_->Invalidate(rect);
    }
}

void CWnd::UpdateWindow() {
    if (host_ != nullptr) {
        host_->UpdateNow();
    }
}

std::uintptr_t CWnd::SetTimer(std::uintptr_t id, std::uint32_t elapse) {
    if (host_ == nullptr || !host_->SetTimer(id, std::max(elapse, kMinTimerPeriodMs))) {
        return 0;
    }
    return id;
}

bool CWnd::KillTimer(std::uintptr_t id) {
    return host_ != nullptr && host_->KillTimer(id);
}

int CWnd::OnCreate() {
    return 0;
}

void CWnd::OnDestroy() {}

void CWnd::OnPaint() {
    // Painting nothing still takes the region as painted; otherwise it would be asked again.
    CPaintDC validate(this);
}

void CWnd::OnSize(unsigned /*type*/, std::int32_t /*cx*/, std::int32_t /*cy*/) {}
void CWnd::OnTimer(std::uintptr_t /*id*/) {}
void CWnd::OnLButtonDown(unsigned /*flags*/, POINT /*point*/) {}
void CWnd::OnLButtonUp(unsigned /*flags*/, POINT /*point*/) {}
void CWnd::OnRButtonDown(unsigned /*flags*/, POINT /*point*/) {}
void CWnd::OnRButtonUp(unsigned /*flags*/, POINT /*point*/) {}
void CWnd::OnMouseMove(unsigned /*flags*/, POINT /*point*/) {}
void CWnd::OnScrolled(int /*bar*/, std::int32_t /*position*/) {}
