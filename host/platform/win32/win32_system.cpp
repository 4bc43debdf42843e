// Win32 backend: the console and the standard streams, file status and the end of the process.
#include "host/platform/sys.h"
#include "host/platform/win32/win32_headers.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace {

DWORD std_handle_id(StdStream stream) {
    switch (stream) {
    case StdStream::input:
        return STD_INPUT_HANDLE;
    case StdStream::output:
        return STD_OUTPUT_HANDLE;
    case StdStream::error:
        return STD_ERROR_HANDLE;
    }
    return STD_OUTPUT_HANDLE;
}

} // namespace

bool sys_console_create() {
    return AllocConsole() != 0;
}

bool sys_console_attach_parent() {
    return AttachConsole(ATTACH_PARENT_PROCESS) != 0;
}

bool sys_console_release() {
    return FreeConsole() != 0;
}

bool sys_console_lines(std::int16_t& lines) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) {
        return false;
    }
    lines = info.dwSize.Y;
    return true;
}

void sys_console_set_lines(std::int16_t lines) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(output, &info)) {
        return;
    }
    info.dwSize.Y = lines;
    SetConsoleScreenBufferSize(output, info.dwSize);
}

bool sys_std_handle_present(StdStream stream) {
    return GetStdHandle(std_handle_id(stream)) != INVALID_HANDLE_VALUE;
}

bool sys_std_reopen(StdStream stream, StdTarget target) {
    const bool input = stream == StdStream::input;
    const char* path = "NUL:";
    if (target == StdTarget::console) {
        path = input ? "CONIN$" : "CONOUT$";
    }
    std::FILE* reopened = nullptr;
    return freopen_s(&reopened, path, input ? "r" : "w", std_stream_file(stream)) == 0;
}

int sys_file_mtime(const char* path, std::int64_t& mtime) {
    struct _stat64 status;
    if (_stat64(path, &status) != 0) {
        return errno;
    }
    mtime = status.st_mtime;
    return 0;
}

void sys_exit_process(int code) {
    std::fflush(nullptr);
    ExitProcess(static_cast<UINT>(code));
}
