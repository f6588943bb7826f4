#pragma once

// Test-only shapes, objects and world for the object and document suites. Objects get their
// shapes only by reading a file; these subclasses hand shapes over directly instead.

#include <climits>
#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "gdi/GdiTypes.h"
#include "objects/DraggableObject.h"
#include "objects/WorldContext.h"
#include "shapes/DrawPoint.h"

/// Lets test failures show a point as (x, y).
inline void PrintTo(const POINT& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

namespace velk_test {

constexpr std::int32_t kMin = INT32_MIN, kMax = INT32_MAX;

/// What the probe shapes and test objects saw, in order of events.
using Trace = std::vector<std::string>;

inline std::string Event(const char* what, int id, std::int32_t x, std::int32_t y) {
    return what + std::to_string(id) + " " + std::to_string(x) + "," + std::to_string(y);
}

/// A shape covering [left, right) x [top, bottom) relative to its owner, or every point when
/// the box is empty. It traces each probe ("probe1 x,y r0"), drawing ("draw1 x,y") and its
/// destruction ("~shape1").
class ProbeShape : public DrawPrimitive {
public:
    ProbeShape(int shapeId, RECT covered, Trace* log) : id(shapeId), box(covered), trace(log) {}
    ~ProbeShape() override { Log("~shape" + std::to_string(id)); }

    bool Contains(const DrawPoint& p) const override {
        Log(Event("probe", id, p.GetX(), p.GetY()) + " r" + std::to_string(p.GetRadius()));
        return box.left == box.right || (p.GetX() >= box.left && p.GetX() < box.right &&
                                         p.GetY() >= box.top && p.GetY() < box.bottom);
    }
    void Draw(CDC& /*surface*/, std::int32_t x, std::int32_t y) const override {
        Log(Event("draw", id, x, y));
    }
    std::ostream& Write(std::ostream& out) const override { return out; }
    void Read(std::istream& /*in*/) override {}

private:
    void Log(std::string event) const {
        if (trace != nullptr) {
            trace->push_back(std::move(event));
        }
    }
    int id;
    RECT box;
    Trace* trace;
};

/// Gives a test subclass of an object class a way to receive shapes, which it then owns.
template <typename Base>
class WithShapes : public Base {
public:
    void AddShape(DrawPrimitive* shape) { this->shapes.Append(shape); }
    std::int32_t ShapeCount() const { return this->shapes.count; }
};

class TestDrawable : public WithShapes<DrawableObject> {
public:
    bool Update(WorldContext& /*world*/) override { return false; }
};

/// A draggable object whose state can be seen and that calls onDestroy when it dies.
class TestDraggable : public WithShapes<DraggableObject> {
public:
    ~TestDraggable() override {
        if (onDestroy) {
            onDestroy();
        }
    }
    /// At (x, y) with one shape covering [0, size) x [0, size) relative to it.
    static TestDraggable* Square(std::int32_t x, std::int32_t y, std::int32_t size) {
        auto* object = new TestDraggable;
        object->SetPosition(DrawPoint(x, y, 0));
        object->AddShape(new ProbeShape(0, RECT{0, 0, size, size}, nullptr));
        return object;
    }
    bool IsDragging() const { return dragging; }
    POINT GrabOffset() const { return grabOffset.GetPoint(); }
    POINT Position() const { return position.GetPoint(); }

    std::function<void()> onDestroy;
};

/// A world that only holds a mouse position and counts MarkChanged calls.
class FakeWorld : public WorldContext {
public:
    DrawPoint& GetMousePosition(DrawPoint& point) const override { return point = mouse; }
    void MarkChanged() override { ++changes; }
    void SetMouse(POINT at) { mouse = DrawPoint(at.x, at.y, 0); }

    DrawPoint mouse{0, 0, 0};
    int changes = 0;
};

}  // namespace velk_test
