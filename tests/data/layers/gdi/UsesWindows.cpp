// Windows headers belong below the files layer and to the Windows backend.
#include <windows.h>
