#include "document/World.h"

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
