// Checked argument readers for the interface functions.
#include "scripting/lua_args.h"

#include <lua.hpp>

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

double finite(lua_State* L, int arg) {
    double v = luaL_checknumber(L, arg);
    if (!std::isfinite(v)) luaL_argerror(L, arg, "number is not finite");
    return v;
}

}  // namespace

int lua_int_low32(lua_State* L, int arg, double v) {
    double t = std::trunc(v);
    // Two's-complement low bits of any integer of up to 64 bits.
    uint64_t bits;
    if (t >= -9223372036854775808.0 && t < 9223372036854775808.0)
        bits = (uint64_t)(int64_t)t;
    else if (t >= 0 && t < 18446744073709551616.0)
        bits = (uint64_t)t;
    else
        return luaL_argerror(L, arg, "integer out of range");
    return (int)(int32_t)(uint32_t)(bits & 0xFFFFFFFFu);
}

double lua_checkreal(lua_State* L, int arg) { return finite(L, arg); }

double lua_optreal(lua_State* L, int arg, double def) { return lua_isnoneornil(L, arg) ? def : finite(L, arg); }

float lua_checkfloat(lua_State* L, int arg) {
    double v = finite(L, arg);
    if (v > FLT_MAX) v = FLT_MAX;
    if (v < -FLT_MAX) v = -FLT_MAX;
    return (float)v;
}

int lua_clampint(double v, int lo, int hi) {
    if (!(v >= lo)) return lo;
    if (v >= hi) return hi;
    return (int)v;
}
