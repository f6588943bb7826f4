#include "files/Os.h"

namespace {

Os* inPlace = nullptr;

}  // namespace

Os& TheOs() {
    return inPlace != nullptr ? *inPlace : SystemOs();
}

ScopedOs::ScopedOs(Os& os) : previous_(inPlace) {
    inPlace = &os;
}

ScopedOs::~ScopedOs() {
    inPlace = previous_;
}
