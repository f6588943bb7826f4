#pragma once

// A world view on a headless window, with objects whose pixels are easy to predict.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "document/World.h"
#include "framework/HeadlessHost.h"
#include "gdi/CBitmap.h"
#include "gdi/GdiTypes.h"
#include "objects/DraggableObject.h"
#include "shapes/DrawRectangle.h"
#include "support/RowName.h"
#include "view/CWorldView.h"

namespace velk_test {

constexpr COLORREF kWhite = RGB(255, 255, 255);

/// A draggable object that is one filled box of one colour: [x, x + w) by [y, y + h).
class Block : public DraggableObject {
public:
    Block(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, COLORREF colour)
        : colour_(colour), size_{w, h} {
        SetPosition(DrawPoint(x, y, 0));
        auto* box = new DrawRectangle;
        box->SetCorners(DrawPoint(0, 0, 0), DrawPoint(w, h, 0));
        box->SetFilled(true);
        Color shapeColour;
        shapeColour.SetRGB(GetRValue(colour), GetGValue(colour), GetBValue(colour));
        box->SetColor(shapeColour);
        shapes.Append(box);
    }
    POINT Position() const { return position.GetPoint(); }
    RECT Box() const {
        return RECT{position.GetX(), position.GetY(), position.GetX() + size_.cx,
                    position.GetY() + size_.cy};
    }
    COLORREF Colour() const { return colour_; }

private:
    COLORREF colour_;
    SIZE size_;
};

/// What world point (x, y) must show: the colour of the first block added that covers it,
/// since the earliest added is drawn on top; the window colour where none does.
inline COLORREF Expected(const std::vector<const Block*>& blocks, std::int32_t x, std::int32_t y) {
    for (const Block* block : blocks) {
        const RECT box = block->Box();
        if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) {
            return block->Colour();
        }
    }
    return kWhite;
}

/// A world, a headless window of the client size and the world view on it, shown the way the
/// framework shows a new document: the view is created, then gets its initial update.
class ViewHarness {
public:
    explicit ViewHarness(SIZE client, SIZE frameMargin = SIZE{}, SIZE minimumFrame = SIZE{})
        : host(client, frameMargin, minimumFrame) {
        world.AddView(&view);
        view.Create(&host);
    }
    ~ViewHarness() { view.DestroyWindow(); }

    /// Adds a block to the world; the world owns it.
    const Block* Add(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     COLORREF colour) {
        auto* block = new Block(x, y, w, h, colour);
        world.AddObject(block);
        blocks.push_back(block);
        return block;
    }
    void Show() {
        view.OnInitialUpdate();
        host.PumpPaint();
    }
    COLORREF Pixel(std::int32_t x, std::int32_t y) {
        return host.GetClientPixels().GetPixelColor(x, y);
    }
    /// Every client pixel shows world point (client + scroll) as the blocks predict.
    ::testing::AssertionResult ShowsTheWorld() {
        const POINT scroll = view.GetScrollPosition();
        const SIZE client = host.GetClientSize();
        for (std::int32_t y = 0; y < client.cy; ++y) {
            for (std::int32_t x = 0; x < client.cx; ++x) {
                const COLORREF want = Expected(blocks, x + scroll.x, y + scroll.y);
                if (Pixel(x, y) != want) {
                    return ::testing::AssertionFailure()
                           << "client pixel " << x << "," << y << " is " << std::hex << Pixel(x, y)
                           << ", not " << want;
                }
            }
        }
        return ::testing::AssertionSuccess();
    }
    SIZE WorldSize() const {
        SIZE size;
        world.GetWorldSize(size.cx, size.cy);
        return size;
    }
    SIZE BackBufferSize() const {
        const CBitmap* bitmap = view.GetBackBuffer();
        return bitmap == nullptr ? SIZE{} : SIZE{bitmap->GetWidth(), bitmap->GetHeight()};
    }

    World world;
    HeadlessHost host;
    CWorldView view;
    std::vector<const Block*> blocks;  ///< in order of addition
};

}  // namespace velk_test
