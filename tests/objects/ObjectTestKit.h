#pragma once

// Test-only shapes, objects and world for the object and document suites. Objects get their
// shapes only by reading a file; these subclasses hand shapes over directly instead.

#include <cstdint>
#include <istream>
#include <ostream>
#include <vector>

#include "gdi/CDC.h"
#include "gdi/GdiTypes.h"
#include "objects/DraggableObject.h"
#include "objects/DrawableObject.h"
#include "objects/WorldContext.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawPrimitive.h"

/// Lets test failures show a point as (x, y).
inline void PrintTo(const POINT& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

namespace velk_test {

/// A shape covering the half-open box [left, right) x [top, bottom) of coordinates relative to
/// its owner, which records every question and drawing it receives and logs its destruction.
class ProbeShape : public DrawPrimitive {
public:
    ProbeShape(int shapeId, RECT covered, std::vector<int>* destroyed = nullptr)
        : id(shapeId), box(covered), destroyedIds(destroyed) {}
    /// A shape that every probe falls on.
    static ProbeShape* Everywhere(int id = 0) {
        return new ProbeShape(id, RECT{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    }
    ~ProbeShape() override {
        if (destroyedIds != nullptr) {
            destroyedIds->push_back(id);
        }
    }

    bool Contains(const DrawPoint& probe) const override {
        probes.push_back(probe);
        if (box.right == INT32_MAX && box.bottom == INT32_MAX) {
            return true;
        }
        return probe.GetX() >= box.left && probe.GetX() < box.right && probe.GetY() >= box.top &&
               probe.GetY() < box.bottom;
    }
    std::ostream& Write(std::ostream& out) const override {
        out.setstate(std::ios::failbit);
        return out;
    }
    void Read(std::istream& in) override { in.setstate(std::ios::failbit); }
    void Draw(CDC& /*surface*/, std::int32_t xOffset, std::int32_t yOffset) const override {
        drawOffsets.push_back(POINT{xOffset, yOffset});
    }

    const int id;
    const RECT box;
    mutable std::vector<DrawPoint> probes;
    mutable std::vector<POINT> drawOffsets;

private:
    std::vector<int>* destroyedIds;
};

/// Gives a test subclass of an object class a way to receive shapes.
template <typename Base>
class WithShapes : public Base {
public:
    /// The object owns the shape from now on.
    void AddShape(DrawPrimitive* shape) { this->shapes.Append(shape); }
    std::int32_t ShapeCount() const { return this->shapes.count; }
};

class TestDrawable : public WithShapes<DrawableObject> {
public:
    bool Update(WorldContext& /*world*/) override { return false; }
};

/// A draggable object whose state can be seen and whose destruction is counted.
class TestDraggable : public WithShapes<DraggableObject> {
public:
    explicit TestDraggable(std::vector<int>* destroyed = nullptr, int objectId = 0)
        : id(objectId), destroyedIds(destroyed) {}
    /// At (x, y) with one shape covering [0, size) x [0, size) relative to it.
    static TestDraggable* Square(std::int32_t x, std::int32_t y, std::int32_t size,
                                 std::vector<int>* destroyedIds = nullptr, int id = 0) {
        auto* object = new TestDraggable(destroyedIds, id);
        object->SetPosition(DrawPoint(x, y, 0));
        object->AddShape(new ProbeShape(id, RECT{0, 0, size, size}));
        return object;
    }
    ~TestDraggable() override {
        if (destroyedIds != nullptr) {
            destroyedIds->push_back(id);
        }
    }

    bool IsDragging() const { return dragging; }
    POINT GrabOffset() const { return grabOffset.GetPoint(); }
    POINT Position() const { return position.GetPoint(); }

    const int id;

private:
    std::vector<int>* destroyedIds;
};

/// A world that only holds a mouse position and counts what objects ask of it.
class FakeWorld : public WorldContext {
public:
    DrawPoint& GetMousePosition(DrawPoint& point) const override {
        ++mouseReads;
        point = mouse;
        return point;
    }
    void MarkChanged() override { ++changes; }

    void SetMouse(std::int32_t x, std::int32_t y) { mouse = DrawPoint(x, y, 0); }

    DrawPoint mouse{0, 0, 0};
    mutable int mouseReads = 0;
    int changes = 0;
};

}  // namespace velk_test
