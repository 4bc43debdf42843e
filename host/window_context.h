// The program's one window and its OpenGL context: creation from a pixel format, release, the
// window procedure's rules and the per-frame swap with the draining of the message queue.
#pragma once

#include "host/platform/sys.h"

// Double-buffered RGBA, 32 colour bits, 8 alpha bits, 32 depth bits; drawn to a window with GL.
extern const PixelFormatDescriptor pixel_format;

struct WindowContext {
    WindowMessage msg{};
    WindowHandles handles{};
    bool initialized = false;
    // True when the window and a current context exist. After a failed creation the handles are
    // released and cleared, and nothing may use the window or GL.
    bool created = false;

    WindowContext() = default;
    // Creates the window and context; on failure releases what was made and shows the message
    // box "window_init()!". initialized is true afterwards in every case.
    explicit WindowContext(const PixelFormatDescriptor& format);

    // Releases the window and context when creation has run.
    void close();
    // Presents the back buffer, then dispatches every waiting message up to a quit message.
    void swap_and_pump();
};

// The program's window.
extern WindowContext program_window;
