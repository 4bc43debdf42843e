// The parts of the platform seam that make sense without a window: GL entry points by name for
// the headless context. Tools and tests link this instead of a windowed backend and use only
// the host routines that need no more than this (the frame's passes, the program checks).
#include "headless_gl.h"
#include "host/platform/sys.h"

GlProc sys_gl_proc_address(const char* name) {
    return reinterpret_cast<GlProc>(headless::proc_address(name));
}
