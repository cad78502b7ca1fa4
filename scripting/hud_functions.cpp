// HUD functions of the interface: each stores a request for the HUD passes,
// which draw and clear it; none records anything, and only hudinfo asks
// whether this machine holds the turn.
//
// Every argument is read before anything with a destructor is made: an
// argument error unwinds with longjmp, past C++ destructors.
#include <lua.hpp>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "core/shared_state.h"
#include "scripting/interface.h"
#include "scripting/lua_args.h"
#include "scripting/lua_images.h"
#include "scripting/lua_state.h"
#include "scripting/terrain_hud_functions.h"

namespace {

// |v| taken in 64 bits, an int amount held to 2147483647.
int abs32(int v) { return (int)std::min<long long>(std::llabs((long long)v), 2147483647LL); }

}  // namespace

// hudchargebar(value, max): the fill ratio as a float; max 0 gives an
// infinity or NaN, which the bar shows full or empty (computed in double,
// so no floating-point trap can fire).
int lua_hudchargebar(lua_State* L) {
    int value = lua_checkint(L, 1), max = lua_checkint(L, 2);
    hud_drawchargebar = 1;
    hud_drawchargebarperc = (float)((double)value / (double)max);
    return 0;
}

// hudammobar(sub, total [, icon=0]): the third argument is kept, never drawn.
int lua_hudammobar(lua_State* L) {
    int sub = lua_checkint(L, 1), total = lua_checkint(L, 2);
    int icon = lua_optint(L, 3, 0);
    hud_drawammobar = 1;
    hud_drawammobarsub = sub;
    hud_drawammobartotal = total;
    hud_drawammobaricon = icon;
    return 0;
}

// hudpositioning([mode=1, image=0, range, terrain=1, players=1, objects=1]):
// range defaults to 100, to 0 for pos_drop.
int lua_hudpositioning(lua_State* L) {
    int mode = lua_optint(L, 1, 1);
    int image = lua_optint(L, 2, 0);
    int range = lua_optint(L, 3, mode == 5 ? 0 : 100);
    int terrain = lua_optint(L, 4, 1), players = lua_optint(L, 5, 1), objects = lua_optint(L, 6, 1);
    hud_drawpos = mode;
    hud_drawposimg = lua_getimage(image) ? image : 0;
    hud_drawposrange = range;
    hud_drawposcolterrain = terrain != 0 ? 1 : 0;
    hud_drawposcolplayers = players != 0 ? 1 : 0;
    hud_drawposcolobjects = objects != 0 ? 1 : 0;
    return 0;
}

// hudcrosshair([xoffset=0, yoffset=0])
int lua_hudcrosshair(lua_State* L) {
    int xo = lua_optint(L, 1, 0), yo = lua_optint(L, 2, 0);
    hud_drawaim = 1;
    hud_drawaimxo = xo;
    hud_drawaimyo = yo;
    return 0;
}

// hudinfo(text [, owneronly=1, r=255, g=255, b=255])
int lua_hudinfo(lua_State* L) {
    luaL_checkstring(L, 1);
    int owneronly = lua_optint(L, 2, 1);
    int r = lua_optint(L, 3, 255), g = lua_optint(L, 4, 255), b = lua_optint(L, 5, 255);
    if (owneronly == 0 || g_player == g_turn_netplayer) hud_setinfo(lua_tostr(L, 1), r, g, b);
    return 0;
}

// hudtimer(value [, min=1, max=5]): the value is taken only while no timer
// was shown since the weapon was chosen; later calls re-clamp it.
int lua_hudtimer(lua_State* L) {
    int value = abs32(lua_checkint(L, 1));
    int lo = abs32(lua_optint(L, 2, 1)), hi = abs32(lua_optint(L, 3, 5));
    if (hud_drawtimer == -1) {
        hud_drawtimerval = value;
        lua_setglobalint("weapon_timer", value);
    }
    hud_drawtimer = 1;
    lo = std::clamp(lo, 1, 10);
    hi = std::clamp(hi, 1, 10);
    if (lo > hi) std::swap(lo, hi);
    hud_drawtimermin = lo;
    hud_drawtimermax = hi;
    hud_drawtimerval = std::clamp(hud_drawtimerval, lo, hi);
    return 0;
}

// hudmapborder([style=0, offset=0])
int lua_hudmapborder(lua_State* L) {
    int style = lua_optint(L, 1, 0), offset = lua_optint(L, 2, 0);
    hud_drawmapborder = 1;
    hud_borderstyle = style;
    hud_borderoffset = offset;
    return 0;
}

// hudmsgbox(text): opens the typing message box.
int lua_hudmsgbox(lua_State* L) {
    luaL_checkstring(L, 1);
    hud_msgbox(lua_tostr(L, 1));
    return 0;
}

// hudtext(text, x, y [, r=255, g=255, b=255, align=0]): queued for the next
// rendered frame, in screen coordinates.
int lua_hudtext(lua_State* L) {
    luaL_checkstring(L, 1);
    int x = lua_checkint(L, 2), y = lua_checkint(L, 3);
    int r = lua_optint(L, 4, 255), g = lua_optint(L, 5, 255), b = lua_optint(L, 6, 255), align = lua_optint(L, 7, 0);
    hud_lua_add(lua_tostr(L, 1), x, y, r, g, b, align);
    return 0;
}
