#include "host/gl_procs.h"

namespace {

constexpr const char* kGlProcNames[kGlProcCount] = {
    "glProgramUniform1fv",
    "glNamedBufferDataEXT",
    "glGenBuffers",
    "glGenProgramPipelines",
    "glBindBuffer",
    "glBindBufferBase",
    "glBindProgramPipeline",
    "glTextureParameteriEXT",
    "glTextureImage2DEXT",
    "glCopyTextureSubImage2D",
    "glCreateShaderProgramv",
    "glUseProgramStages",
    "glDispatchCompute",
    "glMemoryBarrier",
    "glGenRenderbuffers",
    "glBindFramebuffer",
    "glGenFramebuffers",
    "glProgramUniform1i",
    "glNamedFramebufferRenderbufferEXT",
    "glNamedFramebufferTexture2DEXT",
    "glNamedRenderbufferStorageEXT",
    "glActiveTexture",
    "glMapNamedBufferEXT",
    "glUnmapNamedBufferEXT",
    "glDetachShader",
    "glDeleteShader",
    "glGetProgramiv",
    "glGetProgramInfoLog",
    "glGetShaderiv",
    "glGetShaderInfoLog",
    "glIsProgram",
    "glGetAttachedShaders",
    "glUseProgram",
    "glCheckFramebufferStatus",
};

constexpr GlProcSlot kCalledSlots[] = {
    kSlotCreateShaderProgramv, kSlotGetProgramiv, kSlotGetProgramInfoLog,  kSlotGetShaderiv,
    kSlotGetShaderInfoLog,     kSlotIsProgram,    kSlotGetAttachedShaders, kSlotUseProgram,
};

constexpr const char* kLookedUpEachUse[] = {
    "glCreateShaderProgramv",
    "glUseProgram",
    "glUniform3f",
    "glUniform2i",
};

} // namespace

GlProcTable initial_gl_proc_table() {
    GlProcTable table{};
    for (int slot = 0; slot < kGlProcCount; ++slot) {
        table.entries[slot].name = kGlProcNames[slot];
    }
    table.entries[kGlProcCount].name = nullptr;
    table.resolved = false;
    return table;
}

GlProcTable gl_procs = initial_gl_proc_table();

void gl_load_procs(GlProcTable& table) {
    if (table.resolved) {
        return;
    }
    // A missing entry point leaves an empty entry; the walk ends on the terminating one only,
    // since each slot's own name is tested before it is replaced.
    for (int slot = 0; table.entries[slot].name != nullptr; ++slot) {
        const char* name = table.entries[slot].name;
        table.entries[slot].proc = sys_gl_proc_address(name);
    }
    table.resolved = true;
}

const char* gl_proc_name(int slot) {
    return kGlProcNames[slot];
}

const char* first_missing_entry_point() {
    for (GlProcSlot slot : kCalledSlots) {
        if (gl_procs.entries[slot].proc == nullptr) {
            return kGlProcNames[slot];
        }
    }
    for (const char* name : kLookedUpEachUse) {
        if (sys_gl_proc_address(name) == nullptr) {
            return name;
        }
    }
    return nullptr;
}
