// The scripting interface: the 153 global names scripts call, in
// registration order, each with the C function behind it.
//
// Families are built one at a time; a name whose function is not built yet
// has no function here and lua_reset registers it as one that raises a Lua
// error naming it, so scripts fail clearly instead of calling nil.
//
// Conventions every interface function follows:
// 1. arguments are read by position with lua_checkint / lua_checkreal /
//    lua_checkfloat / luaL_checkstring (optional ones with the opt readers
//    and the family's default); a real given for an integer is cut toward
//    zero; NaN and infinities are argument errors;
// 2. a missing or unconvertible argument raises Lua's argument error, which
//    ends the running chunk or callback; its protected caller reports it
//    through luaerror under its own section;
// 3. results are pushed and counted; truth values are the numbers 0 and 1
//    (getweaponlock alone pushes a boolean); list functions push a new table;
// 4. a player argument of 0 or less means the acting player lua_p;
// 5. a function that changes the shared match state writes a world-event
//    record, and only on the machine that owns the turn; everything else acts
//    at once on every machine;
// 6. every function may be called while a script file loads and inside every
//    callback (some act only under their own conditions);
// 7. texts cross one byte per character (lua_tostr, lua_pushstr).
#pragma once

#include <memory>

struct lua_State;
struct Tplayer;
typedef int (*lua_CFunction)(lua_State* L);

struct Tlua_function {
    const char* name;
    lua_CFunction fn;   // null while its family is not built
};

// The 153 entries in registration order.
const Tlua_function (&lua_interface_functions())[153];

// Argument readers for the conventions (the real-valued ones are in
// scripting/lua_args.h). An integer argument is read as a number, cut toward
// zero and keeps its low 32 bits; NaN, infinities and integers beyond 64 bits
// raise the argument error, since no conversion of them is defined and every
// machine must read the same value.
int lua_checkint(lua_State* L, int arg);
int lua_optint(lua_State* L, int arg, int def);
// Convention 4: the player named by a required integer argument; 0 or less
// means the acting player lua_p. Null when there is no such player.
std::shared_ptr<Tplayer> lua_checkplayer(lua_State* L, int arg);

// The built functions, by family.
int lua_dofile(lua_State* L);
int lua_addweapon(lua_State* L);
int lua_addweaponinfo(lua_State* L);
int lua_addprojectile(lua_State* L);
int lua_addobject(lua_State* L);
int lua_loadgfx(lua_State* L);
int lua_loadsfx(lua_State* L);
int lua_addgamemode(lua_State* L);
int lua_addgameender(lua_State* L);
// Environment and turn (scripting/env_functions.cpp).
int lua_random(lua_State* L);
int lua_randomseed(lua_State* L);
int lua_print(lua_State* L);
int lua_scroll(lua_State* L);
int lua_screenwidth(lua_State* L);
int lua_screenheight(lua_State* L);
int lua_wind(lua_State* L);
int lua_watery(lua_State* L);
int lua_getwind(lua_State* L);
int lua_getgravity(lua_State* L);
int lua_getwatery(lua_State* L);
int lua_getround(lua_State* L);
int lua_getturn(lua_State* L);
int lua_getframe(lua_State* L);
int lua_getframesleft(lua_State* L);
int lua_getmapwidth(lua_State* L);
int lua_getmapheight(lua_State* L);
int lua_getscrollx(lua_State* L);
int lua_getscrolly(lua_State* L);
int lua_endturn(lua_State* L);
int lua_changeturntime(lua_State* L);
// Weapon use, damage and input (scripting/weapon_functions.cpp); the key
// readers carry "fn" since lua_keydown is the held flag itself.
int lua_useweapon(lua_State* L);
int lua_arealdamage(lua_State* L);
int lua_recoil(lua_State* L);
int lua_blood(lua_State* L);
int lua_angledelta(lua_State* L);
int lua_fn_keydown(lua_State* L);
int lua_fn_keyhit(lua_State* L);
int lua_fn_keyrelease(lua_State* L);
int lua_quake(lua_State* L);
// Weapon stock (scripting/stock_functions.cpp).
int lua_getweaponinfo(lua_State* L);
int lua_getweaponlist(lua_State* L);
int lua_getweaponcount(lua_State* L);
int lua_setweaponcount(lua_State* L);
int lua_getweaponlock(lua_State* L);
int lua_setweaponlock(lua_State* L);
