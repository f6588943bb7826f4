#include "objects/ObjectIndex.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <limits>
#include <typeinfo>

#include "gdi/GdiTypes.h"
#include "objects/DraggableObject.h"
#include "objects/PointerList.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"

namespace {

using i64 = std::int64_t;

constexpr i64 kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr i64 kInt32Max = std::numeric_limits<std::int32_t>::max();
/// The grid has at most this many columns and rows; a wider spread takes larger cells.
constexpr std::int32_t kMaxSide = 4096;
/// The smallest cell is 64 units a side (2^6).
constexpr std::int32_t kFirstShift = 6;

/// The box, relative to its owner, that holds every pixel the shape draws and every point it
/// contains, widened by a unit on each side so that rounding at the rims cannot matter. False
/// for a shape of another class, whose drawing and hits the index does not know.
bool ShapeReach(const DrawPrimitive& shape, WorldBox& reach) {
    const std::type_info& type = typeid(shape);
    if (type == typeid(DrawPoint)) {
        // A disc covers its radius in every direction, inclusive; a radius of 0 is one pixel.
        const auto& disc = static_cast<const DrawPoint&>(shape);
        const i64 r = disc.GetRadius() < 0 ? -i64{disc.GetRadius()} : disc.GetRadius();
        reach = {disc.GetX() - r - 1, disc.GetY() - r - 1, disc.GetX() + r + 2,
                 disc.GetY() + r + 2};
        return true;
    }
    if (type == typeid(DrawLine)) {
        // The pen reaches width / 2 + 1 beyond the ends; a hit is allowed 1 + width / 2.
        const auto& line = static_cast<const DrawLine&>(shape);
        const i64 half = line.GetWidth() / 2;
        const i64 r = std::max<i64>({0, half + 1, -half - 1});
        const i64 x0 = line.GetStart().GetX(), y0 = line.GetStart().GetY();
        const i64 x1 = line.GetEnd().GetX(), y1 = line.GetEnd().GetY();
        reach = {std::min(x0, x1) - r - 1, std::min(y0, y1) - r - 1, std::max(x0, x1) + r + 2,
                 std::max(y0, y1) + r + 2};
        return true;
    }
    RECT box{};
    if (type == typeid(DrawRectangle)) {
        box = static_cast<const DrawRectangle&>(shape).GetRect();
    } else if (type == typeid(DrawEllipse)) {
        box = static_cast<const DrawEllipse&>(shape).GetRect();
    } else {
        return false;
    }
    reach = {i64{std::min(box.left, box.right)} - 1, i64{std::min(box.top, box.bottom)} - 1,
             i64{std::max(box.left, box.right)} + 2, i64{std::max(box.top, box.bottom)} + 2};
    return true;
}

}  // namespace

ObjectIndex::ObjectIndex() = default;

ObjectIndex::~ObjectIndex() {
    Clear();
}

void ObjectIndex::Add(Object* object) {
    const auto ordinal = static_cast<std::uint32_t>(plain_.size());
    ++version_;
    DraggableObject* plain = nullptr;
    if (object != nullptr && typeid(*object) == typeid(DraggableObject)) {
        plain = static_cast<DraggableObject*>(object);
    }
    plain_.push_back(plain);
    boxes_.push_back(Box{});
    where_.push_back(Where::Nowhere);
    if (plain == nullptr) {
        // The same run-time tests as the world's typed lists, so the two agree.
        if (auto* updateable = dynamic_cast<UpdateableObject*>(object)) {
            otherUpdateables_.push_back({ordinal, updateable});
        }
        if (auto* drawable = dynamic_cast<DrawableObject*>(object)) {
            otherDrawables_.push_back({ordinal, drawable});
        }
        if (auto* interactable = dynamic_cast<InteractableObject*>(object)) {
            otherInteractables_.push_back({ordinal, interactable});
        }
        return;
    }
    plain->index_ = this;
    plain->ordinal_ = ordinal;
    File(ordinal);
    ++filedSince_;
    if (plain->IsDragging()) {
        dragging_.push_back(ordinal);
    }
}

void ObjectIndex::Clear() {
    for (DraggableObject* plain : plain_) {
        if (plain != nullptr) {
            plain->index_ = nullptr;
        }
    }
    // Swapped with empty ones, so that the memory goes too.
    std::vector<DraggableObject*>().swap(plain_);
    std::vector<Box>().swap(boxes_);
    std::vector<Where>().swap(where_);
    std::vector<std::uint32_t>().swap(large_);
    std::vector<std::uint32_t>().swap(anywhere_);
    dragging_.clear();
    std::vector<Ordered<UpdateableObject>>().swap(otherUpdateables_);
    std::vector<Ordered<InteractableObject>>().swap(otherInteractables_);
    std::vector<Ordered<DrawableObject>>().swap(otherDrawables_);
    std::vector<std::vector<std::uint32_t>>().swap(cells_);
    columns_ = rows_ = 0;
    gridMadeFrom_ = filedSince_ = inGrid_ = 0;
    ++version_;
}

void ObjectIndex::File(std::uint32_t ordinal) {
    const DraggableObject& object = *plain_[ordinal];
    const PointerList<DrawPrimitive>& shapes = object.GetShapes();
    if (shapes.head == nullptr) {
        where_[ordinal] = Where::Nowhere;
        return;
    }
    WorldBox reach{std::numeric_limits<i64>::max(), std::numeric_limits<i64>::max(),
                   std::numeric_limits<i64>::min(), std::numeric_limits<i64>::min()};
    bool known = true;
    for (const auto* node = shapes.head; node != nullptr && known; node = node->next) {
        WorldBox shape;
        if (node->value == nullptr) {
            continue;  // a node without a shape draws and holds nothing
        }
        known = ShapeReach(*node->value, shape);
        reach = {std::min(reach.left, shape.left), std::min(reach.top, shape.top),
                 std::max(reach.right, shape.right), std::max(reach.bottom, shape.bottom)};
    }
    const POINT at = object.GetPlace();
    const i64 left = reach.left + at.x, top = reach.top + at.y;
    const i64 right = reach.right + at.x, bottom = reach.bottom + at.y;
    if (!known || left < kInt32Min || top < kInt32Min || right > kInt32Max || bottom > kInt32Max) {
        // Beyond 32 bits a hit test wraps around where drawing does not; such an object, like
        // one with a shape of another class, is simply offered everything.
        where_[ordinal] = Where::Anywhere;
        anywhere_.push_back(ordinal);
        return;
    }
    if (left >= right) {
        where_[ordinal] = Where::Nowhere;  // only nodes without shapes
        return;
    }
    boxes_[ordinal] = Box{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                          static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
    if (right - left > kSmall || bottom - top > kSmall) {
        where_[ordinal] = Where::Large;
        large_.push_back(ordinal);
        return;
    }
    where_[ordinal] = Where::Grid;
    ++inGrid_;
    if (columns_ > 0) {
        cells_[CellOf(left, top)].push_back(ordinal);
    }
}

void ObjectIndex::Unfile(std::uint32_t ordinal) {
    auto drop = [ordinal](std::vector<std::uint32_t>& list) {
        auto found = std::find(list.begin(), list.end(), ordinal);
        if (found != list.end()) {
            *found = list.back();
            list.pop_back();
        }
    };
    switch (where_[ordinal]) {
        case Where::Grid:
            --inGrid_;
            if (columns_ > 0) {
                const Box& box = boxes_[ordinal];
                drop(cells_[CellOf(box.left, box.top)]);
            }
            break;
        case Where::Large:
            drop(large_);
            break;
        case Where::Anywhere:
            drop(anywhere_);
            break;
        case Where::Nowhere:
            break;
    }
    where_[ordinal] = Where::Nowhere;
}

void ObjectIndex::Moved(std::uint32_t ordinal) {
    ++version_;
    Unfile(ordinal);
    File(ordinal);
}

void ObjectIndex::DraggingChanged(std::uint32_t ordinal, bool dragging) {
    ++version_;
    auto at = std::lower_bound(dragging_.begin(), dragging_.end(), ordinal);
    const bool listed = at != dragging_.end() && *at == ordinal;
    if (dragging && !listed) {
        dragging_.insert(at, ordinal);
    } else if (!dragging && listed) {
        dragging_.erase(at);
    }
}

std::int32_t ObjectIndex::Column(i64 x) const {
    return static_cast<std::int32_t>(
        std::clamp<i64>((x - originX_) >> shift_, 0, i64{columns_} - 1));
}

std::int32_t ObjectIndex::Row(i64 y) const {
    return static_cast<std::int32_t>(std::clamp<i64>((y - originY_) >> shift_, 0, i64{rows_} - 1));
}

std::uint32_t ObjectIndex::CellOf(i64 x, i64 y) const {
    return static_cast<std::uint32_t>(Row(y)) * static_cast<std::uint32_t>(columns_) +
           static_cast<std::uint32_t>(Column(x));
}

void ObjectIndex::EnsureGrid() const {
    if (columns_ > 0 && filedSince_ <= gridMadeFrom_) {
        return;
    }
    // The grid spans the corners of the boxes in it, in cells of 64 units or, for a wide
    // spread, the least power of two that keeps it within kMaxSide cells a side and within
    // mostCells in all.
    i64 minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool any = false;
    for (std::size_t i = 0; i < where_.size(); ++i) {
        if (where_[i] == Where::Grid) {
            const Box& box = boxes_[i];
            minX = any ? std::min<i64>(minX, box.left) : box.left;
            minY = any ? std::min<i64>(minY, box.top) : box.top;
            maxX = any ? std::max<i64>(maxX, box.left) : box.left;
            maxY = any ? std::max<i64>(maxY, box.top) : box.top;
            any = true;
        }
    }
    originX_ = minX;
    originY_ = minY;
    shift_ = kFirstShift;
    // A few objects far apart must not cost millions of empty cells: the cells are at most
    // about twice the boxes (and a few thousand for a small world).
    const i64 mostCells = std::max<i64>(4096, 2 * i64{inGrid_});
    auto side = [this](i64 extent) { return (extent >> shift_) + 1; };
    while (side(maxX - minX) > kMaxSide || side(maxY - minY) > kMaxSide ||
           side(maxX - minX) * side(maxY - minY) > mostCells) {
        ++shift_;
    }
    columns_ = static_cast<std::int32_t>(((maxX - minX) >> shift_) + 1);
    rows_ = static_cast<std::int32_t>(((maxY - minY) >> shift_) + 1);
    std::vector<std::vector<std::uint32_t>> cells(static_cast<std::size_t>(columns_) *
                                                  static_cast<std::size_t>(rows_));
    // Counted first, so that every cell is allocated once and exactly.
    std::vector<std::uint32_t> counts(cells.size(), 0);
    for (std::size_t i = 0; i < where_.size(); ++i) {
        if (where_[i] == Where::Grid) {
            ++counts[CellOf(boxes_[i].left, boxes_[i].top)];
        }
    }
    for (std::size_t cell = 0; cell < cells.size(); ++cell) {
        cells[cell].reserve(counts[cell]);
    }
    for (std::size_t i = 0; i < where_.size(); ++i) {
        if (where_[i] == Where::Grid) {
            cells[CellOf(boxes_[i].left, boxes_[i].top)].push_back(static_cast<std::uint32_t>(i));
        }
    }
    cells_ = std::move(cells);
    gridMadeFrom_ = inGrid_;
    filedSince_ = 0;
}

namespace {

bool Meets(const WorldBox& box, std::int64_t left, std::int64_t top, std::int64_t right,
           std::int64_t bottom) {
    return left < box.right && right > box.left && top < box.bottom && bottom > box.top;
}

}  // namespace

void ObjectIndex::FindMeeting(const WorldBox& box, std::vector<std::uint32_t>& ordinals) const {
    ordinals.insert(ordinals.end(), anywhere_.begin(), anywhere_.end());
    if (box.left >= box.right || box.top >= box.bottom) {
        return;
    }
    auto meets = [&box](const Box& other) {
        return Meets(box, other.left, other.top, other.right, other.bottom);
    };
    for (std::uint32_t ordinal : large_) {
        if (meets(boxes_[ordinal])) {
            ordinals.push_back(ordinal);
        }
    }
    if (inGrid_ == 0) {
        return;
    }
    VisitCells(box, [&](const std::vector<std::uint32_t>& cell) {
        for (std::uint32_t ordinal : cell) {
            if (meets(boxes_[ordinal])) {
                ordinals.push_back(ordinal);
            }
        }
    });
}

template <typename Visit>
void ObjectIndex::VisitCells(const WorldBox& box, Visit visit) const {
    EnsureGrid();
    // A box in the grid is at most kSmall wide and tall and filed by its top-left corner, so
    // the boxes that meet lie in the cells of the corners from kSmall before the box to its end.
    const std::int32_t firstColumn = Column(box.left - kSmall);
    const std::int32_t lastColumn = Column(box.right - 1);
    const std::int32_t firstRow = Row(box.top - kSmall);
    const std::int32_t lastRow = Row(box.bottom - 1);
    for (std::int32_t row = firstRow; row <= lastRow; ++row) {
        const std::size_t base = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_);
        for (std::int32_t column = firstColumn; column <= lastColumn; ++column) {
            visit(cells_[base + static_cast<std::size_t>(column)]);
        }
    }
}

std::size_t ObjectIndex::CandidatesFor(const WorldBox& box) const {
    std::size_t count = anywhere_.size() + large_.size();
    if (inGrid_ == 0 || box.left >= box.right || box.top >= box.bottom) {
        return count;
    }
    VisitCells(box, [&count](const std::vector<std::uint32_t>& cell) { count += cell.size(); });
    return count;
}

void ObjectIndex::FindMeetingLastFirst(const WorldBox& box, std::uint32_t before,
                                       std::vector<std::uint32_t>& ordinals) const {
    ordinals.clear();
    before = std::min(before, Count());
    // When the box holds a good share of the world, as a paint of a small world does, one
    // pass down the ordinals reads every box in order and needs no sort; it finds what the
    // cells would.
    constexpr std::size_t kDenseShare = 8;
    if (CandidatesFor(box) * kDenseShare < before) {
        FindMeeting(box, ordinals);
        std::erase_if(ordinals, [before](std::uint32_t ordinal) { return ordinal >= before; });
        std::sort(ordinals.begin(), ordinals.end(), std::greater<>());
        return;
    }
    const bool empty = box.left >= box.right || box.top >= box.bottom;
    for (std::uint32_t ordinal = before; ordinal-- > 0;) {
        const Where where = where_[ordinal];
        if (where == Where::Anywhere) {
            ordinals.push_back(ordinal);
        } else if (where != Where::Nowhere && !empty) {
            const Box& other = boxes_[ordinal];
            if (Meets(box, other.left, other.top, other.right, other.bottom)) {
                ordinals.push_back(ordinal);
            }
        }
    }
}
