#include "objects/InteractableObject.h"

bool InteractableObject::OnLButtonDown(WorldContext& /*world*/) {
    return false;
}
bool InteractableObject::OnLButtonUp(WorldContext& /*world*/) {
    return false;
}
bool InteractableObject::OnRButtonDown(WorldContext& /*world*/) {
    return false;
}
bool InteractableObject::OnRButtonUp(WorldContext& /*world*/) {
    return false;
}
bool InteractableObject::OnMouseMove(WorldContext& /*world*/) {
    return false;
}
