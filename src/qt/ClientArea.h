#pragma once

#include <QAbstractScrollArea>
#include <QRect>
#include <QTimer>

#include <cstdint>
#include <map>
#include <memory>

#include "framework/Backend.h"
#include "gdi/CBitmap.h"

/// The client area of the main window: a scrolling widget that hosts one framework window (the
/// view). It keeps the window's pixels in a CBitmap of the viewport's size and shows them
/// unchanged; paints, sizes, timers, scroll bars and the mouse reach the window as its message
/// functions. The window does not capture the mouse: moves and releases outside the client
/// area do not reach it. Shift turns the wheel sideways.
class ClientArea : public QAbstractScrollArea, public WindowHost {
public:
    explicit ClientArea(QWidget* parent = nullptr);
    ~ClientArea() override;

    // WindowHost.
    bool AttachWindow(CWnd* window) override;
    SIZE GetClientSize() const override;
    CBitmap& GetClientPixels() override { return pixels_; }
    void Invalidate(const RECT* box) override;
    void UpdateNow() override;
    RECT BeginPaint() override;
    void EndPaint(const RECT& box) override;
    bool SetTimer(std::uintptr_t id, std::uint32_t periodMs) override;
    bool KillTimer(std::uintptr_t id) override;
    void SetScrollSizes(int bar, std::int32_t total, std::int32_t page, std::int32_t line) override;
    std::int32_t GetScrollPos(int bar) const override;
    std::int32_t SetScrollPos(int bar, std::int32_t position) override;
    SIZE GetParentFrameSize() const override;
    void SetParentFrameSize(SIZE size) override;

    CWnd* GetWindow() const { return window_; }
    /// While the main window is hidden, Qt lays out its children only when it is shown; this
    /// lays them out now and delivers the resulting size, so that the client size is true
    /// before the window first shows (the view fits the frame to its world then).
    void SettleGeometry();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    /// The window repaints itself at the new position; nothing is moved here.
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Bar {
        std::int32_t total = 0;
        std::int32_t page = 0;
        std::int32_t line = 0;
    };
    /// Gives the Qt scroll bar the range that the total and the client extent leave.
    void ApplyBar(int bar);
    void RemakePixels();
    /// Delivers the pending paint to the window, when there is one.
    void PaintPending();

    CWnd* window_ = nullptr;
    CBitmap pixels_;
    QRect pending_;
    bool painting_ = false;
    QRect paintEventArea_;  ///< the area of the Qt paint event being handled; empty outside
    std::map<std::uintptr_t, std::unique_ptr<QTimer>> timers_;
    Bar bars_[2];
    unsigned buttons_ = 0;  ///< MK_ flags held
};
