// The graphics context and window: open windowed or full screen at a mode,
// reopen at another mode keeping every image, list display modes, present the
// back buffer, and the system pointer.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct TGraphicsMode {
    int width = 0;
    int height = 0;
    int depth = 0;
    int hertz = 0;
};

class TGraphics {
public:
    int width = 0;
    int height = 0;
    int depth = 0;       // 0 windowed, else full screen
    int hertz = 0;
    bool headless = false;
};
using GraphicsPtr = std::shared_ptr<TGraphics>;

// Display modes of the primary display, in the driver's order (largest first).
std::vector<TGraphicsMode> GraphicsModes();

// Accepted for compatibility of the set-up code; the driver is always OpenGL.
void SetGraphicsDriver(int default_flags);
// Opens (or reopens) the one window: depth 0 windowed, any other value full
// screen. Null when it cannot be opened. Headless, a context without a window
// is returned and drawing does nothing.
GraphicsPtr Graphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);
void EndGraphics();
GraphicsPtr CurrentGraphics();
int GraphicsWidth();
int GraphicsHeight();
// True while a real OpenGL window is open.
bool GraphicsWindowOpen();

// Presents the back buffer: sync 1 waits for the vertical retrace, 0 does not,
// -1 keeps the current setting. Also pumps window events.
void Flip(int sync = -1);

void HideMouse();
void ShowMouse();
void MoveMouse(int x, int y);
void SetAppTitle(const std::string& title);
std::string AppTitle();
