// The scripting interface: the 153 global names scripts call, in
// registration order, each with the C function behind it.
//
// Families are built one at a time; a name whose function is not built yet
// has no function here and lua_reset registers it as one that raises a Lua
// error naming it, so scripts fail clearly instead of calling nil.
//
// Conventions every interface function follows:
// 1. arguments are read by position with luaL_checkinteger / checknumber /
//    checkstring (optional ones with the luaL_opt* readers and the family's
//    default); a real given for an integer is cut toward zero;
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

// Argument readers for the conventions. An integer argument is read as a
// number, cut toward zero and held to the int range (a cast of an
// out-of-range double is undefined, and every machine must read the same
// value); a NaN reads as 0. Errors are luaL_checknumber's.
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
