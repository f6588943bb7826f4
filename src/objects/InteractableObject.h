#pragma once

#include "objects/DrawableObject.h"

/// A drawable object that can take the mouse events of the view. Each event operation returns
/// true when the object took the event, so that no later object is offered it; this class
/// takes none. The mouse position is the world's last one (WorldContext::GetMousePosition).
class InteractableObject : public DrawableObject {
public:
    ~InteractableObject() override = default;

    virtual bool OnLButtonDown(WorldContext& world);
    virtual bool OnLButtonUp(WorldContext& world);
    virtual bool OnRButtonDown(WorldContext& world);
    virtual bool OnRButtonUp(WorldContext& world);
    virtual bool OnMouseMove(WorldContext& world);
};
