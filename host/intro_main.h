// The program's main thread: start-up, the frame loop and shutdown.
#pragma once

#include <cstdint>

inline constexpr std::int16_t kConsoleLines = 1024;

// Console, window and GL table, sound, the embedded program; false (with a message) when the
// program cannot go on, in which case no GL call was made and no sound started after the
// failure.
bool intro_startup();

// One frame: hot-reload poll, mouse values, play position, the three passes, the title, the
// swap and the message drain.
void intro_frame();

// Releases the window and the console and restores the display; the process end stops the rest.
void intro_shutdown();
