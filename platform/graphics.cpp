// The window and its OpenGL context: open, reopen at another mode, list display
// modes, present the back buffer, and the system pointer.
//
// There is at most one window. Reopening destroys the old window and context
// and makes new ones with a new context generation (see gl_internal.h), so
// images and fonts rebuild their textures from their CPU pixels on next use.
// Headless, Graphics() only records the size: no window, drawing does nothing.
#include "platform/graphics.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <tuple>

#include "platform/gl_internal.h"
#include "platform/input.h"
#include "platform/platform.h"

namespace {
SDL_Window* s_window = nullptr;
SDL_GLContext s_context = nullptr;
GraphicsPtr s_current;
int s_generation = 0;       // of the current context, 0 none
int s_last_generation = 0;  // the last number handed out
int s_framebuffer_height = 0;
int s_swap_interval = 1;
bool s_mouse_hidden = false;
std::string s_title = "Grombat Fraycup";

void CloseWindow() {
    if (s_context) SDL_GL_DeleteContext(s_context);
    if (s_window) SDL_DestroyWindow(s_window);
    s_context = nullptr;
    s_window = nullptr;
    s_generation = 0;
    s_framebuffer_height = 0;
}

bool OpenWindow(int width, int height, bool fullscreen, int hertz) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    s_window = SDL_CreateWindow(s_title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!s_window) {
        SDL_Log("Cannot open a %dx%d window: %s", width, height, SDL_GetError());
        return false;
    }
    if (fullscreen) {
        SDL_DisplayMode want{};
        want.w = width;
        want.h = height;
        want.refresh_rate = hertz;
        SDL_DisplayMode mode{};
        int display = SDL_GetWindowDisplayIndex(s_window);
        if (SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &want, &mode))
            SDL_SetWindowDisplayMode(s_window, &mode);
        if (SDL_SetWindowFullscreen(s_window, SDL_WINDOW_FULLSCREEN) != 0) {
            SDL_Log("Cannot go full screen at %dx%d: %s", width, height, SDL_GetError());
            CloseWindow();
            return false;
        }
    }
    // Shown (and so switched to full screen) before the context is made, so
    // the context starts with the framebuffer the window got.
    SDL_ShowWindow(s_window);
    SDL_PumpEvents();
    s_context = SDL_GL_CreateContext(s_window);
    if (!s_context) {
        SDL_Log("Cannot make an OpenGL context: %s", SDL_GetError());
        CloseWindow();
        return false;
    }
    SDL_GL_MakeCurrent(s_window, s_context);
    SDL_GL_SetSwapInterval(s_swap_interval);
    SDL_ShowCursor(s_mouse_hidden ? SDL_DISABLE : SDL_ENABLE);
    SDL_StartTextInput();

    // A full-screen window may get a framebuffer other than the asked size
    // when the display cannot switch modes; the picture then stays at the top
    // left. The size GL starts with is the truth. Window events queued so far
    // only echo the request (without a window manager the window may never
    // change), so they are dropped; a later real resize arrives as an event
    // (GraphicsWindowResized).
    SDL_PumpEvents();
    SDL_FlushEvent(SDL_WINDOWEVENT);
    GLint viewport[4] = {0, 0, width, height};
    glGetIntegerv(GL_VIEWPORT, viewport);
    s_framebuffer_height = viewport[3] > 0 ? viewport[3] : height;
    s_generation = ++s_last_generation;
    DrawContextOpened(width, height);
    return true;
}
}  // namespace

int GlGeneration() { return s_generation; }
int GlFramebufferHeight() { return s_framebuffer_height; }
unsigned GraphicsWindowId() { return s_window ? SDL_GetWindowID(s_window) : 0; }

void GraphicsWindowResized(int, int height) {
    if (!GraphicsWindowOpen() || !s_current || height <= 0 || height == s_framebuffer_height) return;
    s_framebuffer_height = height;
    DrawFramebufferChanged(s_current->width, s_current->height);
}

std::vector<TGraphicsMode> GraphicsModes() {
    std::vector<TGraphicsMode> modes;
    if (PlatformHeadless() || !SDL_WasInit(SDL_INIT_VIDEO)) return modes;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; i++) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
        // 24-bit X visuals are shown as the 32-bit depth the settings use.
        int bits = SDL_BITSPERPIXEL(m.format);
        modes.push_back({m.w, m.h, bits >= 24 ? 32 : bits, m.refresh_rate});
    }
    auto key = [](const TGraphicsMode& m) { return std::make_tuple(m.width, m.height, m.depth, m.hertz); };
    std::stable_sort(modes.begin(), modes.end(),
                     [&](const TGraphicsMode& a, const TGraphicsMode& b) { return key(a) > key(b); });
    modes.erase(std::unique(modes.begin(), modes.end(),
                            [&](const TGraphicsMode& a, const TGraphicsMode& b) { return key(a) == key(b); }),
                modes.end());
    return modes;
}

void SetGraphicsDriver(int) {}

GraphicsPtr Graphics(int width, int height, int depth, int hertz, int) {
    if (width <= 0 || height <= 0) return nullptr;
    CloseWindow();
    s_current = nullptr;
    auto g = std::make_shared<TGraphics>();
    g->width = width;
    g->height = height;
    g->depth = depth;
    g->hertz = hertz;
    if (PlatformHeadless() || !SDL_WasInit(SDL_INIT_VIDEO)) {
        g->headless = true;
    } else if (!OpenWindow(width, height, depth != 0, hertz)) {
        return nullptr;
    }
    s_current = g;
    DrawScreenSizeChanged(width, height);
    return g;
}

void EndGraphics() {
    CloseWindow();
    s_current = nullptr;
}

GraphicsPtr CurrentGraphics() { return s_current; }
int GraphicsWidth() { return s_current ? s_current->width : 0; }
int GraphicsHeight() { return s_current ? s_current->height : 0; }
bool GraphicsWindowOpen() { return s_window && s_context; }

void Flip(int sync) {
    if (GraphicsWindowOpen()) {
        if (sync >= 0 && (sync ? 1 : 0) != s_swap_interval) {
            s_swap_interval = sync ? 1 : 0;
            SDL_GL_SetSwapInterval(s_swap_interval);
        }
        SDL_GL_SwapWindow(s_window);
    }
    PollSystem();
}

void HideMouse() {
    s_mouse_hidden = true;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_DISABLE);
}

void ShowMouse() {
    s_mouse_hidden = false;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_ENABLE);
}

void MoveMouse(int x, int y) {
    if (s_window) SDL_WarpMouseInWindow(s_window, x, y);
    InjectMouseMove(x, y);
}

void SetAppTitle(const std::string& title) {
    s_title = title;
    if (s_window) SDL_SetWindowTitle(s_window, title.c_str());
}

std::string AppTitle() { return s_title; }
