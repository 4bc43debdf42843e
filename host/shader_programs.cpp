#include "host/shader_programs.h"

#include "host/gl_api.h"
#include "host/gl_procs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

// The shared tail of both checks: the failure line, then the info log when it has any text.
template <typename GetIv, typename GetLog>
bool check_object(std::uint32_t object, std::uint32_t status_name, GetIv get_iv, GetLog get_log,
                  const char* failure_format, const char* name) {
    std::int32_t status = 0;
    std::int32_t length = 0;
    get_iv(object, status_name, &status);
    get_iv(object, kGlInfoLogLength, &length);
    if (status == 0) {
        std::fprintf(stderr, failure_format, name);
    }
    if (length > 1) {
        std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
        get_log(object, length, nullptr, log.data());
        std::fprintf(stderr, "%s\n", log.data());
    }
    return status == kGlTrue;
}

} // namespace

bool CheckShader(std::uint32_t shader, const char* name) {
    if (shader == 0) {
        return false;
    }
    return check_object(shader, kGlCompileStatus, gl_proc<PfnGlGetShaderiv>(kSlotGetShaderiv),
                        gl_proc<PfnGlGetShaderInfoLog>(kSlotGetShaderInfoLog),
                        "ERROR: CheckShader: failed to compile %s!\n", name);
}

bool CheckProgram(std::uint32_t program, const char* name) {
    return check_object(program, kGlLinkStatus, gl_proc<PfnGlGetProgramiv>(kSlotGetProgramiv),
                        gl_proc<PfnGlGetProgramInfoLog>(kSlotGetProgramInfoLog),
                        "ERROR: CheckProgram: failed to link %s!\n", name);
}

int load_text_file(const char* path, std::string& text) {
    // The size comes from the file's status, not from seeking: a directory or a pipe has no
    // meaningful end, and opening a pipe would block until something writes to it.
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        std::printf("Input shader file at \"%s\" is not a regular file; not loaded.\n", path);
        return -1;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        if (errno == ENOENT) {
            std::printf("Input shader file at \"%s\" not found!\n", path);
        } else {
            std::printf("Input shader file at \"%s\" could not be opened: %s\n", path,
                        std::strerror(errno));
        }
        return -1;
    }
    // Read to the end rather than trusting a size taken before: the file may grow or shrink
    // while it is being saved. One byte past the limit tells a too-large file apart.
    std::vector<char> block;
    char chunk[64 * 1024];
    bool read_failed = false;
    while (block.size() <= kMaxShaderFileBytes) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        block.insert(block.end(), chunk, chunk + got);
        if (got < sizeof chunk) {
            read_failed = std::ferror(file) != 0;
            break;
        }
    }
    const int read_errno = errno;
    std::fclose(file);
    if (read_failed) {
        std::printf("Input shader file at \"%s\" could not be read: %s\n", path,
                    std::strerror(read_errno));
        return -1;
    }
    if (block.size() > kMaxShaderFileBytes) {
        std::printf("Input shader file at \"%s\" is larger than %llu bytes; not loaded.\n", path,
                    static_cast<unsigned long long>(kMaxShaderFileBytes));
        return -1;
    }
    // A zero byte ends the text, as it would for the GL.
    block.push_back('\0');
    text.assign(block.data());
    std::printf("Loaded shader from \"%s\"\n", path);
    return 0;
}

void create_program_from_file(const char* path, std::uint32_t& program) {
    std::string text;
    if (load_text_file(path, text) == 0) {
        const char* sources[] = {text.c_str()};
        program = gl_proc<PfnGlCreateShaderProgramv>(kSlotCreateShaderProgramv)(kGlFragmentShader,
                                                                                1, sources);
    }
}

bool build_program(const char* path) {
    bool ok = true;
    std::uint32_t program = 0;
    create_program_from_file(path, program);
    ok = ok && program != 0;
    if (ok) {
        ok = ok && CheckProgram(program, path);
        ok = ok && gl_proc<PfnGlIsProgram>(kSlotIsProgram)(program) != 0;
    }
    if (ok) {
        std::int32_t count = 0;
        std::uint32_t shaders[8] = {};
        gl_proc<PfnGlGetAttachedShaders>(kSlotGetAttachedShaders)(program, 8, &count, shaders);
        // Every shader is checked, so that each one's log is shown, also after a failure.
        for (std::int32_t i = 0; i < count && i < 8; ++i) {
            ok = CheckShader(shaders[i], path) && ok;
        }
    }
    if (ok) {
        gl_proc<PfnGlUseProgram>(kSlotUseProgram)(program);
    }
    return ok;
}
