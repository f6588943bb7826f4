#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Object;
class UpdateableObject;
class DrawableObject;
class InteractableObject;
class DraggableObject;

/// A box of world points, half-open (left <= x < right, top <= y < bottom), in 64 bits so that
/// an object's place plus its shapes' reach never overflows.
struct WorldBox {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

/// Where a world's objects are, so that a paint, a mouse event and a tick reach only the objects
/// they can affect, and yet the result is that of offering them to every object in list order.
///
/// Every object added gets an ordinal, its place in the order of addition, which is also its
/// order in each of the world's typed lists. Objects of exactly the class DraggableObject are
/// plain: the index knows what they do. They draw only their shapes and are hit only on them,
/// their tick does nothing, and they take a move or a left release only while dragging. The
/// index keeps a box around each plain object's shapes (every pixel it draws and every point it
/// is hit on lies inside), in a grid of cells, and the ordinals of the plain objects that are
/// being dragged. A plain object tells its index when its place, its shapes or its dragging
/// change.
///
/// Objects of any other class may do anything when drawn, ticked or offered an event, so the
/// index lists them apart, in order, for the walks to offer them everything.
class ObjectIndex {
public:
    /// An object of another class with its ordinal.
    template <typename T>
    struct Ordered {
        std::uint32_t ordinal;
        T* object;
    };

    ObjectIndex();
    ObjectIndex(const ObjectIndex&) = delete;
    ObjectIndex& operator=(const ObjectIndex&) = delete;
    /// Lets go of every object (Clear).
    ~ObjectIndex();

    /// Gives the object the next ordinal and files it by its class.
    void Add(Object* object);
    /// Forgets every object; the plain ones stop telling this index of their changes.
    void Clear();
    /// The number of objects added since the last Clear.
    std::uint32_t Count() const { return static_cast<std::uint32_t>(plain_.size()); }

    /// The objects of the typed lists that are not plain, in order of addition.
    const std::vector<Ordered<UpdateableObject>>& OtherUpdateables() const {
        return otherUpdateables_;
    }
    const std::vector<Ordered<InteractableObject>>& OtherInteractables() const {
        return otherInteractables_;
    }
    const std::vector<Ordered<DrawableObject>>& OtherDrawables() const { return otherDrawables_; }

    /// Appends to ordinals, in no particular order, every plain object whose box meets the box,
    /// and possibly a few more whose shapes lie near it. Every plain object that could draw a
    /// pixel or be hit inside the box is among them.
    void FindMeeting(const WorldBox& box, std::vector<std::uint32_t>& ordinals) const;
    /// Fills ordinals with the plain objects added before `before` that FindMeeting finds for
    /// the box, last added first, as a paint draws them.
    void FindMeetingLastFirst(const WorldBox& box, std::uint32_t before,
                              std::vector<std::uint32_t>& ordinals) const;
    /// The plain objects being dragged, in order of addition.
    const std::vector<std::uint32_t>& Dragging() const { return dragging_; }
    /// The plain object of an ordinal, or null when the object there is not plain.
    DraggableObject* Plain(std::uint32_t ordinal) const { return plain_[ordinal]; }
    /// Changes with every change the index takes in: an object added, moved, grabbed or
    /// dropped, or everything cleared.
    std::uint64_t Version() const { return version_; }

    /// From a plain object: its place or its shapes changed.
    void Moved(std::uint32_t ordinal);
    /// From a plain object: it started or ended a drag.
    void DraggingChanged(std::uint32_t ordinal, bool dragging);

private:
    /// Where an ordinal's object is filed.
    enum class Where : std::uint8_t {
        Nowhere,  ///< not plain, or without shapes: no box
        Grid,     ///< a box no wider and no taller than kSmall, in the cell of its corner
        Large,    ///< a larger box, in large_
        Anywhere  ///< a shape of another class, or a box beyond 32 bits: always a candidate
    };
    /// A box in 32 bits, half-open.
    struct Box {
        std::int32_t left, top, right, bottom;
    };
    static constexpr std::int64_t kSmall = 64;

    /// Files the object of ordinal by its present box.
    void File(std::uint32_t ordinal);
    /// Takes the object of ordinal out of where it is filed.
    void Unfile(std::uint32_t ordinal);
    /// Calls visit with every cell that may hold a box meeting the box (which is not empty).
    template <typename Visit>
    void VisitCells(const WorldBox& box, Visit visit) const;
    /// About how many plain objects FindMeeting would look at for the box.
    std::size_t CandidatesFor(const WorldBox& box) const;
    /// Makes the grid over the boxes filed so far, when it is missing or outgrown.
    void EnsureGrid() const;
    std::uint32_t CellOf(std::int64_t x, std::int64_t y) const;
    std::int32_t Column(std::int64_t x) const;
    std::int32_t Row(std::int64_t y) const;

    std::vector<DraggableObject*> plain_;  ///< by ordinal; null for the others
    std::vector<Box> boxes_;               ///< by ordinal; valid where Grid or Large
    std::vector<Where> where_;             ///< by ordinal
    std::vector<std::uint32_t> large_;
    std::vector<std::uint32_t> anywhere_;
    std::vector<std::uint32_t> dragging_;  ///< ascending
    std::vector<Ordered<UpdateableObject>> otherUpdateables_;
    std::vector<Ordered<InteractableObject>> otherInteractables_;
    std::vector<Ordered<DrawableObject>> otherDrawables_;
    std::uint64_t version_ = 0;

    // The grid is made at the first search, from the boxes filed until then, and made again
    // when the objects filed since outnumber those it was made from. Cells clamp: a box beyond
    // the grid's edge lies in the edge cell, so the grid is exact for every box.
    mutable std::vector<std::vector<std::uint32_t>> cells_;
    mutable std::int64_t originX_ = 0;
    mutable std::int64_t originY_ = 0;
    mutable std::int32_t shift_ = 0;
    mutable std::int32_t columns_ = 0;
    mutable std::int32_t rows_ = 0;
    mutable std::uint32_t gridMadeFrom_ = 0;
    mutable std::uint32_t filedSince_ = 0;
    std::uint32_t inGrid_ = 0;  ///< boxes filed as Grid, in cells or waiting for the grid
};
