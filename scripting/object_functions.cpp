// Object functions of the interface: list objects, create, remove, push, move
// and damage them, read their position, speed and type.
//
// Every change travels as a record written by the machine that holds the
// turn (and copied for its own application after the step), so a script sees
// none of its changes within the same callback.
#include <lua.hpp>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/shared_state.h"
#include "scripting/interface.h"
#include "scripting/lua_args.h"
#include "world/frame_buffer.h"
#include "world/objects.h"

namespace {

bool turn_owner() { return g_player == g_turn_netplayer; }

int push_num(lua_State* L, double v) {
    lua_pushnumber(L, v);
    return 1;
}

float clamp30(double v) { return (float)std::clamp(v, -30.0, 30.0); }

}  // namespace

// objecttable([type=0]): ids of every object, or of one type.
int lua_objecttable(lua_State* L) {
    int type = lua_optint(L, 1, 0);
    std::vector<int> ids;
    for (auto& o : Tobj::list)
        if (type == 0 || o->typ == type) ids.push_back(o->id);
    lua_createtable(L, (int)ids.size(), 0);
    for (size_t i = 0; i < ids.size(); ++i) {
        lua_pushinteger(L, ids[i]);
        lua_rawseti(L, -2, (int)i + 1);
    }
    return 1;
}

// createobject(type [, x=0, y=0, arg=0]): record 70. The id is reserved
// until the record applies; with no free id nothing is written.
int lua_createobject(lua_State* L) {
    int type = lua_checkint(L, 1), x = lua_optint(L, 2, 0), y = lua_optint(L, 3, 0), arg = lua_optint(L, 4, 0);
    if (!turn_owner() || !Tfb::fits(24)) return 0;
    int data = Tobj::getdata(type);
    int id = Tobj::getfreeid(0);
    if (id <= 0) return 0;
    Tfb::wbyte(70);
    Tfb::wint(type);
    Tfb::wint(x);
    Tfb::wint(y);
    Tfb::wint(data);
    Tfb::wshort(id);
    Tfb::wbyte(0);
    Tfb::wint(arg);
    Tfb::copyloc(24);
    return 0;
}

int lua_removeobject(lua_State* L) {
    int id = lua_checkint(L, 1);
    if (turn_owner() && Tobj::get(id) && Tfb::fits(3)) {
        Tfb::wbyte(72);
        Tfb::wshort(id & 0xFFFF);
        Tfb::copyloc(3);
    }
    return 0;
}

// objectpush(id, fx, fy [, mode=0]): mode 0 adds to the current speed.
int lua_objectpush(lua_State* L) {
    int id = lua_checkint(L, 1);
    double fx = lua_checkreal(L, 2), fy = lua_checkreal(L, 3);
    int mode = lua_optint(L, 4, 0);
    auto o = Tobj::get(id);
    if (!turn_owner() || !o) return 0;
    if (mode == 0) fx += o->fx, fy += o->fy;
    o->sync_push(clamp30(fx), clamp30(fy));
    return 0;
}

int lua_objectposition(lua_State* L) {
    int id = lua_checkint(L, 1);
    float x = lua_checkfloat(L, 2), y = lua_checkfloat(L, 3);
    auto o = Tobj::get(id);
    if (turn_owner() && o) o->sync_pos(x, y);
    return 0;
}

// objectdamage(id, amount): record 77 with |amount| (taken in 64 bits).
int lua_objectdamage(lua_State* L) {
    int id = lua_checkint(L, 1);
    int amount = (int)std::min<int64_t>(std::llabs((int64_t)lua_checkint(L, 2)), INT_MAX);
    if (turn_owner() && Tobj::get(id) && Tfb::fits(7)) {
        Tfb::wbyte(77);
        Tfb::wshort(id & 0xFFFF);
        Tfb::wint(amount);
        Tfb::copyloc(7);
    }
    return 0;
}

int lua_getobjectx(lua_State* L) {
    auto o = Tobj::get(lua_checkint(L, 1));
    return push_num(L, o ? o->x : 0);
}

int lua_getobjecty(lua_State* L) {
    auto o = Tobj::get(lua_checkint(L, 1));
    return push_num(L, o ? o->y : 0);
}

int lua_getobjectxspeed(lua_State* L) {
    auto o = Tobj::get(lua_checkint(L, 1));
    return push_num(L, o ? o->fx : 0);
}

int lua_getobjectyspeed(lua_State* L) {
    auto o = Tobj::get(lua_checkint(L, 1));
    return push_num(L, o ? o->fy : 0);
}

int lua_getobjecttype(lua_State* L) {
    auto o = Tobj::get(lua_checkint(L, 1));
    lua_pushinteger(L, o ? o->typ : 0);
    return 1;
}
