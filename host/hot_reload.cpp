#include "host/platform/sys.h"
#include "host/shader_programs.h"

#include <cstdio>
#include <cstring>

HotReloadState hot_reload;

std::int64_t file_mtime(const char* path) {
    std::int64_t mtime = 0;
    const int error = sys_file_mtime(path, mtime);
    if (error == 0) {
        return mtime;
    }
    std::fprintf(stderr, "Problem getting information: %s\n", std::strerror(error));
    if (error == kErrorNoEntry) {
        std::printf("File %s not found.\n", path);
    } else if (error == kErrorInvalidArg) {
        std::printf("Invalid parameter to _stat.\n");
    } else {
        std::printf("Unexpected error in _stat.\n");
    }
    return 0;
}

void hotreload_poll(const char* path) {
    const std::int64_t t = file_mtime(path);
    if (hot_reload.last_mtime == 0) {
        hot_reload.last_mtime = t;
    }
    if (static_cast<std::uint64_t>(t) > static_cast<std::uint64_t>(hot_reload.last_mtime)) {
        std::printf("hotreload updated\n");
        // Recorded before the rebuild, so a failed build is not retried until the next save.
        hot_reload.last_mtime = t;
        hot_reload.last_build_ok = build_program(path);
    }
}
