#pragma once

#include <cstdint>
#include <iosfwd>

#include "gdi/GdiTypes.h"
#include "objects/PointerList.h"
#include "objects/UpdateableObject.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawPrimitive.h"

class CDC;
class ObjectIndex;

/// An updateable object with a place in the world, position, and shapes laid out relative to
/// it. The object owns its shapes and deletes them, in list order, when it is destroyed.
class DrawableObject : public UpdateableObject {
public:
    /// At (0, 0) with radius 0 and the default colour, without shapes.
    DrawableObject();

    /// Puts out the geometry block: the position and each shape on a line of its own,
    /// indented by four blanks, and a closing "}" line.
    std::ostream& Write(std::ostream& out) const override;
    /// Deletes every shape first, so the object ends with the shapes that were read. Reads
    /// the position, then shapes until a word that begins with "}"; unknown words are skipped.
    /// A shape whose element breaks off is kept with its defaults, and reading stops there.
    void Read(std::istream& in) override;
    ~DrawableObject() override;

    /// Copies colour, x, y and radius of point into position.
    virtual void SetPosition(const DrawPoint& point);
    /// Copies colour, x, y and radius of position into point; returns point.
    virtual DrawPoint& GetPosition(DrawPoint& point) const;
    /// Whether the world point falls on a shape: each shape, first to last, is asked whether it
    /// contains the point less position (radius 0); the first yes ends the walk. The point's
    /// colour and radius are not used. Coordinates wrap around at the 32-bit limits.
    virtual bool HitTest(const DrawPoint& point) const;
    /// Draws every shape, first to last, with position as the offsets; a later shape covers an
    /// earlier one. The world is not used.
    virtual void Draw(CDC& surface, WorldContext& world) const;

    /// The shapes, first to last; the object keeps owning them.
    const PointerList<DrawPrimitive>& GetShapes() const { return shapes; }
    /// Appends a shape, which the object then owns, after the others.
    void AddShape(DrawPrimitive* shape);
    /// The x and y of position.
    POINT GetPlace() const { return position.GetPoint(); }

protected:
    /// Tells the world's index, if the object is filed in one, that position or the shapes
    /// changed.
    void Placed();
    /// Tells the world's index, if the object is filed in one, that a drag began or ended.
    void DraggingChanged(bool dragging);

    DrawPoint position;
    /// Owned; coordinates relative to position.
    PointerList<DrawPrimitive> shapes;

private:
    friend class ObjectIndex;
    /// Reads the element into this object (Read, less the telling).
    void ReadElement(std::istream& in);

    /// The index this object is filed in, set only for the objects it knows as plain, and the
    /// object's ordinal there.
    ObjectIndex* index_ = nullptr;
    std::uint32_t ordinal_ = 0;
};
