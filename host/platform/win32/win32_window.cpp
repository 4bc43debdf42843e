// Win32 backend: the window, its WGL context, the message queue, the title, the message box, the
// display mode, the cursor and the keyboard state. The handles in WindowHandles are HINSTANCE,
// HDC, HGLRC and HWND.
//
// Supports: the framed 640 x 420 window and the fullscreen 640 x 420 mode, the class's background
// brush, every system message passed to window_proc and on to DefWindowProcA, the legacy WGL
// context (the driver's compatibility context, whatever version it offers). Does not: ask WGL for
// a version or profile, or check that the context reaches OpenGL 4.3 (the host checks the entry
// points it needs).
#include "host/platform/sys.h"
#include "host/platform/win32/win32_headers.h"

#include <bit>

namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 420;
constexpr COLORREF kBackgroundColour = 0x00102030;
// WS_POPUP + WS_VISIBLE + WS_OVERLAPPEDWINDOW: framed, sizable, visible from its creation.
constexpr DWORD kWindowedStyle = 0x90CF0000;

static_assert(kWindowedStyle == (WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW));
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == sizeof(PixelFormatDescriptor));
static_assert(sizeof(DEVMODEA) == 156);

HINSTANCE instance_of(const WindowHandles& handles) {
    return static_cast<HINSTANCE>(handles.instance);
}
HWND window_of(const WindowHandles& handles) {
    return static_cast<HWND>(handles.hwnd);
}
HDC dc_of(const WindowHandles& handles) {
    return static_cast<HDC>(handles.dc);
}
HGLRC glrc_of(const WindowHandles& handles) {
    return static_cast<HGLRC>(handles.glrc);
}

// The system calls window procedures with its own calling convention (stdcall on 32-bit x86);
// the host's window_proc decides everything.
LRESULT CALLBACK system_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return window_proc(window, message, wparam, lparam);
}

// Takes over the display at 640 x 420 in 32-bit colour; false when the mode was refused.
bool enter_fullscreen() {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmBitsPerPel = 32;
    mode.dmPelsWidth = kClientWidth;
    mode.dmPelsHeight = kClientHeight;
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
        return false;
    }
    while (ShowCursor(FALSE) >= 0) {
    }
    return true;
}

} // namespace

void* sys_module_instance() {
    return GetModuleHandleA(nullptr);
}

int sys_window_init(WindowHandles& handles, const PixelFormatDescriptor& format) {
    WNDCLASSA window_class{};
    window_class.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = system_window_proc;
    window_class.hInstance = instance_of(handles);
    window_class.lpszClassName = handles.class_name;
    window_class.hbrBackground = CreateSolidBrush(kBackgroundColour);
    if (RegisterClassA(&window_class) == 0) {
        return 0;
    }

    DWORD extended_style = 0;
    DWORD style = kWindowedStyle;
    if (handles.fullscreen != 0) {
        if (!enter_fullscreen()) {
            return 0;
        }
        extended_style = WS_EX_APPWINDOW;
        style = WS_POPUP | WS_VISIBLE;
    }

    RECT rect = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&rect, style, FALSE);
    const HWND window = CreateWindowExA(extended_style, handles.class_name, "Intro", style, 0, 0,
                                        rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                        nullptr, instance_of(handles), nullptr);
    handles.hwnd = window;
    if (window == nullptr) {
        return 0;
    }

    const HDC dc = GetDC(window);
    handles.dc = dc;
    if (dc == nullptr) {
        return 0;
    }
    const auto descriptor = std::bit_cast<PIXELFORMATDESCRIPTOR>(format);
    const int format_index = ChoosePixelFormat(dc, &descriptor);
    if (format_index == 0 || !SetPixelFormat(dc, format_index, &descriptor)) {
        return 0;
    }

    const HGLRC glrc = wglCreateContext(dc);
    handles.glrc = glrc;
    if (glrc == nullptr || !wglMakeCurrent(dc, glrc)) {
        return 0;
    }
    return 1;
}

void sys_window_deinit(WindowHandles& handles) {
    if (handles.glrc != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(glrc_of(handles));
    }
    if (handles.dc != nullptr) {
        ReleaseDC(window_of(handles), dc_of(handles));
    }
    if (handles.hwnd != nullptr) {
        DestroyWindow(window_of(handles));
    }
    UnregisterClassA(handles.class_name, instance_of(handles));
    if (handles.fullscreen != 0) {
        ChangeDisplaySettingsA(nullptr, 0);
        while (ShowCursor(TRUE) < 0) {
        }
    }
}

void sys_swap_buffers(const WindowHandles& handles) {
    SwapBuffers(dc_of(handles));
}

bool sys_peek_message(WindowMessage& message) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    message.window = msg.hwnd;
    message.message = msg.message;
    message.wparam = msg.wParam;
    message.lparam = msg.lParam;
    message.time = msg.time;
    message.point_x = msg.pt.x;
    message.point_y = msg.pt.y;
    return true;
}

void sys_dispatch_message(const WindowMessage& message) {
    MSG msg{};
    msg.hwnd = static_cast<HWND>(message.window);
    msg.message = message.message;
    msg.wParam = message.wparam;
    msg.lParam = message.lparam;
    msg.time = message.time;
    msg.pt.x = message.point_x;
    msg.pt.y = message.point_y;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void sys_post_quit_message(int exit_code) {
    PostQuitMessage(exit_code);
}

std::intptr_t sys_default_window_proc(void* window, std::uint32_t message, std::uintptr_t wparam,
                                      std::intptr_t lparam) {
    return DefWindowProcA(static_cast<HWND>(window), message, wparam, lparam);
}

void sys_set_window_title(const WindowHandles& handles, const char* text) {
    SetWindowTextA(window_of(handles), text);
}

void sys_message_box(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_ICONWARNING);
}

void sys_restore_display_mode() {
    ChangeDisplaySettingsA(nullptr, 0);
}

int sys_show_cursor(bool show) {
    return ShowCursor(show ? TRUE : FALSE);
}

void sys_cursor_position(std::int32_t& x, std::int32_t& y) {
    POINT point;
    if (GetCursorPos(&point)) {
        x = point.x;
        y = point.y;
    }
}

bool sys_key_down_or_pressed(int virtual_key) {
    return GetAsyncKeyState(virtual_key) != 0;
}

GlProc sys_gl_proc_address(const char* name) {
    const PROC proc = wglGetProcAddress(name);
    // Some drivers answer an unknown name with a small number instead of null.
    const auto value = reinterpret_cast<std::intptr_t>(proc);
    if (value >= -1 && value <= 3) {
        return nullptr;
    }
    return reinterpret_cast<GlProc>(proc);
}
