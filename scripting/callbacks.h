// Script callbacks: how the game calls the functions that scripts define.
//
// Every call follows one protocol: empty the Lua stack; find the function
// (a type's table path and a field name, or a global name); push the
// arguments (ids and counts as integers, positions as numbers); call it
// protected, under the instruction budget, reading one result or none; on a
// failure report it through luaerror with the caller's section and go on as
// if the callback returned nothing. A result is read as an integer; nil and
// values that are not numbers count as 0.
//
// The lookup runs inside the protected call, so a path link that is not a
// table gives nil (and so the usual "attempt to call" error) and a script's
// metamethods met on the way can fail without ever leaving the protected
// call.
//
// Entry points of the world (weapons, projectiles, objects, player damage)
// are declared in core/shared_state.h; the match calls the others below.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "core/shared_state.h"

struct lua_State;

// Pushes the value at the end of a table path, nil when a link is missing or
// not a table. Only inside protected code: field reads may run metamethods.
void lua_pushpath(lua_State* L, const std::vector<std::string>& pathtable);

// One argument of a callback: an integer or a number.
struct Tlua_arg {
    bool integer;
    double value;
    static Tlua_arg i(long long v) { return {true, (double)v}; }
    static Tlua_arg n(double v) { return {false, v}; }
};

// The protocol. path null: name is a global; else name is a field of the
// value at the path. result null: no result read. True when the call
// succeeded (then *result holds the integer result).
bool lua_callback(const std::vector<std::string>* path, const std::string& name, std::initializer_list<Tlua_arg> args,
                  int* result, const std::string& section);

// The active game mode's / game ender's internal name: the registered entry
// at the host setting "gamemode" / "gameendertype"; "" when none applies (an
// index outside the list, an empty name, or a built-in ender beginning "<").
std::string lua_gamemode_active();
std::string lua_gameender_active();

// Game-mode callbacks without results; nothing when no mode applies.
void lua_gm_start();
void lua_gm_update();
void lua_gm_draw();
// The match decision at the start of a normal turn (host only). living: the
// number of team colours with living players; last: the last such colour in
// team order (-1 when none). Returns 1 when the match ends, with winner the
// winning colour or -1 for none; 0 when it goes on.
//   -1 ends with no winner; 1..8 ends with colour result-1; -2 or no mode:
//   the standard rule (ends at one colour left, or none in single-player,
//   the last colour winning); anything else goes on unless no colour lives;
//   a failure goes on.
int lua_gm_endturn(int living, int last, bool singleplayer, int& winner);
// The game ender's run with its end step; 1 when a callback was made.
int lua_ge_run(int step);
// AI callbacks "ai_init", "ai_move", "ai_back" with lua_p = player and
// lua_ailock 1 while they run.
void lua_ai_call(int player, const std::string& name);
// Mission callbacks "mission_start", "mission_update", "mission_draw".
void lua_mission_call(const std::string& name);
