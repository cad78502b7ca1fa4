// Checked argument readers for the interface functions.
//
// Lua numbers are doubles, and scripts come from other machines: NaN passes
// every clamp and converting NaN, an infinity or a huge value to an integer
// or float is undefined. So every interface function reads numbers here:
// NaN, infinities and integers beyond 64 bits raise Lua's argument error;
// integers are cut toward zero and keep their low 32 bits (as Lua's own
// integer reader does on common machines); reals are clamped to the
// target's range before they are narrowed.
#pragma once

struct lua_State;

// A finite number (argument error otherwise).
double lua_checkreal(lua_State* L, int arg);
double lua_optreal(lua_State* L, int arg, double def);
// A finite number narrowed to a float, clamped to the float range first.
float lua_checkfloat(lua_State* L, int arg);
// The integer reader behind lua_checkint (scripting/interface.h): v, finite,
// cut toward zero, keeps its low 32 bits; beyond 64 bits an argument error.
int lua_int_low32(lua_State* L, int arg, double v);
// A real already known finite, clamped to lo..hi and cut toward zero.
int lua_clampint(double v, int lo, int hi);
