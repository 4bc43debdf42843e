// The fake backend: stands in for the OS and the GL driver so that tests can run start-up,
// frames, seeks and shutdown without a window, then check the calls made and the values passed.
//
// Supports: a call log of every seam and GL call in order; scripted window creation, cursor,
// keys, messages, audio position, file times and missing entry points; a small model of GL
// programs (a source containing "broken" or nothing fails to link with a log). Does not support:
// drawing, real time, threads (sys_thread_start records and does not run the entry).
#pragma once

#include "host/platform/sys.h"

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fake {

// Thrown by sys_exit_process, so that a test can run the whole program and see its exit code.
struct ProcessExit {
    int code;
};

struct FileTime {
    int error; // 0, or the error number to report
    std::int64_t mtime;
};

struct Program {
    std::string source;
    bool linked = false;
    std::string log;
    std::vector<std::uint32_t> attached;
};

struct Shader {
    bool compiled = true;
    std::string log;
};

struct State {
    std::vector<std::string> calls;

    int window_init_result = 1;
    std::deque<WindowMessage> messages; // delivered by sys_peek_message
    bool quit_posted = false;
    std::int32_t cursor_x = 0, cursor_y = 0;
    // How many queries of each key report it down (a count per key; absent or 0: up).
    std::map<int, int> key_down_queries;
    // Escape reports down from this many frames on (-1: never).
    int escape_after_queries = -1;

    bool audio_available = true;
    std::uint32_t audio_samples = 0; // what the device reports as played

    // Times reported for paths; a path not listed reports the real file system's time.
    std::map<std::string, FileTime> file_times;

    std::set<std::string> missing_procs;
    std::map<std::uint32_t, Program> programs;
    std::map<std::uint32_t, Shader> shaders;
    std::uint32_t next_program = 1;
    // Every created program fails to link, whatever its source.
    bool every_link_fails = false;
    // Shaders that the next created program reports as attached (normally none).
    std::vector<std::uint32_t> attach_on_create;
    std::uint32_t current_program = 0;
    std::deque<std::uint32_t> gl_errors;
    std::string title;
};

State& state();
// Back to a fresh state (nothing created, no calls logged).
void reset();
// Calls whose text starts with prefix, in order.
std::vector<std::string> calls_starting_with(const std::string& prefix);

} // namespace fake
