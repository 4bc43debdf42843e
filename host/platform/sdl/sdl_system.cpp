// Console, file status and process exit on a POSIX system. The process's console is the terminal
// (or whatever) its standard streams were given at start: "reopening on the console" puts the
// original descriptors back, "on the null device" points them at /dev/null.
#include "host/platform/sys.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int original_fds[3] = {-2, -2, -2}; // -2: not saved yet, -1: the process had none

int fd_of(StdStream stream) {
    return static_cast<int>(stream);
}

void save_originals() {
    if (original_fds[0] != -2) {
        return;
    }
    for (int fd = 0; fd < 3; ++fd) {
        original_fds[fd] = fcntl(fd, F_GETFD) != -1 ? fcntl(fd, F_DUPFD_CLOEXEC, 3) : -1;
    }
}

} // namespace

bool sys_console_create() {
    save_originals();
    return true;
}
bool sys_console_attach_parent() {
    save_originals();
    return true;
}
bool sys_console_release() {
    return true;
}
bool sys_console_lines(std::int16_t&) {
    return false;
}
void sys_console_set_lines(std::int16_t) {}

bool sys_std_handle_present(StdStream stream) {
    save_originals();
    return original_fds[fd_of(stream)] >= 0;
}

bool sys_std_reopen(StdStream stream, StdTarget target) {
    save_originals();
    std::FILE* file = std_stream_file(stream);
    if (stream != StdStream::input) {
        std::fflush(file);
    }
    int source = -1;
    if (target == StdTarget::console) {
        source = original_fds[fd_of(stream)];
    } else {
        source = open("/dev/null", stream == StdStream::input ? O_RDONLY : O_WRONLY | O_CLOEXEC);
    }
    if (source < 0) {
        return false;
    }
    const bool ok = dup2(source, fd_of(stream)) != -1;
    if (target == StdTarget::null_device) {
        close(source);
    }
    std::clearerr(file);
    return ok;
}

int sys_file_mtime(const char* path, std::int64_t& mtime) {
    struct stat status {};
    if (stat(path, &status) != 0) {
        return errno;
    }
    mtime = static_cast<std::int64_t>(status.st_mtime);
    return 0;
}

void sys_exit_process(int code) {
    // Without destructors or atexit handlers: the render thread and the audio callback may still
    // be using the buffers and SDL's state.
    std::fflush(nullptr);
    _exit(code);
}
