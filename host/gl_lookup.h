// Entry points looked up by name at each use.
#pragma once

#include "host/platform/sys.h"

// The entry point of that name for the current context as type Pfn, or nullptr.
template <typename Pfn> Pfn gl_lookup(const char* name) {
    return reinterpret_cast<Pfn>(sys_gl_proc_address(name));
}
