// Players: the list and ids, whole-list queries, status bits, spawning and the
// writers of the damage and push records.
#include "world/player.h"

#include "core/catalogue.h"
#include "core/input.h"
#include "core/random.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/system.h"
#include "terrain/tiles.h"
#include "world/collision.h"
#include "world/frame_buffer.h"
#include "world/team.h"

std::list<Tplayer::Ptr> Tplayer::list;

namespace {

[[noreturn]] void fatal(const std::string& text) {
    Notify(text, true);
    End(1);
}

int trunc_int(float v) {
    // Positions are clamped far inside int range; the guard keeps a stray value
    // from an undefined conversion.
    if (!(v > -2e9f && v < 2e9f)) return v > 0 ? 2000000000 : -2000000000;
    return (int)v;
}

}  // namespace

Tplayer::Ptr Tplayer::add(int id, int team) {
    if (id > 0 && get(id)) fatal("FATAL ERROR: PLAYER WITH ID " + std::to_string(id) + " ALREADY EXISTS!");
    auto p = std::make_shared<Tplayer>();
    list.push_back(p);
    if (id == 0) {
        for (int k = 1; k <= 255; ++k)
            if (!get(k)) {
                p->id = k;
                break;
            }
    } else {
        p->id = id;
    }
    if (p->id == 0) {
        list.pop_back();
        fatal("FATAL ERROR: FAILED TO ASSIGN ID TO PLAYER");
    }
    p->forceframe = -1;
    p->team = team;
    p->wpn = script_primaryweapon();
    return p;
}

Tplayer::Ptr Tplayer::add_received(int id, int team) {
    if (id < 1 || id > 99) {
        debugwrite("received player id " + std::to_string(id) + " outside 1..99: player skipped");
        return nullptr;
    }
    if (get(id)) {
        debugwrite("received player id " + std::to_string(id) + " twice: player skipped");
        return nullptr;
    }
    return add(id, team);
}

Tplayer::Ptr Tplayer::get(int id) {
    for (auto& p : list)
        if (p->id == id) return p;
    return nullptr;
}

int Tplayer::allidle() {
    for (auto& p : list) {
        if (p->health <= 0) continue;
        if (p->idle == 0 || p->idletimer > 0) return 0;
    }
    return 1;
}

int Tplayer::getstates() const {
    return state_poisoned + 2 * state_confused + 4 * state_frozen + 8 * state_sleeping + 16 * state_invisible;
}

int Tplayer::setstates(int bits) {
    state_poisoned = (bits & 1) ? 1 : 0;
    state_confused = (bits & 2) ? 1 : 0;
    state_frozen = (bits & 4) ? 1 : 0;
    state_sleeping = (bits & 8) ? 1 : 0;
    state_invisible = (bits & 16) ? 1 : 0;
    return 0;
}

void Tplayer::viewrequest() {
    if (state_invisible == 1) {
        auto t = Tteam::get(team);
        if (!t || t->netplayer != g_player) return;
    }
    in_autotemp = 1;
    in_autotempx = trunc_int((float)set_scrxh - x);
    in_autotempy = trunc_int((float)set_scryh - y);
}

int Tplayer::scrolltocurrent() {
    if (auto p = get(g_turn_player)) p->viewrequest();
    return 0;
}

int Tplayer::query(int dy) const { return collide(gfx_pl_col, trunc_int(x), trunc_int(y) + dy, 0, this, nullptr); }

int Tplayer::sync_damage(int amount) {
    if (g_player != g_turn_netplayer || health <= 0 || amount <= 0 || !Tfb::fits(6)) return 0;
    Tfb::wbyte(40);
    Tfb::wbyte(id & 255);
    Tfb::wint(amount);
    Tfb::copyloc(6);
    return 0;
}

int Tplayer::sync_push(float pfx, float pfy) {
    if (g_player != g_turn_netplayer || !Tfb::fits(18)) return 0;
    Tfb::wbyte(73);
    Tfb::wbyte(id & 255);
    Tfb::wfloat(x);
    Tfb::wfloat(y);
    Tfb::wfloat(pfx);
    Tfb::wfloat(pfy);
    Tfb::copyloc(18);
    return 0;
}

int Tplayer::randomspawn() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        int px = Rand(0, (map_xsize - 30) / 10) * 10;
        int py = Rand(0, (map_ysize - 30) / 10) * 10;
        if (collide(gfx_pl_col, px, py, 0, nullptr, nullptr) != 0) continue;
        for (int down = 0; down < 15; ++down) {
            py += 10;
            if (collide(gfx_pl_col, px, py, 0, nullptr, nullptr) != 1) continue;
            for (int up = 0; up < 15; ++up) {
                py -= 1;
                if (collide(gfx_pl_col, px, py, 0, nullptr, nullptr) == 0) {
                    x = (float)px;
                    y = (float)py;
                    return 1;
                }
            }
        }
    }
    return 0;
}

int Tplayer::settoground(int distance) {
    int x0 = trunc_int(x);
    int from = trunc_int(y + 1.0f), to = trunc_int(y + (float)distance);
    for (int yy = from; yy <= to; ++yy)
        if (collide(gfx_pl_col, x0, yy, 0, this, nullptr) == 1) {
            y = (float)(yy - 1);
            return 0;
        }
    return 0;
}

int Tplayer::turnaction() {
    auto p = get(g_turn_player);
    if (!p || p->health <= 0 || p->action == 1 || p->action == 10) return 0;
    if (p->fy >= 5.0f || p->fy <= -5.0f) {
        p->action = 1;
        p->actionpass = 1;
    }
    return 0;
}
