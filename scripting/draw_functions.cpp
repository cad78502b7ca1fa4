// Drawing functions of the interface: the global draw state, script images at
// world or screen positions, lines, rectangles, the weapon in hand, the
// off-screen arrow and the background tint. All act on this machine only and
// record nothing; world positions snap to whole pixels through the camera
// offset truncated first, as the terrain does.
#include <lua.hpp>

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/catalogue.h"
#include "core/det_math.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/draw.h"
#include "scripting/callback_guard.h"
#include "scripting/interface.h"
#include "scripting/lua_args.h"
#include "scripting/lua_images.h"
#include "scripting/terrain_hud_functions.h"
#include "terrain/view.h"
#include "world/player.h"

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

// The camera offset as the whole pixels every world drawing adds.
float camx() { return (float)lua_clampint(map_x, INT_MIN, INT_MAX); }
float camy() { return (float)lua_clampint(map_y, INT_MIN, INT_MAX); }

// A script image whose handle may be set: a loadgfx slot holding an image.
ImagePtr script_image(int id) {
    if (id < 0) return nullptr;
    auto e = Tres::slot(Tres::gfx, id);
    return e ? e->image : nullptr;
}

// A real already finite, cut toward zero into the int range; nullopt-like
// flag when it lies outside (the arrow's distances).
bool to_int(double v, int& out) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return false;
    out = (int)v;
    return true;
}

}  // namespace

// setblend(mode): blend_mask .. blend_shade; other values change nothing.
int lua_setblend(lua_State* L) {
    static const int kBlend[5] = {MASKBLEND, SOLIDBLEND, ALPHABLEND, LIGHTBLEND, SHADEBLEND};
    int mode = lua_checkint(L, 1);
    if (mode >= 0 && mode <= 4) SetBlend(kBlend[mode]);
    return 0;
}

int lua_setscale(lua_State* L) {
    float x = lua_checkfloat(L, 1), y = lua_checkfloat(L, 2);
    SetScale(x, y);
    return 0;
}

int lua_setrotation(lua_State* L) {
    SetRotation(lua_checkfloat(L, 1));
    return 0;
}

int lua_setcolor(lua_State* L) {
    int r = lua_checkint(L, 1), g = lua_checkint(L, 2), b = lua_checkint(L, 3);
    SetColor(r, g, b);
    return 0;
}

// setbgcolor(r, g, b [, alpha=1, fadeout=0.1]): the colour is stored as
// given; the background drawing clamps its mix.
int lua_setbgcolor(lua_State* L) {
    int r = lua_checkint(L, 1), g = lua_checkint(L, 2), b = lua_checkint(L, 3);
    double a = lua_optreal(L, 4, 1.0), f = lua_optreal(L, 5, 0.1);
    g_bgcol[0] = r, g_bgcol[1] = g, g_bgcol[2] = b;
    g_bgcola = (float)std::clamp(a, 0.0, 1.0);
    g_bgfadeout = (float)std::clamp(f, 0.001, 1.0);
    return 0;
}

int lua_setalpha(lua_State* L) {
    SetAlpha(lua_checkfloat(L, 1));
    return 0;
}

// drawimage(image, x, y): frame 0 at a world position.
int lua_drawimage(lua_State* L) {
    int id = lua_checkint(L, 1), x = lua_checkint(L, 2), y = lua_checkint(L, 3);
    if (ImagePtr img = lua_getimage(id)) DrawImage(img, camx() + (float)x, camy() + (float)y, 0);
    return 0;
}

// drawhud(image, x, y [, mode=0]): mode 2 draws at once at a screen position;
// other modes queue the image with the current draw state for the HUD pass.
int lua_drawhud(lua_State* L) {
    int id = lua_checkint(L, 1), x = lua_checkint(L, 2), y = lua_checkint(L, 3), mode = lua_optint(L, 4, 0);
    if (mode == 2) {
        if (ImagePtr img = lua_getimage(id)) DrawImage(img, (float)x, (float)y, 0);
    } else {
        hud_lua_addimage(id, x, y, mode);
    }
    return 0;
}

// drawinhand(image [, xoffset=0, yoffset=0, scale=1]): the image at the acting
// player's weapon position, mirrored with the player.
int lua_drawinhand(lua_State* L) {
    if (lua_p <= 0 || !Tplayer::get(lua_p)) return 0;
    // Arguments first: an argument error unwinds with longjmp, past the
    // destructors of anything held here.
    int id = lua_checkint(L, 1), xo = lua_optint(L, 2, 0), yo = lua_optint(L, 3, 0);
    float scale = lua_isnoneornil(L, 4) ? 1.0f : lua_checkfloat(L, 4);
    auto p = Tplayer::get(lua_p);
    ImagePtr img = lua_getimage(id);
    if (!img || p->wpnsize <= 0.1f) return 0;
    SetTransform((float)p->wpnrot, p->wpnsize * (float)p->dir * scale, p->wpnsize * scale);
    double rot = p->wpnrot * kDeg;
    double sx = std::trunc(map_x + p->x - det_sin(rot) * p->wpnrecoil) + (double)xo * p->dir;
    double sy = std::trunc(map_y + p->y + 3 + det_cos(rot) * p->wpnrecoil) + yo;
    DrawImage(img, (float)sx, (float)sy, 0);
    return 0;
}

// drawline(x1, y1, x2, y2 [, width=1]): last pixel included; leaves rotation 0,
// scale 1 and line width 1.
int lua_drawline(lua_State* L) {
    int x1 = lua_checkint(L, 1), y1 = lua_checkint(L, 2), x2 = lua_checkint(L, 3), y2 = lua_checkint(L, 4);
    int width = lua_optint(L, 5, 1);
    SetTransform(0, 1, 1);
    SetLineWidth((float)width);
    DrawLine(camx() + (float)x1, camy() + (float)y1, camx() + (float)x2, camy() + (float)y2, true);
    SetLineWidth(1);
    return 0;
}

// drawrect(x, y, w, h): filled, at a world position.
int lua_drawrect(lua_State* L) {
    int x = lua_checkint(L, 1), y = lua_checkint(L, 2), w = lua_checkint(L, 3), h = lua_checkint(L, 4);
    DrawRect(camx() + (float)x, camy() + (float)y, (float)w, (float)h);
    return 0;
}

// sethandle(image, x, y): a script image's handle, which also places its
// collision shape; so it is refused in callbacks not run alike everywhere.
int lua_sethandle(lua_State* L) {
    int id = lua_checkint(L, 1), x = lua_checkint(L, 2), y = lua_checkint(L, 3);
    ImagePtr img = script_image(id);
    if (!img || lua_refuse_local("sethandle")) return 0;
    img->handle_x = (float)x;
    img->handle_y = (float)y;
    return 0;
}

// setmidhandle(image): the handle at the image's centre.
int lua_setmidhandle(lua_State* L) {
    int id = lua_checkint(L, 1);
    ImagePtr img = script_image(id);
    if (!img || lua_refuse_local("setmidhandle")) return 0;
    img->handle_x = (float)(img->width / 2);
    img->handle_y = (float)(img->height / 2);
    return 0;
}

// outofscreenarrow(x, y): an arrow inset 16 px from the screen edge pointing
// toward an off-screen world position.
int lua_outofscreenarrow(lua_State* L) {
    int x = lua_checkint(L, 1), y = lua_checkint(L, 2);
    double sx = (double)map_x + x, sy = (double)map_y + y;
    if (sx >= 0 && sx <= set_scrx && sy >= 0 && sy <= set_scry) return 0;
    double angle = std::atan2(sx - set_scrxh, set_scryh - sy) / kDeg;
    SetTransform((float)angle, 1, 1);
    SetBlend(ALPHABLEND);
    SetAlpha(0.3f);
    SetColor(255, 255, 255);
    double s = det_sin(angle * kDeg), c = det_cos(angle * kDeg);
    int a = 0, b = 0, cc = 0, d = 0;
    bool horiz = s != 0 && to_int((set_scrxh - 16) / s, a) && to_int((set_scrxh - (set_scrx - 16)) / s, b);
    bool vert = c != 0 && to_int((set_scryh - 16) / c, cc) && to_int((set_scryh - (set_scry - 16)) / c, d);
    int dist = 0;
    if (horiz && vert) {
        int dx = std::max(a, b);
        dist = std::abs((long long)cc) < std::abs((long long)dx) ? std::max(cc, d) : dx;
    } else if (horiz) {
        dist = std::max(a, b);
    } else if (vert) {
        dist = std::max(cc, d);
    }
    DrawImage(gfx_arrow, (float)std::trunc(set_scrxh + s * dist), (float)std::trunc(set_scryh - c * dist), 0);
    SetTransform(0, 1, 1);
    return 0;
}
