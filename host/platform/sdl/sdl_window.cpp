// The window, its OpenGL context and input through SDL2 (X11 or Wayland).
//
// Supports: one 640 x 420 window titled "Intro" at (0, 0), resizable, visible at creation;
// double-buffered RGBA8 with a depth buffer of 32 bits where offered, else the largest one; a
// compatibility-profile context (1.1 calls next to 4.3 shader programs). SDL's events become the
// Win32-shaped messages window_proc understands: arrow keys, Escape, letters and digits as
// key-down with virtual-key codes, typed ASCII characters as character messages, resizes and
// minimising as size messages, the close button as a close message. Escape and the right button
// count as down when held now or pressed since the last query.
// Does not support: a background brush (the first swap covers the window at once), display-mode
// changes in windowed mode (there are none), system commands (SDL keeps the screen saver off).
#include "host/platform/sys.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

constexpr int kQueueSize = 256;
WindowMessage queue[kQueueSize];
int queue_head = 0;
int queue_count = 0;
bool quit_posted = false;

bool escape_pressed = false;
bool right_button_pressed = false;
bool gl_4_3 = false;
int cursor_counter = 0;

void push(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam, void* window) {
    if (queue_count == kQueueSize) {
        return; // a flood of events between two frames: drop the newest
    }
    WindowMessage& m = queue[(queue_head + queue_count) % kQueueSize];
    m = WindowMessage{};
    m.window = window;
    m.message = message;
    m.wparam = wparam;
    m.lparam = lparam;
    m.time = SDL_GetTicks();
    ++queue_count;
}

int virtual_key(SDL_Keycode key) {
    switch (key) {
    case SDLK_ESCAPE:
        return 0x1B;
    case SDLK_LEFT:
        return 0x25;
    case SDLK_UP:
        return 0x26;
    case SDLK_RIGHT:
        return 0x27;
    case SDLK_DOWN:
        return 0x28;
    case SDLK_SPACE:
        return 0x20;
    case SDLK_RETURN:
        return 0x0D;
    case SDLK_BACKSPACE:
        return 0x08;
    case SDLK_TAB:
        return 0x09;
    default:
        break;
    }
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    return 0;
}

std::intptr_t size_lparam(SDL_Window* window) {
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(height) & 0xFFFF) << 16 |
                                      (static_cast<std::uint32_t>(width) & 0xFFFF));
}

void translate(const SDL_Event& event) {
    SDL_Window* window = SDL_GetWindowFromID(event.window.windowID);
    switch (event.type) {
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE) {
            escape_pressed = true;
        }
        if (const int vk = virtual_key(event.key.keysym.sym)) {
            push(kWmKeyDown, static_cast<std::uintptr_t>(vk), 0, window);
        }
        break;
    case SDL_TEXTINPUT:
        for (const char* c = event.text.text; *c != '\0'; ++c) {
            const auto byte = static_cast<unsigned char>(*c);
            if (byte < 0x80) {
                push(kWmChar, byte, 0, SDL_GetWindowFromID(event.text.windowID));
            }
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_RIGHT) {
            right_button_pressed = true;
        }
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
            push(kWmSize, 0, size_lparam(window), window);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            push(kWmSize, 1, 0, window);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            push(kWmClose, 0, 0, window);
            break;
        default:
            break;
        }
        break;
    default:
        break; // SDL_QUIT follows a close request, which already arrived as kWmClose
    }
}

bool version_at_least_4_3() {
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    int minor = 0;
    if (text == nullptr || std::sscanf(text, "%d.%d", &major, &minor) != 2) {
        return false;
    }
    return major > 4 || (major == 4 && minor >= 3);
}

SDL_Window* create_window(Uint32 flags) {
    // The deepest depth buffer the driver offers, starting from the 32 bits asked for.
    for (int depth : {32, 24, 16}) {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
        if (SDL_Window* window = SDL_CreateWindow("Intro", 0, 0, 640, 420, flags)) {
            return window;
        }
    }
    return nullptr;
}

} // namespace

void* sys_module_instance() {
    return nullptr;
}

int sys_window_init(WindowHandles& handles, const PixelFormatDescriptor& format) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL could not start its video: %s\n", SDL_GetError());
        return 0;
    }
    // Without a display SDL falls back to drivers that draw nowhere; a piece that nobody can
    // see or stop with Escape must not start that way unless asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (SDL_getenv("SDL_VIDEODRIVER") == nullptr && driver != nullptr &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
         std::strcmp(driver, "evdev") == 0)) {
        std::fprintf(stderr,
                     "No display to open the window on (SDL offers only its '%s' video driver): "
                     "start the intro from a desktop session, or under xvfb-run.\n",
                     driver);
        return 0;
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.alpha_bits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (format.flags & 0x01) != 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
    flags |= handles.fullscreen != 0 ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE;
    SDL_Window* window = create_window(flags);
    if (window == nullptr) {
        std::fprintf(stderr, "SDL could not create the window: %s\n", SDL_GetError());
        return 0;
    }
    handles.hwnd = window;
    handles.dc = window;
    if (handles.fullscreen != 0) {
        while (sys_show_cursor(false) >= 0) {
        }
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        std::fprintf(stderr, "SDL could not create the OpenGL context: %s\n", SDL_GetError());
        return 0;
    }
    handles.glrc = context;
    if (SDL_GL_MakeCurrent(window, context) != 0) {
        return 0;
    }
    gl_4_3 = version_at_least_4_3();
    return 1;
}

void sys_window_deinit(WindowHandles& handles) {
    auto* window = static_cast<SDL_Window*>(handles.hwnd);
    if (handles.glrc != nullptr) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(handles.glrc);
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (handles.fullscreen != 0) {
        sys_restore_display_mode();
        while (sys_show_cursor(true) < 0) {
        }
    }
}

void sys_swap_buffers(const WindowHandles& handles) {
    SDL_GL_SwapWindow(static_cast<SDL_Window*>(handles.hwnd));
}

bool sys_peek_message(WindowMessage& message) {
    for (;;) {
        if (queue_count > 0) {
            message = queue[queue_head];
            queue_head = (queue_head + 1) % kQueueSize;
            --queue_count;
            return true;
        }
        if (quit_posted) {
            quit_posted = false;
            message = WindowMessage{};
            message.message = kWmQuit;
            return true;
        }
        SDL_Event event;
        if (SDL_PollEvent(&event) == 0) {
            return false;
        }
        translate(event);
    }
}

void sys_dispatch_message(const WindowMessage& message) {
    window_proc(message.window, message.message, message.wparam, message.lparam);
}

void sys_post_quit_message(int) {
    quit_posted = true;
}

std::intptr_t sys_default_window_proc(void*, std::uint32_t, std::uintptr_t, std::intptr_t) {
    return 0;
}

void sys_set_window_title(const WindowHandles& handles, const char* text) {
    if (handles.hwnd != nullptr) {
        SDL_SetWindowTitle(static_cast<SDL_Window*>(handles.hwnd), text);
    }
}

void sys_message_box(const char* text, const char* caption) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr) != 0) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
    }
}

void sys_restore_display_mode() {}

int sys_show_cursor(bool show) {
    cursor_counter += show ? 1 : -1;
    SDL_ShowCursor(cursor_counter >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursor_counter;
}

void sys_cursor_position(std::int32_t& x, std::int32_t& y) {
    int screen_x = 0;
    int screen_y = 0;
    SDL_GetGlobalMouseState(&screen_x, &screen_y);
    x = screen_x;
    y = screen_y;
}

bool sys_key_down_or_pressed(int virtual_key) {
    bool down = false;
    if (virtual_key == kVkEscape) {
        down = SDL_GetKeyboardState(nullptr)[SDL_SCANCODE_ESCAPE] != 0 || escape_pressed;
        escape_pressed = false;
    } else if (virtual_key == kVkRButton) {
        down = (SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON_RMASK) != 0 ||
               right_button_pressed;
        right_button_pressed = false;
    }
    return down;
}

GlProc sys_gl_proc_address(const char* name) {
    // A context below 4.3 cannot serve the program whatever names the loader still resolves.
    if (!gl_4_3) {
        return nullptr;
    }
    return reinterpret_cast<GlProc>(SDL_GL_GetProcAddress(name));
}
