// An upward include: a shape must not know the view.
#include "view/CWorldView.h"
