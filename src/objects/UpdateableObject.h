#pragma once

#include "objects/Object.h"

class WorldContext;

/// An object that takes one step on every timer tick of the view.
class UpdateableObject : public Object {
public:
    ~UpdateableObject() override = default;

    /// One timer tick; true when the object changed something that must be shown.
    virtual bool Update(WorldContext& world) = 0;
};
