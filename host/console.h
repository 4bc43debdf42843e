// The developer console: every diagnostic line reaches it, unbuffered. Where the process already
// writes to a terminal (Linux), having a console means the standard streams reach it unbuffered.
#pragma once

#include <cstdint>

// Leaves any console, obtains a new one with at least lines lines and reopens the standard
// streams on it; true when all streams that have a handle were reopened.
bool console_alloc(std::int16_t lines);
// The same with the parent process's console.
bool console_attach(std::int16_t lines);
// Raises the console's screen-buffer height to lines when it is lower.
void console_set_min_lines(std::int16_t lines);
// Reopens the standard streams that have a handle on the console, unbuffered.
bool console_redirect();
// Reopens the standard streams on the null device and releases the console.
bool console_detach();
