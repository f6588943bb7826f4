#include "view/CWorldView.h"

#include <algorithm>

#include "document/World.h"
#include "framework/CClientDC.h"
#include "framework/CPaintDC.h"
#include "framework/SystemColors.h"
#include "gdi/CBrush.h"
#include "shapes/DrawPoint.h"
#include "view/ObjectWalks.h"

IMPLEMENT_DYNCREATE(CWorldView)

namespace {

constexpr std::int32_t kDefaultWorldSide = 1024;

/// Whether the box of `width` by `height` at (left, top) covers `inner`; in 64 bits, since a
/// box at a scroll position near the 32-bit limit reaches past it.
bool Covers(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
            const RECT& inner) {
    return inner.left >= left && inner.top >= top && inner.right <= left + width &&
           inner.bottom <= top + height;
}

}  // namespace

CWorldView::CWorldView()
    : cachedWidth(kDefaultWorldSide),
      cachedHeight(kDefaultWorldSide),
      backBuffer(std::make_unique<CDC>()),
      backBitmap(std::make_unique<CBitmap>()) {}

CWorldView::~CWorldView() {
    backBitmap.reset();
    backBuffer.reset();
}

World* CWorldView::GetDocument() const {
    return dynamic_cast<World*>(CScrollView::GetDocument());
}

SIZE CWorldView::BackBufferSizeFor(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) {
        return SIZE{};
    }
    const std::int32_t cappedWidth = std::min(width, kMaxBackBufferSide);
    const auto rowsLeft = static_cast<std::int32_t>(kMaxBackBufferPixels / cappedWidth);
    return SIZE{cappedWidth, std::min({height, kMaxBackBufferSide, rowsLeft})};
}

const CBitmap* CWorldView::GetBackBuffer() const {
    return backBitmap->IsCreated() ? backBitmap.get() : nullptr;
}

bool CWorldView::BackBufferFollowsClient() const {
    return cachedWidth > 0 && cachedHeight > 0 &&
           !(BackBufferSizeFor(cachedWidth, cachedHeight) == SIZE{cachedWidth, cachedHeight});
}

SIZE CWorldView::WantedBackBufferSize() const {
    if (!BackBufferFollowsClient()) {
        return BackBufferSizeFor(cachedWidth, cachedHeight);
    }
    RECT client{};
    GetClientRect(&client);
    return BackBufferSizeFor(client.right - client.left, client.bottom - client.top);
}

void CWorldView::MakeBackBitmap() {
    backBitmap.reset();
    backBitmap = std::make_unique<CBitmap>();
    const SIZE size = WantedBackBufferSize();
    if (size.cx > 0) {
        // Logical and device units are one here, so the world's rectangle needs no converting.
        CClientDC client(this);
        OnPrepareDC(&client);
        backBitmap->CreateCompatibleBitmap(&client, size.cx, size.cy);
    }
}

void CWorldView::OnInitialUpdate() {
    if (World* world = GetDocument()) {
        world->GetWorldSize(cachedWidth, cachedHeight);
    }
    SetScrollSizes(MM_TEXT, SIZE{cachedWidth, cachedHeight});
    ResizeParentToFit(true);
    if (!backBuffer->IsCreated()) {
        CClientDC client(this);
        OnPrepareDC(&client);
        backBuffer->CreateCompatibleDC(&client);
        backBuffer->SetMapMode(MM_TEXT);
    }
    // A new world may differ in size from the one the bitmap was made for without any update
    // having said so (a new document takes the default size silently); the back buffer must
    // cover the world all the same.
    if (!(SIZE{backBitmap->GetWidth(), backBitmap->GetHeight()} == WantedBackBufferSize())) {
        MakeBackBitmap();
    }
    SetTimer(kTimerId, kTimerPeriodMs);
    CScrollView::OnInitialUpdate();
}

void CWorldView::OnUpdate(CView* /*sender*/, long /*hint*/, CObject* /*hintObject*/) {
    if (World* world = GetDocument()) {
        std::int32_t width = 0;
        std::int32_t height = 0;
        world->GetWorldSize(width, height);
        if (width != cachedWidth || height != cachedHeight) {
            // Cached first: the size messages that the next two steps may cause compare with
            // the new size.
            cachedWidth = width;
            cachedHeight = height;
            SetScrollSizes(MM_TEXT, SIZE{width, height});
            ResizeParentToFit(true);
            MakeBackBitmap();
        }
    }
    InvalidateRect(nullptr, false);
}

void CWorldView::OnDraw(CDC* surface) {
    if (World* world = GetDocument()) {
        DrawObjects(*world, *surface);
    }
}

void CWorldView::OnPaint() {
    CPaintDC window(this);
    OnPrepareDC(&window);
    RECT box{};
    window.GetClipBox(&box);
    const std::int32_t boxWidth = SubtractWrapping(box.right, box.left);
    const std::int32_t boxHeight = SubtractWrapping(box.bottom, box.top);

    // A world beyond the cap is painted through a back buffer that covers the client area and
    // is scrolled with the window; it must still cover the client area after a change of size.
    POINT origin{};
    if (BackBufferFollowsClient()) {
        if (!(SIZE{backBitmap->GetWidth(), backBitmap->GetHeight()} == WantedBackBufferSize())) {
            MakeBackBitmap();
        }
        origin = window.GetViewportOrg();
    }
    backBuffer->SetViewportOrg(origin.x, origin.y);

    CBrush background(GetSysColor(COLOR_WINDOW));
    // World points that the back buffer does not hold (the part of a client area larger than
    // the cap, or a world without area) show the window colour.
    if (!Covers(-std::int64_t{origin.x}, -std::int64_t{origin.y}, backBitmap->GetWidth(),
                backBitmap->GetHeight(), box)) {
        CBrush* before = window.SelectObject(&background);
        window.PatBlt(box.left, box.top, boxWidth, boxHeight, PATCOPY);
        window.SelectObject(before);
    }

    CBitmap* oldBitmap = backBuffer->SelectObject(backBitmap.get());
    backBuffer->SelectClipRgn(nullptr);
    backBuffer->IntersectClipRect(&box);
    CBrush* oldBrush = backBuffer->SelectObject(&background);
    backBuffer->PatBlt(box.left, box.top, boxWidth, boxHeight, PATCOPY);
    OnDraw(backBuffer.get());
    window.BitBlt(box.left, box.top, boxWidth, boxHeight, backBuffer.get(), box.left, box.top,
                  SRCCOPY);
    backBuffer->SelectObject(oldBitmap);
    backBuffer->SelectObject(oldBrush);
}

void CWorldView::OnSize(unsigned type, std::int32_t cx, std::int32_t cy) {
    CScrollView::OnSize(type, cx, cy);
    const std::int32_t width = cx > cachedWidth ? cx : cachedWidth;
    const std::int32_t height = cy > cachedHeight ? cy : cachedHeight;
    if (width == cachedWidth && height == cachedHeight) {
        return;
    }
    if (World* world = GetDocument()) {
        world->SetWorldSize(width, height);
        world->UpdateAllViews(nullptr, 0, nullptr);
    }
}

void CWorldView::OnTimer(std::uintptr_t id) {
    if (World* world = GetDocument()) {
        if (TickObjects(*world)) {
            world->MarkChanged();
        }
    }
    CScrollView::OnTimer(id);
}

void CWorldView::Offer(MouseEvent event) {
    if (World* world = GetDocument()) {
        static_cast<void>(OfferMouseEvent(*world, event));
    }
}

void CWorldView::OnLButtonDown(unsigned flags, POINT point) {
    Offer(MouseEvent::LeftDown);
    CScrollView::OnLButtonDown(flags, point);
}

void CWorldView::OnLButtonUp(unsigned flags, POINT point) {
    Offer(MouseEvent::LeftUp);
    CScrollView::OnLButtonUp(flags, point);
    if (World* world = GetDocument()) {
        world->UpdateAllViews(this, 0, nullptr);
    }
}

void CWorldView::OnRButtonDown(unsigned flags, POINT point) {
    Offer(MouseEvent::RightDown);
    CScrollView::OnRButtonDown(flags, point);
}

void CWorldView::OnRButtonUp(unsigned flags, POINT point) {
    Offer(MouseEvent::RightUp);
    CScrollView::OnRButtonUp(flags, point);
}

void CWorldView::OnMouseMove(unsigned flags, POINT point) {
    CClientDC client(this);
    OnPrepareDC(&client);
    POINT inWorld = point;
    client.DPtoLP(&inWorld);
    Offer(MouseEvent::Move);
    if (World* world = GetDocument()) {
        world->SetMousePosition(DrawPoint(inWorld.x, inWorld.y, 0));
    }
    CScrollView::OnMouseMove(flags, point);
}
