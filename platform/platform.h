// Platform start-up: the windowing, audio and socket modules behind the
// other platform headers. Headless mode opens no window and no sound device:
// images, banks, pixel access and collision still work, drawing does nothing.
#pragma once

struct PlatformOptions {
    bool headless = false;   // no window, no audio device
};

// Starts the platform once; later calls do nothing. Also selects headless mode
// when no display is available (no DISPLAY / WAYLAND_DISPLAY).
void PlatformInit(const PlatformOptions& options = {});
bool PlatformHeadless();
// Closes the window and the audio device.
void PlatformShutdown();
