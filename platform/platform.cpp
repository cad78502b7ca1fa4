// Platform start-up: picks headless or windowed mode and starts SDL's video and
// event subsystems; the window itself opens later, in Graphics().
//
// Headless is chosen by the caller or forced when no display server is named
// in the environment; it never changes until PlatformShutdown.
#include "platform/platform.h"

#include <SDL.h>

#include <cstdlib>

#include "platform/audio.h"
#include "platform/graphics.h"

namespace {
bool s_started = false;
bool s_headless = true;  // until PlatformInit finds a display
bool s_sdl_video = false;

bool DisplayNamed() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}
}  // namespace

void PlatformInit(const PlatformOptions& options) {
    if (s_started) return;
    s_started = true;
    s_headless = options.headless || !DisplayNamed();
    if (!s_headless) {
        // A terminate signal ends the program; only the window's close button
        // is a close request (which the game treats like Escape).
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0) {
            s_sdl_video = true;
        } else {
            SDL_Log("Video start-up failed, running headless: %s", SDL_GetError());
            s_headless = true;
        }
    }
    // The audio device opens on first use (never headless); sockets need no
    // start-up.
}

bool PlatformHeadless() { return s_headless; }

void PlatformShutdown() {
    if (!s_started) return;
    EndGraphics();
    CloseAudio();
    if (s_sdl_video) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    s_sdl_video = false;
    s_started = false;
    s_headless = true;
}
