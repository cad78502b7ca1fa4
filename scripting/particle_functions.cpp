// Particle functions of the interface: one particle of a built-in kind and
// setters for the particle made last. Particles are local effects: no record,
// no turn-owner test, allowed in every callback.
#include <lua.hpp>

#include <cmath>
#include <memory>

#include "scripting/interface.h"
#include "scripting/lua_args.h"
#include "world/particles.h"

namespace {

// The particle made last; kept after it ends, so late setters touch only it.
std::shared_ptr<Tp> s_last;

}  // namespace

// particle(kind, x, y): layer 0, the position cut toward zero.
int lua_particle(lua_State* L) {
    int kind = lua_checkint(L, 1);
    double x = lua_checkreal(L, 2), y = lua_checkreal(L, 3);
    s_last = Tp::CreateScript(kind, tp_int(x), tp_int(y), 0);
    return 0;
}

int lua_particlespeed(lua_State* L) {
    float fx = lua_checkfloat(L, 1), fy = lua_checkfloat(L, 2);
    if (s_last) s_last->fx = fx, s_last->fy = fy;
    return 0;
}

int lua_particlealpha(lua_State* L) {
    float a = lua_checkfloat(L, 1);
    if (s_last) s_last->a = a;
    return 0;
}

int lua_particlefadealpha(lua_State* L) {
    float fa = std::fabs(lua_checkfloat(L, 1));
    if (s_last) s_last->fa = fa;
    return 0;
}

int lua_particlecolor(lua_State* L) {
    int r = lua_checkint(L, 1), g = lua_checkint(L, 2), b = lua_checkint(L, 3);
    if (s_last) s_last->r = r, s_last->g = g, s_last->b = b;
    return 0;
}

int lua_particlesize(lua_State* L) {
    float sx = lua_checkfloat(L, 1), sy = lua_checkfloat(L, 2);
    if (s_last) s_last->sx = sx, s_last->sy = sy;
    return 0;
}

int lua_particlerotation(lua_State* L) {
    float rot = lua_checkfloat(L, 1);
    if (s_last) s_last->rot = rot;
    return 0;
}
