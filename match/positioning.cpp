// Positioning: the manual placement of players before the first normal
// turn, handing the turn to another player of the team, and the cleaning of
// the local player name.
#include <algorithm>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/input.h"
#include "core/settings.h"
#include "core/text.h"
#include "match/game.h"
#include "match/replay.h"
#include "net/udp/packet.h"
#include "scripting/script_objects.h"
#include "world/netplayer.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/team.h"

namespace {

bool unplaced(const Tplayer& p) { return p.health == 0 && (int)p.x == -5000 && (int)p.y == -5000; }

void placement_message(const std::shared_ptr<Tudp_con>& con, int player, int x, int y) {
    auto pk = con->Createpacket(1, 0);
    pk->wbyte(100), pk->wbyte(4), pk->wbyte(player);
    pk->wfloat((float)x), pk->wfloat((float)y);
}

int probe(int x, int y) { return collide(gfx_pl_col, x, y, 0, nullptr, nullptr); }

// The spot under a click: the first surface at most 120 px below, then the
// highest free pixel within 15 px above the contact. False when none.
bool find_spot(int x, int& y) {
    int py = y - 30;
    if (probe(x, py) > 0) return false;
    for (int step = 0; step < 10; ++step) {
        py += 15;
        if (probe(x, py) <= 0) continue;
        for (int up = 0; up < 15; ++up) {
            py -= 1;
            if (probe(x, py) <= 0 && py > -12) {
                y = py;
                return true;
            }
        }
        return false;   // further steps land on the same point
    }
    return false;
}

}  // namespace

int game_starthealth(int health, int extra) {
    static const int bonus[10] = {0, 0, 0, 25, 50, 75, -25, -50, -75, 0};
    return std::clamp(health + (extra >= 0 && extra <= 9 ? bonus[extra] : 0), 1, 1000);
}

int game_positioningphase() {
    if (set[7] == 0) return 0;
    for (auto& p : Tplayer::list) {
        if (!unplaced(*p)) continue;
        auto t = Tteam::get(p->team);
        if (t && Tnetpl::get(t->netplayer)) return 1;
    }
    return 0;
}

int game_setposition(int player, int x, int y, int local) {
    if (local == 1) {
        if (!find_spot(x, y)) return 0;
        if (g_server != 0) {
            for (auto& np : Tnetpl::list)
                if (np->con) placement_message(np->con, player, x, y);
        } else {
            placement_message(Tudp_con::Get(g_server_ip, g_server_port, 1), player, x, y);
        }
    } else if (g_server != 0) {
        auto p = Tplayer::get(player);
        auto t = p ? Tteam::get(p->team) : nullptr;
        auto owner = t ? Tnetpl::get(t->netplayer) : nullptr;
        for (auto& np : Tnetpl::list)
            if (np->con && np != owner) placement_message(np->con, player, x, y);
    }
    auto p = Tplayer::get(player);
    auto t = p ? Tteam::get(p->team) : nullptr;
    if (p && t) {
        p->x = (float)x;
        p->y = (float)y;
        p->health = game_starthealth(set[0], t->extra);
        in_auto = 1;
        in_autotemp = 0;
        in_autotx = (int)((float)set_scrxh - (float)x);
        in_autoty = (int)((float)set_scryh - (float)y);
        if (auto f = Tp::Create(6, x, y, 0)) {
            f->sx = 0.8f, f->sy = 2.0f, f->rot = 0, f->a = 1, f->fa = 0.04f;
            f->r = 255, f->g = 255, f->b = 0;
        }
    }
    game_maxhealth();
    if (g_replay == 0) {
        auto b = CreateBank(10);
        b->PokeByte(0, 3);
        b->PokeByte(1, player & 255);
        b->PokeFloat(2, (float)x);
        b->PokeFloat(6, (float)y);
        Treplay::recordrawdata(b);
    }
    if (g_server != 0) game_turn_start(0, 1 - game_positioningphase());
    return 0;
}

int game_switchplayer(int player) {
    auto p = Tplayer::get(player);
    auto t = p ? Tteam::get(p->team) : nullptr;
    if (!p || p->health <= 0 || !t || t->id != g_turn_team) return 0;
    p->wpn = Tscro::primaryweapon;
    g_wpn_attacked = 0;
    hud_drawpos = hud_drawposset = hud_drawposx = hud_drawposy = 0;
    for (const char* name :
         {"weapon_charge", "weapon_mode", "weapon_shots", "weapon_timer", "weapon_x", "weapon_y", "weapon_position"})
        lua_setglobalint(name, 0);
    g_turn_player = p->id;
    return 0;
}

int game_checkplayername() {
    set_name = trimstr(set_name);
    if (set_name.compare(0, 3, "***") == 0) set_name.erase(0, 1);
    if (set_name.empty()) set_name = "Grombat";
    if (set_name.size() > 20) set_name = trimstr(set_name.substr(0, 20));
    return 0;
}
