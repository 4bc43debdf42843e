#include "host/console.h"

#include "host/platform/sys.h"

#include <cstdio>
#include <iostream>

namespace {

// Reopens one stream and makes it unbuffered; false when the reopening failed.
bool reopen_unbuffered(StdStream stream, StdTarget target) {
    if (!sys_std_reopen(stream, target)) {
        return false;
    }
    std::setvbuf(std_stream_file(stream), nullptr, _IONBF, 0);
    return true;
}

bool obtain_console(bool (*obtain)(), std::int16_t lines) {
    console_detach(); // normally there is no console to leave yet
    if (!obtain()) {
        return false;
    }
    console_set_min_lines(lines);
    return console_redirect();
}

} // namespace

bool console_alloc(std::int16_t lines) {
    return obtain_console(sys_console_create, lines);
}

bool console_attach(std::int16_t lines) {
    return obtain_console(sys_console_attach_parent, lines);
}

void console_set_min_lines(std::int16_t lines) {
    std::int16_t current = 0;
    if (sys_console_lines(current) && current < lines) {
        sys_console_set_lines(lines);
    }
}

bool console_redirect() {
    bool ok = true;
    for (StdStream stream : {StdStream::input, StdStream::output, StdStream::error}) {
        if (sys_std_handle_present(stream)) {
            ok = reopen_unbuffered(stream, StdTarget::console) && ok;
        }
    }
    std::ios::sync_with_stdio(true);
    std::wcout.clear();
    std::cout.clear();
    std::wcerr.clear();
    std::cerr.clear();
    std::wcin.clear();
    std::cin.clear();
    return ok;
}

bool console_detach() {
    bool ok = true;
    for (StdStream stream : {StdStream::input, StdStream::output, StdStream::error}) {
        ok = reopen_unbuffered(stream, StdTarget::null_device) && ok;
    }
    ok = sys_console_release() && ok;
    return ok;
}
