#pragma once

#include <cstdint>

#include "gdi/GdiTypes.h"
#include "objects/InteractableObject.h"

/// The one kind of object a world holds: grabbed by a left press on one of its shapes, moved by
/// every mouse move while grabbed, dropped by a left release.
///
///   resting  --left press, hit-->   dragging  (stores grabOffset; true)
///   dragging --move-->              dragging  (position = mouse - grabOffset; MarkChanged; true)
///   dragging --left press, hit-->   dragging  (new grabOffset; true)
///   dragging --left release-->      resting   (true)
///
/// Every other event is declined (false) and changes nothing. A move places the object by the
/// world's last mouse position, which the view stores only after offering the move, so the
/// object trails the pointer by one move.
class DraggableObject : public InteractableObject {
public:
    /// Resting, at (0, 0) with radius 0, without shapes, grabOffset (0, 0).
    DraggableObject();

    /// "draggable { ", the geometry block, " } " and a line feed. The drag state is not written.
    std::ostream& Write(std::ostream& out) const override;
    /// The element Write puts out; the keyword is skipped unchecked.
    void Read(std::istream& in) override;
    ~DraggableObject() override;
    /// A tick never changes a draggable object: always false.
    bool Update(WorldContext& world) override;

    /// Grabs the object when the world's mouse position hits one of its shapes.
    bool OnLButtonDown(WorldContext& world) override;
    /// Ends a drag; true only while dragging. The object stays where the last move put it.
    bool OnLButtonUp(WorldContext& world) override;
    /// While dragging: moves position to the world's mouse position less grabOffset, with
    /// radius 0 and its colour kept, and marks the world changed.
    bool OnMouseMove(WorldContext& world) override;

    /// Between a grab and the left release that ends it.
    bool IsDragging() const { return dragging; }

protected:
    /// Where an object was grabbed, relative to its position. Its radius is always 0 and its
    /// colour is never used, so it keeps x and y alone: 8 bytes rather than a DrawPoint's 24.
    class Offset {
    public:
        Offset(std::int32_t x, std::int32_t y, std::int32_t /*radius*/) : x_(x), y_(y) {}
        std::int32_t GetX() const { return x_; }
        std::int32_t GetY() const { return y_; }
        POINT GetPoint() const { return POINT{x_, y_}; }
        void Set(std::int32_t x, std::int32_t y, std::int32_t /*radius*/) {
            x_ = x;
            y_ = y;
        }

    private:
        std::int32_t x_;
        std::int32_t y_;
    };

    bool dragging;
    /// The mouse position less position at the grab.
    Offset grabOffset;
};
