#include "framework/CObject.h"

const CRuntimeClass CObject::classCObject{"CObject", nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}
