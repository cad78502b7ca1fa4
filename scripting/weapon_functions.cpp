// Weapon use, damage and input functions of the interface. None writes a
// record itself: each acts at once on the machine where it runs, which stays
// in step because every machine runs the same callbacks in the same frames
// (arealdamage leaves its records to the world's area-damage routine).
#include <lua.hpp>

#include <climits>
#include <cmath>

#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "scripting/callback_guard.h"
#include "scripting/interface.h"
#include "scripting/lua_args.h"
#include "world/explosion.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/team.h"

namespace {

constexpr size_t kMaxBlood = 20000;

int* const kHeld[7] = {&lua_keyup, &lua_keydown, &lua_keyleft, &lua_keyright, &lua_keyjump, &lua_keybackjump,
                       &lua_keyattack};
int* const kHit[7] = {&lua_keyhitup,   &lua_keyhitdown,     &lua_keyhitleft,  &lua_keyhitright,
                      &lua_keyhitjump, &lua_keyhitbackjump, &lua_keyhitattack};
int* const kRel[7] = {&lua_keyrelup,   &lua_keyreldown,     &lua_keyrelleft,  &lua_keyrelright,
                      &lua_keyreljump, &lua_keyrelbackjump, &lua_keyrelattack};

// keydown / keyhit / keyrelease: key 1..7 (a real cut toward zero).
int key_flag(lua_State* L, int* const (&flags)[7]) {
    double k = std::trunc(lua_checkreal(L, 1));
    int v = k >= 1 && k <= 7 ? *flags[(int)k - 1] : 0;
    lua_pushinteger(L, v != 0 ? 1 : 0);
    return 1;
}

}  // namespace

// useweapon([mode=0]): books one use of the turn player's weapon.
int lua_useweapon(lua_State* L) {
    int mode = lua_optint(L, 1, 0);
    if (lua_refuse_local("useweapon") || g_wpn_attacked != 0) return 0;
    g_wpn_attacked = mode == 0 ? 1 : mode == 1 ? 2 : 0;
    auto p = Tplayer::get(g_turn_player);
    auto t = Tteam::get(g_turn_team);
    if (!p || !t) return 0;
    int w = p->wpn;
    if (w < 0 || w > 255) return 0;
    if (g_replay == 1) Ts_weapons::uses[w]++;
    uint8_t& stock = t->wamount[w];
    if (stock > 0) {
        if (g_replay != 1) Ts_weapons::uses[w]++;
        if (stock != 100) --stock;
    }
    return 0;
}

// arealdamage(x, y, radius, damage)
int lua_arealdamage(lua_State* L) {
    int x = lua_checkint(L, 1), y = lua_checkint(L, 2), r = lua_checkint(L, 3), d = lua_checkint(L, 4);
    arealdamage(x, y, r, d);
    return 0;
}

// recoil(amount): the acting player's drawn recoil.
int lua_recoil(lua_State* L) {
    float amount = lua_checkfloat(L, 1);
    if (auto p = lua_p > 0 ? Tplayer::get(lua_p) : nullptr) p->wpnrecoil = amount;
    return 0;
}

// blood(x, y [, ignored, count=6]): blood particles scaled by the gore level.
int lua_blood(lua_State* L) {
    double x = lua_checkreal(L, 1), y = lua_checkreal(L, 2);
    int count = lua_optint(L, 4, 6);
    int n;
    switch (set_gore) {
        case 1: n = (int)(count / 1.5); break;
        case 2: n = count; break;
        case 3: n = (int)(2LL * count > INT_MAX ? INT_MAX : 2LL * count); break;
        case 4: n = (int)(4LL * count > INT_MAX ? INT_MAX : 4LL * count); break;
        case 5: n = (int)(6LL * count > INT_MAX ? INT_MAX : 6LL * count); break;
        default: return 0;
    }
    if (n < 1) n = 1;
    // A script's count costs particles and time: one call makes at most what
    // gore 5 makes of a count of 100, and a layer already holding kMaxBlood
    // particles takes no more (the numbers are still drawn, so the generator
    // moves as it would).
    if (n > 600) n = 600;
    int top = set_gore <= 3 ? 5 : set_gore == 4 ? 4 : 3;
    int px = lua_clampint(x, INT_MIN, INT_MAX), py = lua_clampint(y, INT_MIN, INT_MAX);
    for (int i = 0; i < n; ++i) {
        int kind = Rand(1, top) == 1 ? 5 : 4;
        auto p = Tp::list[0].size() < kMaxBlood ? Tp::Create(kind, px, py, 0) : nullptr;
        double fx = Rnd(-3, 3), fy = Rnd(-2, 3);
        if (p) {
            p->fx = (float)fx;
            p->fy = (float)fy;
        }
    }
    return 0;
}

// angledelta(a, b): b - a folded once into -180 .. 180.
int lua_angledelta(lua_State* L) {
    double d = lua_checkreal(L, 2) - lua_checkreal(L, 1);
    if (std::fabs(d) > 180) d -= d > 0 ? 360 : -360;
    lua_pushnumber(L, d);
    return 1;
}

int lua_fn_keydown(lua_State* L) { return key_flag(L, kHeld); }
int lua_fn_keyhit(lua_State* L) { return key_flag(L, kHit); }
int lua_fn_keyrelease(lua_State* L) { return key_flag(L, kRel); }

// quake([strength=15])
int lua_quake(lua_State* L) {
    g_shake = lua_optint(L, 1, 15);
    return 0;
}
