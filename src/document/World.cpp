#include "document/World.h"

#include <cstddef>
#include <istream>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <variant>
#include <vector>

#include "document/ArchiveStreambuf.h"
#include "document/MemoryBudget.h"
#include "document/WorldFile.h"
#include "framework/CArchive.h"
#include "framework/CFileException.h"
#include "objects/DraggableObject.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawRectangle.h"
#include "shapes/WorldText.h"

namespace {

/// Up to 16 bytes of the text at the stream buffer's read position, after prefix (text the
/// stream already took), quoted as QuoteFileText does; "the end of the file" or "white space"
/// when there is no text.
std::string TextAhead(std::streambuf& buffer, std::string text = {}) {
    using Traits = std::char_traits<char>;
    for (int c = buffer.sgetc(); c != Traits::eof() && text.size() < 16; c = buffer.snextc()) {
        if (c == ' ' || (c >= '\t' && c <= '\r')) {
            break;
        }
        text += static_cast<char>(c);
    }
    if (text.empty()) {
        return buffer.sgetc() == Traits::eof() ? "the end of the file" : "white space";
    }
    return QuoteFileText(text);
}

}  // namespace

IMPLEMENT_DYNCREATE(World)

World::World() : mousePosition(0, 0, 0) {}

World::~World() {
    static_cast<void>(World::OnNewDocument());
    // OnNewDocument leaves the objects alone when the base preparation fails; a dying world
    // must not leak them, so they go regardless.
    DestroyObjects();
}

namespace {

/// A shape of one of the four classes, copied by value.
using ShapeCopy = std::variant<DrawPoint, DrawLine, DrawRectangle, DrawEllipse>;

/// Appends a copy of the shape; false for a shape of another class.
bool CopyShape(const DrawPrimitive* shape, std::vector<ShapeCopy>& shapes) {
    if (shape == nullptr) {
        return false;
    }
    const std::type_info& type = typeid(*shape);
    if (type == typeid(DrawPoint)) {
        shapes.emplace_back(std::in_place_type<DrawPoint>, static_cast<const DrawPoint&>(*shape));
    } else if (type == typeid(DrawLine)) {
        shapes.emplace_back(std::in_place_type<DrawLine>, static_cast<const DrawLine&>(*shape));
    } else if (type == typeid(DrawRectangle)) {
        shapes.emplace_back(std::in_place_type<DrawRectangle>,
                            static_cast<const DrawRectangle&>(*shape));
    } else if (type == typeid(DrawEllipse)) {
        shapes.emplace_back(std::in_place_type<DrawEllipse>,
                            static_cast<const DrawEllipse&>(*shape));
    } else {
        return false;
    }
    return true;
}

/// A plain draggable object as its text shows it: its place and how many shapes follow.
struct ObjectCopy {
    DrawPoint position;
    std::size_t shapes;
};

/// The content of a world of plain draggable objects in two arrays, so that taking it costs
/// two allocations and a copy of each shape, not the allocation of every object and shape.
struct WorldCopy {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<ObjectCopy> objects;
    std::vector<ShapeCopy> shapes;
};

}  // namespace

std::function<std::string()> World::TextSnapshot() {
    auto copy = std::make_shared<WorldCopy>();
    copy->width = width;
    copy->height = height;
    copy->objects.reserve(static_cast<std::size_t>(objects.count));
    std::size_t shapeCount = 0;
    for (const auto* node = objects.head; node != nullptr; node = node->next) {
        // An object of another class may write anything; only its own Write knows what.
        if (node->value != nullptr && typeid(*node->value) != typeid(DraggableObject)) {
            return CDocument::TextSnapshot();
        }
        if (node->value != nullptr) {
            shapeCount += static_cast<std::size_t>(
                static_cast<const DraggableObject*>(node->value)->GetShapes().count);
        }
    }
    copy->shapes.reserve(shapeCount);
    for (const auto* node = objects.head; node != nullptr; node = node->next) {
        if (node->value == nullptr) {
            continue;  // the writer leaves it out too
        }
        const auto& object = static_cast<const DraggableObject&>(*node->value);
        DrawPoint position(0, 0, 0);
        copy->objects.push_back(ObjectCopy{object.GetPosition(position),
                                           static_cast<std::size_t>(object.GetShapes().count)});
        for (const auto* shape = object.GetShapes().head; shape != nullptr; shape = shape->next) {
            if (!CopyShape(shape->value, copy->shapes)) {
                return CDocument::TextSnapshot();
            }
        }
    }
    // The objects are made again from the copy where the text is made, and written by their
    // own Write, so the text is the one Serialize would have stored.
    return [copy] {
        World world;
        world.width = copy->width;
        world.height = copy->height;
        std::size_t next = 0;
        for (const ObjectCopy& taken : copy->objects) {
            auto object = std::make_unique<DraggableObject>();
            object->SetPosition(taken.position);
            for (std::size_t i = 0; i < taken.shapes; ++i, ++next) {
                object->AddShape(std::visit(
                    [](const auto& shape) -> DrawPrimitive* {
                        return new std::decay_t<decltype(shape)>(shape);
                    },
                    copy->shapes[next]));
            }
            world.AddObject(object.release());
        }
        std::string text;
        CArchive archive = CArchive::ToMemory(text);
        world.Serialize(archive);
        archive.Close();
        return text;
    };
}

bool World::OnNewDocument() {
    if (!CDocument::OnNewDocument()) {
        return false;
    }
    DestroyObjects();
    width = kDefaultSize;
    height = kDefaultSize;
    return true;
}

void World::Serialize(CArchive& archive) {
    ArchiveStreambuf buffer(archive);
    if (archive.IsStoring()) {
        std::ostream out(&buffer);
        // The archive raises its own errors; a stream that failed without one would otherwise
        // pass for a complete save.
        if (!WriteWorld(out, *this)) {
            throw CFileException(CFileException::save, archive.GetFileName(),
                                 "the world text could not be written");
        }
        return;
    }
    // Refused before anything is read or emptied, rather than exhausting the machine.
    const std::string shortfall = MemoryShortfall(archive.GetLength());
    if (!shortfall.empty()) {
        throw CFileException(CFileException::open, archive.GetFileName(), shortfall);
    }
    // Until the reader is through, an exception may still cut the load short.
    loadReport = WorldLoadReport{};
    loadReport.status = WorldLoadReport::Partial;
    loadReport.expected = "the rest of the file";
    if (!OnNewDocument()) {
        throw CFileException(CFileException::read, archive.GetFileName(),
                             "the world could not be emptied to load it");
    }
    std::istream in(&buffer);
    TextReadTrace trace;
    trace.locate = [&buffer] {
        const ArchiveStreambuf::Position position = buffer.GetReadPosition();
        return std::pair{position.line, position.column};
    };
    AttachReadTrace(in, &trace);
    const bool sized = ReadWorld(in, *this);
    WorldLoadReport report;
    if (sized && trace.expected == nullptr) {
        report.status = WorldLoadReport::Complete;
    } else if (!sized && archive.GetPosition() == 0) {
        // An empty file holds nothing to lose: it opens as a new world that a save fills.
        report.status = WorldLoadReport::Complete;
        report.emptyFile = true;
    } else {
        report.status = sized ? WorldLoadReport::Partial : WorldLoadReport::NotAWorldFile;
        const ArchiveStreambuf::Position stop = buffer.GetReadPosition();
        report.line = stop.line;
        report.column = stop.column;
        report.expected = trace.expected != nullptr ? trace.expected : "";
        if (trace.unreadSign != 0) {
            // The sign stands just before the stream, on the same line.
            report.column -= 1;
            report.found = TextAhead(buffer, std::string(1, trace.unreadSign));
        } else {
            report.found = trace.found != nullptr ? trace.found
                           : in.eof()             ? "the end of the file"
                                                  : TextAhead(buffer);
        }
    }
    report.skippedWords = trace.skippedWords;
    report.firstSkippedWord = std::move(trace.firstSkippedWord);
    report.firstSkippedLine = trace.firstSkippedLine;
    report.firstSkippedColumn = trace.firstSkippedColumn;
    loadReport = std::move(report);
    UpdateAllViews(nullptr, 0, nullptr);
}

namespace {

/// A world's content while a load may replace it; it deletes the objects unless they went back.
struct WorldAside : CDocument::ContentAside {
    PointerList<Object> objects;
    PointerList<InteractableObject> interactables;
    PointerList<DrawableObject> drawables;
    PointerList<UpdateableObject> updateables;
    bool typedListsMade = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
    WorldLoadReport loadReport;

    ~WorldAside() override {
        drawables.Clear();
        interactables.Clear();
        updateables.Clear();
        DeleteItemsAndClear(objects);
    }
};

}  // namespace

std::unique_ptr<CDocument::ContentAside> World::SetContentAside() {
    auto aside = std::make_unique<WorldAside>();
    aside->objects.Swap(objects);
    aside->interactables.Swap(interactables);
    aside->drawables.Swap(drawables);
    aside->updateables.Swap(updateables);
    aside->typedListsMade = std::exchange(typedListsMade, false);
    // The objects set aside leave the index; they come back into it only with the content.
    index.Clear();
    aside->width = std::exchange(width, kDefaultSize);
    aside->height = std::exchange(height, kDefaultSize);
    aside->loadReport = std::move(loadReport);
    return aside;
}

void World::PutContentBack(std::unique_ptr<ContentAside> content) {
    auto* aside = dynamic_cast<WorldAside*>(content.get());
    if (aside == nullptr) {
        CDocument::PutContentBack(std::move(content));
        return;
    }
    DestroyObjects();
    // The holder now owns what is left of the failed load (nothing) and deletes it.
    objects.Swap(aside->objects);
    interactables.Swap(aside->interactables);
    drawables.Swap(aside->drawables);
    updateables.Swap(aside->updateables);
    typedListsMade = aside->typedListsMade;
    for (auto* node = objects.head; node != nullptr; node = node->next) {
        index.Add(node->value);
    }
    width = aside->width;
    height = aside->height;
    loadReport = std::move(aside->loadReport);
    UpdateAllViews(nullptr, 0, nullptr);
}

std::string World::DescribeContent() const {
    std::string digits = std::to_string(objects.count);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits + (objects.count == 1 ? " object" : " objects");
}

void World::DestroyObjects() {
    index.Clear();
    drawables.Clear();
    interactables.Clear();
    updateables.Clear();
    // The typed lists are empty while the objects go, as they were emptied first, even for an
    // object that asks for them as it dies; afterwards they are made again only when asked for.
    destroying = true;
    DeleteItemsAndClear(objects);
    destroying = false;
    typedListsMade = false;
}

void World::AddObject(Object* object) {
    objects.Append(object);
    if (typedListsMade) {
        AppendToTypedLists(object);
    }
    index.Add(object);
}

void World::MakeTypedLists() const {
    if (typedListsMade || destroying) {
        return;
    }
    typedListsMade = true;
    for (auto* node = objects.head; node != nullptr; node = node->next) {
        AppendToTypedLists(node->value);
    }
}

void World::AppendToTypedLists(Object* object) const {
    if (auto* updateable = dynamic_cast<UpdateableObject*>(object)) {
        updateables.Append(updateable);
    }
    if (auto* drawable = dynamic_cast<DrawableObject*>(object)) {
        drawables.Append(drawable);
    }
    if (auto* interactable = dynamic_cast<InteractableObject*>(object)) {
        interactables.Append(interactable);
    }
}

void World::SetWorldSize(std::int32_t newWidth, std::int32_t newHeight) {
    width = newWidth;
    height = newHeight;
    UpdateAllViews(nullptr, 0, nullptr);
}

void World::GetWorldSize(std::int32_t& outWidth, std::int32_t& outHeight) const {
    outWidth = width;
    outHeight = height;
}

void World::SetMousePosition(const DrawPoint& point) {
    mousePosition = point;
}

DrawPoint& World::GetMousePosition(DrawPoint& point) const {
    point = mousePosition;
    return point;
}

void World::MarkChanged() {
    SetModifiedFlag(true);
    UpdateAllViews(nullptr, 0, nullptr);
}
