// The program's entry on systems served by SDL.
#define SDL_MAIN_HANDLED
#include "host/platform/sys.h"

#include <SDL.h>

int main(int, char**) {
    // Ctrl+C in the terminal ends the program at once, as a console program's would; left to
    // SDL it would become a close request, which the piece ignores.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetMainReady();
    intro_main();
}
