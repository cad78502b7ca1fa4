// Graphics set-up, strict loaders, alpha masks and the load screen.
//
// The command line is read on every setupgraphics call, so "-win" and
// "-update" win over the video options. A saved mode that cannot be opened
// must not lock the player out for good, so the set-up falls back to the mode
// that was open before and then to a 640x480 window before it gives up.
#include "core/graphics_setup.h"

#include <cstdint>

#include "core/catalogue.h"
#include "core/input.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/text.h"
#include "platform/system.h"

GraphicsPtr gr;
int cmd_menusfx = 1;
GraphicsPtr (*setupgraphics_open)(int, int, int, int, int) = &Graphics;

namespace {

[[noreturn]] void fail_load(const std::string& path) {
    Notify("failed to load '" + path + "'!", true);
    End(1);
}

struct Mode {
    int w, h, depth;
};

}  // namespace

int setupgraphics() {
    int windowed = 0;
    for (const std::string& arg : AppArgs()) {
        std::string a = text_lower(arg);
        if (a == "-win") {
            windowed = 1;
        } else if (a == "-nomenusfx") {
            cmd_menusfx = 0;
        } else if (a == "-update") {
            set_scrx = 400;
            set_scry = 50;
            set_depth = 0;
        }
        // "-dx", "-directx", "-gl", "-ogl", "-opengl": the driver is always OpenGL.
    }
    SetGraphicsDriver(2);
    if (windowed == 1) set_depth = 0;

    // Remembered before opening, which closes the old window.
    GraphicsPtr previous = gr;
    Mode tries[3] = {{set_scrx, set_scry, set_depth}, {0, 0, 0}, {640, 480, 0}};
    if (previous) tries[1] = {previous->width, previous->height, previous->depth};
    gr = nullptr;
    for (int i = 0; i < 3 && !gr; i++) {
        const Mode& m = tries[i];
        if (m.w <= 0 || m.h <= 0) continue;
        gr = setupgraphics_open(m.w, m.h, m.depth, 60, 0);
        if (gr && i > 0) {
            // Running in the fallback mode: it is also what a later settings save stores.
            set_scrx = set_tmp_scrx = m.w;
            set_scry = set_tmp_scry = m.h;
            set_depth = set_tmp_depth = m.depth;
        }
    }
    if (!gr) {
        Notify("Failed to setup graphics!", false);
        End(1);
    }
    set_scrxh = set_scrx / 2;
    set_scryh = set_scry / 2;
    HideMouse();
    std::string title = AppTitle();
    setHWND(title.c_str());
    return 0;
}

ImagePtr loadimagep(const std::string& path, int flags) {
    ImagePtr image = LoadImage(path, flags);
    if (!image) fail_load(path);
    return image;
}

ImagePtr loadanimimagep(const std::string& path, int cell_w, int cell_h, int first, int count, int flags) {
    ImagePtr image = LoadAnimImage(path, cell_w, cell_h, first, count, flags);
    if (!image) fail_load(path);
    return image;
}

FontPtr loadfontp(const std::string& path, int size, int style) {
    FontPtr font = LoadImageFont(path, size, style);
    if (!font) fail_load(path);
    return font;
}

int alphamask(const ImagePtr& image, int frames, int white) {
    if (!image) return 0;
    int w = ImageWidth(image), h = ImageHeight(image);
    for (int f = 0; f < frames; f++) {
        PixmapPtr pm = LockImage(image, f, true, true);
        if (!pm) continue;
        for (int x = 0; x < w; x++) {
            for (int y = 0; y < h; y++) {
                uint32_t argb = pm->ReadPixel(x, y);
                uint32_t r = (argb >> 16) & 255, g = (argb >> 8) & 255, b = argb & 255;
                uint32_t a = (r + g + b) / 3;
                if (white == 1) r = g = b = 255;
                pm->WritePixel(x, y, (a << 24) | (r << 16) | (g << 8) | b);
            }
        }
        UnlockImage(image, f);
    }
    return 0;
}

int loadscreen(const std::string& text, int spin) {
    Cls();
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    SetTransform(0, 1, 1);
    // gui_text draws only on drawn passes.
    g_fps_render = 1;
    gui_text(text, set_scrxh, set_scryh - 20 * spin, 1, 255, 255, 255, 1.0f);
    particles_clear();
    if (spin == 1) {
        // One degree every 3 ms of program time, whatever the frame rate.
        int elapsed = (int)((unsigned)MilliSecs() - (unsigned)in_ms_start);
        SetRotation((float)(elapsed / 3));
        DrawImage(gfx_load, (float)set_scrxh, (float)(set_scryh + 20), 0);
        SetRotation(0);
    }
    Flip(0);
    return 0;
}
