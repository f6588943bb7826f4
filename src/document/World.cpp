#include "document/World.h"

#include <cstddef>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <utility>

#include "document/ArchiveStreambuf.h"
#include "document/WorldFile.h"
#include "framework/CArchive.h"
#include "shapes/WorldText.h"

namespace {

/// Up to 16 bytes of the text at the stream buffer's read position, quoted, with bytes that
/// are not printable shown as \xHH; "the end of the file" when nothing is left.
std::string TextAhead(std::streambuf& buffer) {
    using Traits = std::char_traits<char>;
    std::string text;
    for (int c = buffer.sgetc(); c != Traits::eof() && text.size() < 16; c = buffer.snextc()) {
        if (c == ' ' || (c >= '\t' && c <= '\r')) {
            break;
        }
        if (c > ' ' && c < 0x7F && c != '"' && c != '\\') {
            text += static_cast<char>(c);
        } else {
            static const char kHex[] = "0123456789ABCDEF";
            text += {'\\', 'x', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
        }
    }
    if (text.empty()) {
        return buffer.sgetc() == Traits::eof() ? "the end of the file" : "white space";
    }
    return "\"" + text + "\"";
}

}  // namespace

IMPLEMENT_DYNCREATE(World)

World::World() : mousePosition(0, 0, 0) {}

World::~World() {
    World::OnNewDocument();
    // OnNewDocument leaves the objects alone when the base preparation fails; a dying world
    // must not leak them, so they go regardless.
    DestroyObjects();
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
        WriteWorld(out, *this);
        return;
    }
    // Until the reader is through, an exception may still cut the load short.
    loadReport = WorldLoadReport{};
    loadReport.status = WorldLoadReport::Partial;
    loadReport.expected = "the rest of the file";
    OnNewDocument();
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
    } else {
        report.status = sized ? WorldLoadReport::Partial : WorldLoadReport::NotAWorldFile;
        const ArchiveStreambuf::Position stop = buffer.GetReadPosition();
        report.line = stop.line;
        report.column = stop.column;
        report.expected = trace.expected != nullptr ? trace.expected : "";
        report.found = trace.found != nullptr ? trace.found
                       : in.eof()             ? "the end of the file"
                                              : TextAhead(buffer);
    }
    report.skippedWords = trace.skippedWords;
    report.firstSkippedWord = std::move(trace.firstSkippedWord);
    report.firstSkippedLine = trace.firstSkippedLine;
    report.firstSkippedColumn = trace.firstSkippedColumn;
    loadReport = std::move(report);
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
    drawables.Clear();
    interactables.Clear();
    updateables.Clear();
    DeleteItemsAndClear(objects);
}

void World::AddObject(Object* object) {
    objects.Append(object);
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
