#include "host/window_context.h"

#include "host/gl_api.h"
#include "host/sound.h"

const PixelFormatDescriptor pixel_format = {
    .size = 40,
    .version = 1,
    .flags = 0x25, // draw to window, support OpenGL, double buffer
    .pixel_type = 0,
    .color_bits = 32,
    .red_bits = 0,
    .red_shift = 0,
    .green_bits = 0,
    .green_shift = 0,
    .blue_bits = 0,
    .blue_shift = 0,
    .alpha_bits = 8,
    .alpha_shift = 0,
    .accum_bits = 0,
    .accum_red_bits = 0,
    .accum_green_bits = 0,
    .accum_blue_bits = 0,
    .accum_alpha_bits = 0,
    .depth_bits = 32,
    .stencil_bits = 0,
    .aux_buffers = 0,
    .layer_type = 0,
    .reserved = 0,
    .layer_mask = 0,
    .visible_mask = 0,
    .damage_mask = 0,
};

WindowContext program_window;

WindowContext::WindowContext(const PixelFormatDescriptor& format) {
    handles.instance = sys_module_instance();
    if (sys_window_init(handles, format) != 0) {
        created = true;
    } else {
        initialized = true;
        close();
        // The released handles must never be used again.
        handles = WindowHandles{};
        sys_message_box("window_init()!", "error");
    }
    initialized = true;
}

void WindowContext::close() {
    if (initialized) {
        sys_window_deinit(handles);
    }
}

void WindowContext::swap_and_pump() {
    if (!initialized) {
        return;
    }
    sys_swap_buffers(handles);
    while (sys_peek_message(msg)) {
        if (msg.message == kWmQuit) {
            return;
        }
        sys_dispatch_message(msg);
    }
}

std::intptr_t window_proc(void* window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam) {
    // Neither the screen saver nor monitor power saving while the piece runs; only the exact
    // codes, not ones with extra low bits.
    if (message == kWmSysCommand && (wparam == kScScreenSave || wparam == kScMonitorPower)) {
        return 0;
    }
    // A close request only posts a quit message: the window stays until Escape ends the loop.
    if (message == kWmClose || message == kWmDestroy ||
        (message == kWmKeyDown && wparam == kVkEscape)) {
        sys_post_quit_message(0);
        return 0;
    }
    if (message == kWmSize) {
        const auto packed = static_cast<std::uint32_t>(lparam);
        const auto width = static_cast<std::int32_t>(packed & 0xFFFF);
        const auto height = static_cast<std::int32_t>(static_cast<std::int32_t>(packed) >> 16);
        glViewport(0, 0, width, height);
    }
    // The same codes mean arrow keys in a key-down and "%" / "'" in a character message.
    if (message == kWmChar || message == kWmKeyDown) {
        if (wparam == kVkEscape) {
            sys_post_quit_message(0);
            return 0;
        }
        if (wparam == kVkLeft) {
            audio_seek(-1);
        }
        if (wparam == kVkRight) {
            audio_seek(+1);
        }
    }
    return sys_default_window_proc(window, message, wparam, lparam);
}
