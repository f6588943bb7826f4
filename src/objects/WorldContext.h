#pragma once

class DrawPoint;

/// What a world object may ask of the world that holds it. The document implements it; the
/// objects sit below the document and know it only through this interface.
class WorldContext {
public:
    /// Copies colour, x, y and radius of the last mouse position, in world units, into point
    /// and returns point.
    virtual DrawPoint& GetMousePosition(DrawPoint& point) const = 0;
    /// Raises the document's modified flag and asks every view to update.
    virtual void MarkChanged() = 0;

protected:
    // Objects never own or delete the world through this interface.
    ~WorldContext() = default;
};
