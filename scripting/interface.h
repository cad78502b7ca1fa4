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
// Players, projectiles, particles, collision, objects, AI and map nodes
// (scripting/player_functions.cpp, projectile_functions.cpp,
// particle_functions.cpp, collision_functions.cpp, object_functions.cpp,
// ai_functions.cpp); projectileid and getprojectileid share lua_projectileid.
int lua_projectileid(lua_State* L);
int lua_playertable(lua_State* L);
int lua_playercurrent(lua_State* L);
int lua_playerpush(lua_State* L);
int lua_playerdamage(lua_State* L);
int lua_playerheal(lua_State* L);
int lua_playerposition(lua_State* L);
int lua_playercontrol(lua_State* L);
int lua_playerstate(lua_State* L);
int lua_playerswitch(lua_State* L);
int lua_playerforceframe(lua_State* L);
int lua_playerweaponswitch(lua_State* L);
int lua_getplayerx(lua_State* L);
int lua_getplayery(lua_State* L);
int lua_getplayerrotation(lua_State* L);
int lua_getplayerdirection(lua_State* L);
int lua_getplayerhealth(lua_State* L);
int lua_getplayeraction(lua_State* L);
int lua_getplayerxspeed(lua_State* L);
int lua_getplayeryspeed(lua_State* L);
int lua_getplayerstate(lua_State* L);
int lua_getplayerteam(lua_State* L);
int lua_getplayeralliance(lua_State* L);
int lua_getplayercontrol(lua_State* L);
int lua_getplayerweaponswitch(lua_State* L);
int lua_getplayerweapon(lua_State* L);
int lua_createprojectile(lua_State* L);
int lua_freeprojectile(lua_State* L);
int lua_getprojectiletype(lua_State* L);
int lua_getprojectileinfo(lua_State* L);
int lua_particle(lua_State* L);
int lua_particlespeed(lua_State* L);
int lua_particlealpha(lua_State* L);
int lua_particlefadealpha(lua_State* L);
int lua_particlecolor(lua_State* L);
int lua_particlesize(lua_State* L);
int lua_particlerotation(lua_State* L);
int lua_collision(lua_State* L);
int lua_terraincollision(lua_State* L);
int lua_playercollision(lua_State* L);
int lua_objectcollision(lua_State* L);
int lua_firecollision(lua_State* L);
int lua_imagecollision(lua_State* L);
int lua_objecttable(lua_State* L);
int lua_createobject(lua_State* L);
int lua_removeobject(lua_State* L);
int lua_objectpush(lua_State* L);
int lua_objectposition(lua_State* L);
int lua_objectdamage(lua_State* L);
int lua_getobjectx(lua_State* L);
int lua_getobjecty(lua_State* L);
int lua_getobjectxspeed(lua_State* L);
int lua_getobjectyspeed(lua_State* L);
int lua_getobjecttype(lua_State* L);
int lua_ai_up(lua_State* L);
int lua_ai_down(lua_State* L);
int lua_ai_left(lua_State* L);
int lua_ai_right(lua_State* L);
int lua_ai_jump(lua_State* L);
int lua_ai_backjump(lua_State* L);
int lua_ai_attack(lua_State* L);
int lua_ai_settimer(lua_State* L);
int lua_ai_weapon(lua_State* L);
int lua_nodetable(lua_State* L);
int lua_getnodex(lua_State* L);
int lua_getnodey(lua_State* L);
// Live projectiles at which createprojectile refuses (alike on every machine).
inline constexpr int kMaxProjectiles = 1000;
