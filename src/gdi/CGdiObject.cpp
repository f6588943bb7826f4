#include "gdi/CGdiObject.h"

bool CGdiObject::DeleteObject() {
    if (!created_) {
        return false;
    }
    ReleaseResource();
    created_ = false;
    return true;
}
