#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "document/WorldLoadReport.h"
#include "framework/CDocument.h"
#include "objects/DrawableObject.h"
#include "objects/InteractableObject.h"
#include "objects/Object.h"
#include "objects/ObjectIndex.h"
#include "objects/PointerList.h"
#include "objects/UpdateableObject.h"
#include "objects/WorldContext.h"
#include "shapes/DrawPoint.h"

/// The document: a world of objects, its size and the last mouse position.
///
/// It owns every object through the list of all objects; the three typed lists hold further
/// pointers to the same objects, the drawables, updateables and interactables, each in the
/// order of addition. The view reaches the objects through the world's index (GetIndex),
/// which gives the result of walking those lists.
class World : public CDocument, public WorldContext {
    DECLARE_DYNCREATE(World)

public:
    /// Empty, 1024 by 1024, mouse position (0, 0) with radius 0.
    World();
    /// Destroys every object, first to last.
    ~World() override;

    /// Empties the world, first the typed lists, then every object head first, and resets the
    /// size to 1024 by 1024. Keeps the mouse position and asks no view to update. When the
    /// base preparation fails it returns false with nothing changed.
    [[nodiscard]] bool OnNewDocument() override;
    /// Saves the world text into a storing archive, or empties the world and loads it from a
    /// loading archive, then asks every view to update. A load never fails: it keeps what it
    /// could read, and GetLoadReport tells how far that went. Errors of the archive pass
    /// through as CFileException.
    void Serialize(CArchive& archive) override;
    /// Copies the objects (a fraction of the cost of their text) and writes the copy's text in
    /// the function. A world with an object of another class than DraggableObject, or a shape
    /// of another class than the four, cannot be copied faithfully and stores its text at once.
    std::function<std::string()> TextSnapshot() override;
    /// How the last load went. While a load runs, and after one that ended in an exception,
    /// it reports a partial read at line 0.
    const WorldLoadReport& GetLoadReport() const { return loadReport; }
    /// "2,700,000 objects": the number of objects, for the status bar.
    std::string DescribeContent() const override;

    /// Takes ownership of the object and appends it to the list of all objects and to each of
    /// updateables, drawables and interactables whose class it has, tested in that order.
    void AddObject(Object* object);
    const PointerList<Object>& GetAllObjects() const { return objects; }
    const PointerList<InteractableObject>& GetInteractables() const {
        MakeTypedLists();
        return interactables;
    }
    const PointerList<DrawableObject>& GetDrawables() const {
        MakeTypedLists();
        return drawables;
    }
    const PointerList<UpdateableObject>& GetUpdateables() const {
        MakeTypedLists();
        return updateables;
    }
    /// Where the objects are, for the view to reach only those that a paint, an event or a
    /// tick can affect.
    const ObjectIndex& GetIndex() const { return index; }

    /// Stores any width and height, then asks every view to update, even when nothing changed.
    void SetWorldSize(std::int32_t newWidth, std::int32_t newHeight);
    void GetWorldSize(std::int32_t& outWidth, std::int32_t& outHeight) const;

    /// Copies colour, x, y and radius of point into the mouse position.
    void SetMousePosition(const DrawPoint& point);
    DrawPoint& GetMousePosition(DrawPoint& point) const override;
    /// Raises the modified flag, then asks every view to update.
    void MarkChanged() override;

protected:
    /// Moves the objects, the size and the load report into a holder, leaving the world empty:
    /// putting them back costs no copy and no allocation.
    std::unique_ptr<ContentAside> SetContentAside() override;
    /// Destroys the objects a failed load left and moves the held ones back.
    void PutContentBack(std::unique_ptr<ContentAside> content) override;

private:
    static constexpr std::int32_t kDefaultSize = 1024;

    /// Empties the typed lists, then deletes every object head first and empties objects.
    void DestroyObjects();
    /// Fills the typed lists from the list of all objects, unless they are filled already.
    void MakeTypedLists() const;
    /// Appends the object to each typed list whose class it has.
    void AppendToTypedLists(Object* object) const;

    PointerList<Object> objects;  ///< owning
    // The typed lists hold 72 bytes per object that the view, which goes through the index,
    // never reads; they are made when first asked for and kept up to date from then on.
    mutable bool typedListsMade = false;
    bool destroying = false;
    mutable PointerList<InteractableObject> interactables;
    mutable PointerList<DrawableObject> drawables;
    mutable PointerList<UpdateableObject> updateables;
    ObjectIndex index;
    std::int32_t width = kDefaultSize;
    std::int32_t height = kDefaultSize;
    DrawPoint mousePosition;
    WorldLoadReport loadReport;
};
