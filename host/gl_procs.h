// The table of OpenGL entry points beyond 1.1, resolved once by name after the context exists.
#pragma once

#include "host/platform/sys.h"

inline constexpr int kGlProcCount = 34;

// Before resolution an entry holds its name, afterwards the entry point (nullptr when the driver
// lacks it). The entry after the last is empty and ends the walk.
union GlProcEntry {
    const char* name;
    GlProc proc;
};

struct GlProcTable {
    GlProcEntry entries[kGlProcCount + 1];
    bool resolved;
};

// The slots this program calls.
enum GlProcSlot : int {
    kSlotCreateShaderProgramv = 10,
    kSlotGetProgramiv = 26,
    kSlotGetProgramInfoLog = 27,
    kSlotGetShaderiv = 28,
    kSlotGetShaderInfoLog = 29,
    kSlotIsProgram = 30,
    kSlotGetAttachedShaders = 31,
    kSlotUseProgram = 32,
};

// The table as the program starts with it: names, not resolved.
GlProcTable initial_gl_proc_table();

extern GlProcTable gl_procs;

// Resolves every entry by name once; later calls do nothing. Needs a current context.
void gl_load_procs(GlProcTable& table);

// A resolved entry as its real type.
template <typename Pfn> Pfn gl_proc(GlProcSlot slot) {
    return reinterpret_cast<Pfn>(gl_procs.entries[slot].proc);
}

// The name of a slot, whether or not the table is resolved.
const char* gl_proc_name(int slot);

// Names the first entry point the program calls that the driver lacks, or returns nullptr when
// all are there: the table's slots above and the four looked up at each use.
const char* first_missing_entry_point();
