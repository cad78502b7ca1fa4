// Player functions of the interface: list, push, move, damage, heal and
// switch players, set their status effects and read their state.
//
// playerpush, playerposition, playercontrol, playerweaponswitch and
// playerforceframe act at once on every machine; the first four refuse inside
// callbacks that run on one machine only or not once per simulated frame
// (scripting/callback_guard.h), where they would change some machines only.
// playerdamage, playerheal, playerstate and playerswitch write records, only
// on the machine that holds the turn.
#include <lua.hpp>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/shared_state.h"
#include "scripting/callback_guard.h"
#include "scripting/interface.h"
#include "scripting/lua_args.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"
#include "world/collision.h"
#include "world/frame_buffer.h"
#include "world/player.h"
#include "world/team.h"

namespace {

bool turn_owner() { return g_player == g_turn_netplayer; }

int push_int(lua_State* L, long long v) {
    lua_pushinteger(L, (lua_Integer)v);
    return 1;
}

// |v| in 64 bits, held to the int range (|INT_MIN| does not fit an int).
int abs_amount(int v) { return (int)std::min<int64_t>(std::llabs((int64_t)v), INT_MAX); }

std::shared_ptr<Tplayer> acting() { return lua_p > 0 ? Tplayer::get(lua_p) : nullptr; }

// Records 40 and 41: code, player id, amount.
void write_amount(int code, const Tplayer& p, int amount) {
    if (!turn_owner() || p.health <= 0 || !Tfb::fits(6)) return;
    Tfb::wbyte(code);
    Tfb::wbyte(p.id & 0xFF);
    Tfb::wint(amount);
    Tfb::copyloc(6);
}

float clamp30(double v) { return (float)std::clamp(v, -30.0, 30.0); }

}  // namespace

// playertable([mode=0 [, all=1]])
int lua_playertable(lua_State* L) {
    int mode = lua_optint(L, 1, 0), all = lua_optint(L, 2, 1);
    auto me = acting();
    auto myteam = me ? Tteam::get(me->team) : nullptr;
    std::vector<int> ids;
    for (auto& p : Tplayer::list) {
        if (all != 1 && p->health <= 0) continue;
        bool take = false;
        if (mode == 0) {
            take = true;
        } else if (me && mode == 1) {
            take = p->team == me->team && p != me;
        } else if (me && (mode == 2 || mode == 3)) {
            auto team = Tteam::get(p->team);
            if (team && myteam)
                take = mode == 2 ? team->color == myteam->color && p != me : team->color != myteam->color;
        }
        if (take) ids.push_back(p->id);
    }
    lua_createtable(L, (int)ids.size(), 0);
    for (size_t i = 0; i < ids.size(); ++i) {
        lua_pushinteger(L, ids[i]);
        lua_rawseti(L, -2, (int)i + 1);
    }
    return 1;
}

int lua_playercurrent(lua_State* L) { return push_int(L, acting() ? lua_p : 0); }

// playerpush(player, fx, fy [, set=0 [, flung=1]])
int lua_playerpush(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    double fx = lua_checkreal(L, 2), fy = lua_checkreal(L, 3);
    int set = lua_optint(L, 4, 0), flung = lua_optint(L, 5, 1);
    if (lua_refuse_local("playerpush") || !p) return 0;
    p->action = flung == 0 ? 10 : 1;
    if (set != 1) fx += p->fx, fy += p->fy;
    p->fx = clamp30(fx);
    p->fy = clamp30(fy);
    return 0;
}

int lua_playerdamage(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    int amount = abs_amount(lua_checkint(L, 2));
    if (p) write_amount(40, *p, amount);
    return 0;
}

int lua_playerheal(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    int amount = abs_amount(lua_checkint(L, 2));
    if (p) write_amount(41, *p, amount);
    return 0;
}

// playerposition(player, x, y): held to the range the record appliers keep
// positions in, so later truncations of it stay defined.
int lua_playerposition(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    double x = lua_checkreal(L, 2), y = lua_checkreal(L, 3);
    if (lua_refuse_local("playerposition") || !p) return 0;
    float nx = (float)std::clamp(x, -(double)Tfb::kMaxPos, (double)Tfb::kMaxPos);
    float ny = (float)std::clamp(y, -(double)Tfb::kMaxPos, (double)Tfb::kMaxPos);
    if (nx != p->x || ny != p->y) {
        p->actualmovement = std::max(p->actualmovement, 3);
        p->movementinrow = 5;
    }
    p->x = nx;
    p->y = ny;
    collide_update();
    return 0;
}

int lua_playercontrol(lua_State* L) {
    int v = lua_checkint(L, 1);
    if (!lua_refuse_local("playercontrol")) lua_allowplayercontrol = v != 0 ? 1 : 0;
    return 0;
}

// playerstate(player, code, value): record 43.
int lua_playerstate(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    int code = lua_checkint(L, 2), value = lua_checkint(L, 3) != 0 ? 1 : 0;
    if (p && turn_owner() && Tfb::fits(4)) {
        Tfb::wbyte(43);
        Tfb::wbyte(p->id & 0xFF);
        Tfb::wbyte(code & 0xFF);
        Tfb::wbyte(value);
        Tfb::copyloc(4);
    }
    return 0;
}

// playerswitch(player): record 44.
int lua_playerswitch(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    if (p && turn_owner() && Tfb::fits(2)) {
        Tfb::wbyte(44);
        Tfb::wbyte(p->id & 0xFF);
        Tfb::copyloc(2);
    }
    return 0;
}

int lua_playerforceframe(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    int64_t frame = std::llabs((int64_t)lua_checkint(L, 2));
    if (p && frame <= 11) p->forceframe = (int)frame;
    return 0;
}

int lua_playerweaponswitch(lua_State* L) {
    int v = lua_checkint(L, 1);
    if (!lua_refuse_local("playerweaponswitch")) lua_allowweaponswitch = v != 0 ? 1 : 0;
    return 0;
}

int lua_getplayerx(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    lua_pushnumber(L, p ? p->x : 0);
    return 1;
}

int lua_getplayery(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    lua_pushnumber(L, p ? p->y : 0);
    return 1;
}

// The remainder keeps wpnrot's sign: a player facing left aims with
// negative angles.
int lua_getplayerrotation(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    return push_int(L, p ? p->wpnrot % 360 : 0);
}

int lua_getplayerdirection(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    return push_int(L, p ? p->dir : 0);
}

int lua_getplayerhealth(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    return push_int(L, p ? p->health : 0);
}

int lua_getplayeraction(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    return push_int(L, p ? p->action : 0);
}

int lua_getplayerxspeed(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    lua_pushnumber(L, p ? p->fx : 0);
    return 1;
}

int lua_getplayeryspeed(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    lua_pushnumber(L, p ? p->fy : 0);
    return 1;
}

int lua_getplayerstate(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    int code = lua_checkint(L, 2);
    int v = 0;
    if (p) switch (code) {
            case 1: v = p->state_poisoned; break;
            case 2: v = p->state_confused; break;
            case 4: v = p->state_frozen; break;
            case 8: v = p->state_sleeping; break;
            case 16: v = p->state_invisible; break;
            default: break;
        }
    return push_int(L, v);
}

int lua_getplayerteam(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    auto t = p ? Tteam::get(p->team) : nullptr;
    return push_int(L, t ? t->id : 0);
}

int lua_getplayeralliance(lua_State* L) {
    auto p = lua_checkplayer(L, 1);
    auto t = p ? Tteam::get(p->team) : nullptr;
    return push_int(L, t ? t->color + 1 : 0);
}

int lua_getplayercontrol(lua_State* L) { return push_int(L, lua_allowplayercontrol); }
int lua_getplayerweaponswitch(lua_State* L) { return push_int(L, lua_allowweaponswitch); }

// getplayerweapon(): the acting player's weapon path, "" for none.
int lua_getplayerweapon(lua_State* L) {
    auto p = acting();
    std::string path;
    if (p && p->wpn >= 0 && (size_t)p->wpn < Tscro::weapon.size() && Tscro::weapon[(size_t)p->wpn])
        path = Tscro::weapon[(size_t)p->wpn]->path;
    lua_pushstr(L, path);
    return 1;
}
