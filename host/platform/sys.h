// The platform seam: every operation the host needs of the operating system, in the host's own
// words. host/ never includes an OS header; each program links exactly one backend
// (host/platform/<backend>/) that defines these functions. There is no run-time dispatch.
//
// The records and codes below mirror the Win32 shapes (message ids, wParam/lParam, virtual-key
// codes, pixel-format and wave-format fields) so that the Win32 backend passes them straight
// through, and every other backend translates its own events into them.
//
// Apart from the entry points marked "host provides", every function here is defined by the
// backend. All of them are called on the main thread unless said otherwise.
#pragma once

#include <cstdint>
#include <cstdio>

// ---- Window messages and key codes (the Win32 values) ----------------------------------------

inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmSize = 0x0005;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmQuit = 0x0012;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmChar = 0x0102;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;

inline constexpr std::uintptr_t kScScreenSave = 0xF140;
inline constexpr std::uintptr_t kScMonitorPower = 0xF170;

inline constexpr int kVkRButton = 0x02;
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkLeft = 0x25;
inline constexpr int kVkRight = 0x27;

// One queued window message: the fields of a Win32 MSG.
struct WindowMessage {
    void* window = nullptr;
    std::uint32_t message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
    std::uint32_t time = 0;
    std::int32_t point_x = 0;
    std::int32_t point_y = 0;
};

// ---- Window and OpenGL context -----------------------------------------------------------------

// The byte layout of a Win32 PIXELFORMATDESCRIPTOR (40 bytes), field for field.
struct PixelFormatDescriptor {
    std::uint16_t size;
    std::uint16_t version;
    std::uint32_t flags;
    std::uint8_t pixel_type;
    std::uint8_t color_bits;
    std::uint8_t red_bits, red_shift, green_bits, green_shift, blue_bits, blue_shift;
    std::uint8_t alpha_bits, alpha_shift;
    std::uint8_t accum_bits, accum_red_bits, accum_green_bits, accum_blue_bits, accum_alpha_bits;
    std::uint8_t depth_bits;
    std::uint8_t stencil_bits;
    std::uint8_t aux_buffers;
    std::uint8_t layer_type;
    std::uint8_t reserved;
    std::uint32_t layer_mask;
    std::uint32_t visible_mask;
    std::uint32_t damage_mask;
};
static_assert(sizeof(PixelFormatDescriptor) == 40);

// What sys_window_init fills in and sys_window_deinit releases. The handles are opaque to the
// host: HINSTANCE, HDC, HGLRC and HWND on Win32; the backend's own objects elsewhere.
struct WindowHandles {
    void* instance = nullptr;
    void* dc = nullptr;
    void* glrc = nullptr;
    void* hwnd = nullptr;
    std::int32_t fullscreen = 0;
    char class_name[4] = {'I', 'N', 'T', '\0'};
};

// The program's module instance (GetModuleHandleA(NULL)); may be null where there is none.
void* sys_module_instance();

// Creates the window (640 x 420 client area, title "Intro", at (0, 0), visible at creation,
// window_proc receiving its messages), its device context and an OpenGL context that accepts
// both 1.1 calls and 4.3 shader programs, current on this thread. Fills handles as it goes.
// Returns 1 when all exist and the context is current, 0 otherwise, leaving in place whatever
// it created (sys_window_deinit releases it).
int sys_window_init(WindowHandles& handles, const PixelFormatDescriptor& format);

// Releases what sys_window_init created, skipping empty handles, in the order: context, device
// context, window, class (always), display mode and cursor (fullscreen only).
void sys_window_deinit(WindowHandles& handles);

// Presents the back buffer.
void sys_swap_buffers(const WindowHandles& handles);

// Takes the next waiting message off the queue without blocking; false when none is waiting.
// Returns kWmQuit once after sys_post_quit_message.
bool sys_peek_message(WindowMessage& message);

// Translates and dispatches a message taken by sys_peek_message: it reaches window_proc.
void sys_dispatch_message(const WindowMessage& message);

// Queues a quit message (PostQuitMessage).
void sys_post_quit_message(int exit_code);

// The system's default handling of a message (DefWindowProcA); 0 where there is none.
std::intptr_t sys_default_window_proc(void* window, std::uint32_t message, std::uintptr_t wparam,
                                      std::intptr_t lparam);

// Sets the window's title text (zero-terminated, ASCII).
void sys_set_window_title(const WindowHandles& handles, const char* text);

// Shows a warning message box without an owner and returns once it is dismissed; without a
// display the text goes to standard error instead.
void sys_message_box(const char* text, const char* caption);

// Returns the display to its stored mode (ChangeDisplaySettingsA(NULL, 0)).
void sys_restore_display_mode();

// Shows or hides the mouse cursor; returns the display counter after the change.
int sys_show_cursor(bool show);

// ---- Input -------------------------------------------------------------------------------------

// The mouse cursor's position in screen pixels. Leaves x and y as they were when it fails.
void sys_cursor_position(std::int32_t& x, std::int32_t& y);

// True when the key or button (kVkEscape, kVkRButton) is down now or was pressed since the
// previous query for it (GetAsyncKeyState non-zero).
bool sys_key_down_or_pressed(int virtual_key);

// ---- OpenGL ------------------------------------------------------------------------------------

// Any GL entry point, as stored; cast to its real type before calling.
using GlProc = void (*)();

// The GL entry point of that name for the current context, or nullptr when the driver lacks it.
GlProc sys_gl_proc_address(const char* name);

// ---- Sound -------------------------------------------------------------------------------------

// The fields of a Win32 WAVEFORMATEX, as the host stores them.
struct WaveFormat {
    std::uint16_t format_tag;
    std::uint16_t channels;
    std::uint32_t samples_per_sec;
    std::uint32_t avg_bytes_per_sec;
    std::uint16_t block_align;
    std::uint16_t bits_per_sample;
    std::uint16_t extra_size;
};

// The part of a Win32 WAVEHDR that the host sets: where playback starts and how many bytes from
// there to play. The backend keeps whatever else the device needs.
struct WaveHeader {
    float* data;
    std::uint32_t length_bytes;
};

// Starts a thread running entry(argument) at once; it is never joined or waited for.
void sys_thread_start(void (*entry)(float*), float* argument);

// Opens the default output device in that format. False when there is none; every later audio
// call then does nothing and sys_audio_position reports false.
bool sys_audio_open(const WaveFormat& format);

// Prepares the header once, before its first write (waveOutPrepareHeader).
void sys_audio_prepare(WaveHeader& header);

// Starts playing header.length_bytes from header.data, once, now, reading the memory in place
// as it plays; the position counts from 0 again. Frames that the render thread has not yet
// published play as silence.
void sys_audio_write(WaveHeader& header);

// Stops playback at once and discards what is queued (waveOutReset).
void sys_audio_reset();

// Frames played since the last write, standing still after the end of what was written. On
// failure (no device) returns false and leaves samples as it was.
bool sys_audio_position(std::uint32_t& samples);

// ---- Console and standard streams
// ----------------------------------------------------------------

enum class StdStream { input, output, error };

// The C stream of a standard stream (host provides).
inline std::FILE* std_stream_file(StdStream stream) {
    switch (stream) {
    case StdStream::input:
        return stdin;
    case StdStream::output:
        return stdout;
    case StdStream::error:
        return stderr;
    }
    return stdout;
}
enum class StdTarget { console, null_device };

// Obtains a console of the process's own (AllocConsole) or the parent's (AttachConsole);
// releases it (FreeConsole). Where the process already writes to its terminal these report
// true and change nothing.
bool sys_console_create();
bool sys_console_attach_parent();
bool sys_console_release();

// The console's screen-buffer height in lines, and raising it; false/no effect where there is
// no such thing.
bool sys_console_lines(std::int16_t& lines);
void sys_console_set_lines(std::int16_t lines);

// Whether the process has a handle for that standard stream.
bool sys_std_handle_present(StdStream stream);

// Reopens stdin/stdout/stderr on the console or on the null device; true on success. The host
// makes the stream unbuffered afterwards.
bool sys_std_reopen(StdStream stream, StdTarget target);

// ---- Files and process -------------------------------------------------------------------------

// Error numbers sys_file_mtime reports (the C runtime's values on every supported system).
inline constexpr int kErrorNoEntry = 2;     // ENOENT
inline constexpr int kErrorInvalidArg = 22; // EINVAL

// The file's modification time in seconds since 1970-01-01 UTC. Returns 0 on success, else the
// runtime's error number (kErrorNoEntry, kErrorInvalidArg or another) with mtime untouched.
int sys_file_mtime(const char* path, std::int64_t& mtime);

// Ends the process with the code at once, without running the program's destructors, so that
// the render thread and the audio device may still be running; standard streams are flushed.
[[noreturn]] void sys_exit_process(int code);

// ---- Host provides -----------------------------------------------------------------------------

// The window procedure: the backend delivers every message for the window here.
std::intptr_t window_proc(void* window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam);

// The program: start-up, frame loop, shutdown; ends the process. The backend's entry point
// (main, WinMain) calls it and nothing else.
[[noreturn]] void intro_main();
