// Terrain functions of the interface. The six editing functions write
// world-event records 50-55 on the machine that holds the turn and copy each
// for their own application (Tfb::copyloc), so a script reading the terrain
// back in the same callback sees the old pixels on every machine.
// resizeterrain rebuilds the terrain at once on every machine.
#include <lua.hpp>

#include <cstdint>
#include <cstdlib>

#include "core/shared_state.h"
#include "scripting/callback_guard.h"
#include "scripting/interface.h"
#include "scripting/lua_args.h"
#include "scripting/lua_images.h"
#include "terrain/tiles.h"
#include "world/frame_buffer.h"

namespace {

bool turn_owner() { return g_player == g_turn_netplayer; }

// Absolute value taken in 64 bits (so that of INT_MIN exists); a 16-bit
// field keeps its low bits.
int abs16(int v) { return (int)(std::llabs((long long)v) & 0xFFFF); }

// Image ids travel as id + 100 in 16 bits.
int image_field(int id) { return (int)(((unsigned)id + 100u) & 0xFFFFu); }

float optfloat(lua_State* L, int arg, float def) { return lua_isnoneornil(L, arg) ? def : lua_checkfloat(L, arg); }

// Tiles for a size in pixels: rounded up, in 64 bits.
int tiles_for(int pixels) {
    long long p = pixels;
    return (int)(p > 0 ? (p + 99) / 100 : p / 100);
}

}  // namespace

// terraincircle(x, y, radius, colour): record 50.
int lua_terraincircle(lua_State* L) {
    int x = lua_checkint(L, 1), y = lua_checkint(L, 2), r = abs16(lua_checkint(L, 3)), c = lua_checkint(L, 4);
    if (turn_owner() && Tfb::fits(15)) {
        Tfb::wbyte(50);
        Tfb::wint(x);
        Tfb::wint(y);
        Tfb::wshort(r);
        Tfb::wint(c);
        Tfb::copyloc(15);
    }
    return 0;
}

// terrainrect(x, y, width, height, colour): record 51, x, y the top-left corner.
int lua_terrainrect(lua_State* L) {
    int x = lua_checkint(L, 1), y = lua_checkint(L, 2);
    int w = abs16(lua_checkint(L, 3)), h = abs16(lua_checkint(L, 4)), c = lua_checkint(L, 5);
    if (turn_owner() && Tfb::fits(17)) {
        Tfb::wbyte(51);
        Tfb::wint(x);
        Tfb::wint(y);
        Tfb::wshort(w);
        Tfb::wshort(h);
        Tfb::wint(c);
        Tfb::copyloc(17);
    }
    return 0;
}

// terrainexplosion(x, y, radius [, style=0]): record 52. A negative radius
// counts by its absolute value, as terraincircle's does.
int lua_terrainexplosion(lua_State* L) {
    int x = lua_checkint(L, 1), y = lua_checkint(L, 2), r = abs16(lua_checkint(L, 3));
    int style = lua_optint(L, 4, 0);
    if (turn_owner() && Tfb::fits(12)) {
        Tfb::wbyte(52);
        Tfb::wint(x);
        Tfb::wint(y);
        Tfb::wshort(r);
        Tfb::wbyte(style & 0xFF);
        Tfb::copyloc(12);
    }
    return 0;
}

// terrainimage(image, x, y [, mode=0, rotation=0]): record 53.
int lua_terrainimage(lua_State* L) {
    int img = lua_checkint(L, 1), x = lua_checkint(L, 2), y = lua_checkint(L, 3);
    int mode = lua_optint(L, 4, 0), rot = lua_optint(L, 5, 0);
    if (turn_owner() && lua_getimage(img) && Tfb::fits(16)) {
        Tfb::wbyte(53);
        Tfb::wshort(image_field(img));
        Tfb::wint(x);
        Tfb::wint(y);
        Tfb::wbyte(mode & 0xFF);
        Tfb::wint(rot);
        Tfb::copyloc(16);
    }
    return 0;
}

// terrainalphaimage(image, x, y [, strength=1, r=-1, g=-1, b=-1, rotation=0]): record 54.
int lua_terrainalphaimage(lua_State* L) {
    int img = lua_checkint(L, 1), x = lua_checkint(L, 2), y = lua_checkint(L, 3);
    float strength = optfloat(L, 4, 1.0f);
    int r = lua_optint(L, 5, -1), g = lua_optint(L, 6, -1), b = lua_optint(L, 7, -1), rot = lua_optint(L, 8, 0);
    if (turn_owner() && lua_getimage(img) && Tfb::fits(31)) {
        Tfb::wbyte(54);
        Tfb::wshort(image_field(img));
        Tfb::wint(x);
        Tfb::wint(y);
        Tfb::wfloat(strength);
        Tfb::wint(r);
        Tfb::wint(g);
        Tfb::wint(b);
        Tfb::wint(rot);
        Tfb::copyloc(31);
    }
    return 0;
}

// terrainbackimage(image, x, y [, dr=0, dg=0, db=0, rotation=0]): record 55.
int lua_terrainbackimage(lua_State* L) {
    int img = lua_checkint(L, 1), x = lua_checkint(L, 2), y = lua_checkint(L, 3);
    int r = lua_optint(L, 4, 0), g = lua_optint(L, 5, 0), b = lua_optint(L, 6, 0), rot = lua_optint(L, 7, 0);
    if (turn_owner() && lua_getimage(img) && Tfb::fits(27)) {
        Tfb::wbyte(55);
        Tfb::wshort(image_field(img));
        Tfb::wint(x);
        Tfb::wint(y);
        Tfb::wint(r);
        Tfb::wint(g);
        Tfb::wint(b);
        Tfb::wint(rot);
        Tfb::copyloc(27);
    }
    return 0;
}

// terrainmodification(): 1 while a terrain change is settling.
int lua_terrainmodification(lua_State* L) {
    lua_pushinteger(L, g_terrainmodify > 0 ? 1 : 0);
    return 1;
}

// getterraincolor(x, y [, mode=0]): alpha, red, green, blue; or, for any
// other mode, the ARGB value as one signed integer.
int lua_getterraincolor(lua_State* L) {
    int x = lua_checkint(L, 1), y = lua_checkint(L, 2), mode = lua_optint(L, 3, 0);
    uint32_t c = (uint32_t)map_getcolor(x, y);
    if (mode != 0) {
        lua_pushinteger(L, (int32_t)c);
        return 1;
    }
    lua_pushinteger(L, (c >> 24) & 0xFF);
    lua_pushinteger(L, (c >> 16) & 0xFF);
    lua_pushinteger(L, (c >> 8) & 0xFF);
    lua_pushinteger(L, c & 0xFF);
    return 4;
}

// resizeterrain(width, height): an empty terrain of that size in pixels,
// rounded up to whole tiles, at once on every machine; so it is refused in
// callbacks that do not run alike everywhere.
int lua_resizeterrain(lua_State* L) {
    int w = lua_checkint(L, 1), h = lua_checkint(L, 2);
    if (lua_refuse_local("resizeterrain")) return 0;
    map_setup(tiles_for(w), tiles_for(h), 1);
    return 0;
}
