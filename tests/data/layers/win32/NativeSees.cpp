// A file that talks to Windows must not see the drawing layer's names.
#include "gdi/GdiTypes.h"
