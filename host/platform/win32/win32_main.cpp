// Win32 backend: the entry of the windowed program. Its arguments are not used: the window code
// takes the module handle itself.
#include "host/platform/sys.h"
#include "host/platform/win32/win32_headers.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    intro_main();
}
