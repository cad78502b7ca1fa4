// Environment and turn functions of the interface: the shared random
// generator, console, camera, screen and map size, wind, water, turn clock.
//
// wind, watery and changeturntime change the shared match state and so write
// world-event records, only on the machine that holds the turn; the record
// reaches every machine (this one through Tfb::copyloc) with the frame.
#include <lua.hpp>

#include <cfloat>
#include <climits>
#include <cmath>

#include "core/input.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "scripting/callback_guard.h"
#include "scripting/interface.h"
#include "scripting/lua_args.h"
#include "scripting/lua_state.h"
#include "scripting/turn_state.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "world/frame_buffer.h"
#include "world/player.h"
#include "world/water.h"

namespace {

// Marks an absent argument of random: a given 123456 counts as absent too.
constexpr int kAbsent = 123456;

bool turn_owner() { return g_player == g_turn_netplayer; }

int push_int(lua_State* L, long long v) {
    lua_pushinteger(L, (lua_Integer)v);
    return 1;
}

int push_num(lua_State* L, double v) {
    lua_pushnumber(L, v);
    return 1;
}

}  // namespace

// random([a [, b]]): a real from the shared generator.
int lua_random(lua_State* L) {
    int a = lua_optint(L, 1, kAbsent);
    int b = lua_optint(L, 2, kAbsent);
    if (a == kAbsent && b == kAbsent) return push_num(L, Rnd(0, 1));
    if (b == kAbsent) return push_num(L, Rnd(1, a));
    return push_num(L, Rnd(a, b));
}

// randomseed(seed)
int lua_randomseed(lua_State* L) {
    in_seed = lua_checkint(L, 1);
    SeedRnd(in_seed);
    return 0;
}

// print(text): one console line.
int lua_print(lua_State* L) {
    luaL_checkstring(L, 1);
    gui_addcon(lua_tostr(L, 1));
    return 0;
}

// scroll(x, y): asks the camera to glide so that map point x, y is centred.
int lua_scroll(lua_State* L) {
    float x = lua_checkfloat(L, 1);
    float y = lua_checkfloat(L, 2);
    lua_scrolla = 1;
    lua_scrollx = lua_clampint((double)((float)set_scrxh - x), INT_MIN, INT_MAX);
    lua_scrolly = lua_clampint((double)((float)set_scryh - y), INT_MIN, INT_MAX);
    return 0;
}

int lua_screenwidth(lua_State* L) { return push_num(L, set_scrx); }
int lua_screenheight(lua_State* L) { return push_num(L, set_scry); }

// wind(w): record 30 with w held to -0.1 .. 0.1.
int lua_wind(lua_State* L) {
    float w = lua_checkfloat(L, 1);
    w = w < -0.1f ? -0.1f : w > 0.1f ? 0.1f : w;
    if (turn_owner() && Tfb::fits(5)) {
        Tfb::wbyte(30);
        Tfb::wfloat(w);
        Tfb::copyloc(5);
    }
    return 0;
}

// watery(y): record 31 with the target water line, held to -50 .. map_ysize - 10.
int lua_watery(lua_State* L) {
    double y = std::trunc(lua_checkreal(L, 1));
    if (y > map_ysize - 10) y = map_ysize - 10;
    if (y < -50) y = -50;
    if (turn_owner() && Tfb::fits(5)) {
        Tfb::wbyte(31);
        Tfb::wint((int)y);
        Tfb::copyloc(5);
    }
    return 0;
}

int lua_getwind(lua_State* L) { return push_num(L, g_storm); }
int lua_getgravity(lua_State* L) { return push_num(L, g_gravity); }
int lua_getwatery(lua_State* L) { return push_int(L, (long long)g_waterlevel + 30); }
int lua_getround(lua_State* L) { return push_int(L, g_round); }

// getturn([which]): 1 turns taken in the round, 2 turns in the round, else
// the match's turn counter (-1 in a positioning turn).
int lua_getturn(lua_State* L) {
    int which = lua_optint(L, 1, 0);
    if (which == 1) return push_int(L, hud_turnbardone);
    if (which == 2) return push_int(L, hud_turnbarall);
    return push_int(L, g_mode == 1 ? g_turn : -1);
}

int lua_getframe(lua_State* L) { return push_int(L, g_turn_frames); }

int lua_getframesleft(lua_State* L) {
    if (g_turn_state > 1) return push_int(L, 0);
    return push_int(L, (long long)set_roundtime_tmp * 50 - g_turn_frames);
}

int lua_getmapwidth(lua_State* L) { return push_int(L, map_xsize); }
int lua_getmapheight(lua_State* L) { return push_int(L, map_ysize); }
int lua_getscrollx(lua_State* L) { return push_num(L, map_x); }
int lua_getscrolly(lua_State* L) { return push_num(L, map_y); }

// endturn(): backing time at once, on every machine. In backing time and in
// the closing states (3 and above) it does nothing, so a late call from a
// callback cannot pull a closing turn back.
int lua_endturn(lua_State*) {
    if (lua_refuse_local("endturn") || g_turn_state >= 2) return 0;
    g_turn_state = 2;
    g_turn_backingstart = g_turn_frames;
    if (menu == 3) {
        auto p = Tplayer::get(g_turn_player);
        if (p)
            for (int s = 0; s < 12; ++s)
                if (g_weaponseti[0][s][0] == p->wpn) g_cooldown[s] = g_weaponsetcd[0][s][0];
    }
    return 0;
}

// changeturntime(n): record 42 with the turn length changed by n seconds.
int lua_changeturntime(lua_State* L) {
    int n = lua_checkint(L, 1);
    if (turn_owner() && Tfb::fits(5)) {
        Tfb::wbyte(42);
        Tfb::wint((int)((unsigned)set_roundtime_tmp + (unsigned)n));
        Tfb::copyloc(5);
    }
    return 0;
}
