// Compiled into every program that links mimalloc. A world of many objects takes tens of
// megabytes in small blocks, and a save or load moves as many again; on 4 KiB pages each of
// those pages costs a fault when first touched, which on a virtual machine takes longer than
// the work done on it. 2 MiB pages (transparent huge pages where the system allows them,
// ordinary ones otherwise) make that one fault in 512.
#include <mimalloc.h>

namespace {

// Before main, so that the blocks of static objects and of the first world already come from
// large pages; the option is read whenever mimalloc asks the system for more memory.
__attribute__((constructor)) void UseLargeAllocatorPages() {
    mi_option_enable(mi_option_large_os_pages);
}

}  // namespace
