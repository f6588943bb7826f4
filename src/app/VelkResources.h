#pragma once

#include "framework/Resources.h"

/// Every resource of Velk: menu and accelerators 128, the document string and string table,
/// About dialog 100, icon groups 128 and 129, and the version record 1.0.0.1.
const ResourceSet& VelkResources();
