// Object behaviour: the per-frame step of every game object (fire, crates,
// items, medikits, mines, bear traps, script objects) and the supply drop.
//
// Every machine runs the same step on the same state, so motion, sinking,
// burning and the countdowns agree without messages. What only the machine
// that holds the turn may decide (collection, triggers, mine explosions,
// freeing a spent fire, supply drops) leaves it as a world-event record that
// the writer applies too, after its step, exactly as the others do: an object
// whose end is recorded moves on until then, and `written` keeps the record
// from being written twice.
#include <algorithm>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/random.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "terrain/edit.h"
#include "terrain/tiles.h"
#include "world/collision.h"
#include "world/explosion.h"
#include "world/frame_buffer.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/team.h"
#include "world/water.h"

int g_supply_lastspawn = 150;
int g_supply_turncount = 0;

namespace {

// Sub-steps beyond this many per frame are not taken: speeds from records are
// capped at 30 (15 sub-steps), but a script may set any speed.
constexpr int kMaxSubsteps = 1024;
// Fastest wind drift of a falling fire, pixels per frame.
constexpr float kMaxWind = 1000.0f;

int trunc_i(float v) { return tp_int(v); }

bool holds_turn() { return g_player == g_turn_netplayer; }

// n = trunc(max(fx, fy)) / 2, at least 1: the larger signed speed, not the
// larger magnitude.
int substeps(const Tobj& o) {
    float m = std::max(o.fx, o.fy);
    if (!(m == m)) return 1;
    m = std::clamp(m, -1e6f, 1e6f);
    int n = (int)m / 2;
    return std::clamp(n, 1, kMaxSubsteps);
}

// A record the writer applies too: written whole or not at all.
template <class F>
bool record(int n, F&& fields) {
    if (!Tfb::fits(n)) return false;
    fields();
    Tfb::copyloc(n);
    return true;
}

void write72(Tobj& o) {
    if (o.written) return;
    if (record(3, [&] { Tfb::wbyte(72), Tfb::wshort(o.id & 0xFFFF); })) o.written = 1;
}

void hitwater_sound() {
    int count = (int)(sizeof sfx_hitwater / sizeof sfx_hitwater[0]);
    play(sfx_hitwater[Rand(0, count - 1)], 1.0f);
}

// ---- Fire

// Burn contact with every living player in reach; charges drop on every
// machine alike (the test runs everywhere on the same state), only the
// decider writes the record that frees a spent fire.
void fire_burn(Tobj& o, int decide) {
    for (auto it = Tplayer::list.begin(); it != Tplayer::list.end();) {
        auto next = std::next(it);
        auto p = *it;
        if (p->health > 0 && std::abs(p->x - o.x) < 30 && std::abs(p->y - o.y) < 35) {
            if (p->state_frozen == 1) {
                p->state_frozen = 0;
                if (p->firetimer <= 0) play(sfx_steam, 1.0f);
            } else if (p->firetimer <= 0) {
                p->sync_damage(Rand(6, 7));
                float vy = -(float)Rnd(2, 4.5);
                float vx = (float)Rnd(-2, 2);
                p->sync_push(vx, vy);
                play(sfx_firehit, 1.0f);
            }
            p->firetimer = 18;
            p->idletimer = std::max(p->idletimer, 50);
            // A fire woken on one machine only would fall on it alone.
            o.idle = 0;
            if (o.data > 0) {
                o.data -= 1;
                if (o.data == 0 && decide == 1) write72(o);
            }
        }
        it = next;
    }
}

void fire_step(const Tobj::Ptr& op, int decide, bool burn) {
    Tobj& o = *op;
    const float g = g_gravity;
    if (o.idle == 0) {
        o.fy = std::min(o.fy + g, 30 * g);
        // The wind comes from records: bounded, so a crafted one cannot send
        // a fire to infinity or cost unbounded sub-steps.
        o.fx = o.mode == 0 && g_storm == g_storm ? std::clamp(g_storm * 20, -kMaxWind, kMaxWind) : 0.0f;
    }
    if (!(o.idle == 1 && o.fx == 0 && o.fy == 0)) {
        o.idle = 0;
        int n = substeps(o);
        float dx = o.fx / (float)n, dy = o.fy / (float)n;
        for (int i = 0; i < n; ++i) {
            o.x += dx;
            o.y += dy;
            if (o.y > (float)g_waterlevel) {
                play(sfx_steam, 1.0f);
                auto s = Tp::Create(1, trunc_i(o.x), trunc_i(o.y - 5), 0);
                s->fy = (float)Rnd(-0.5, -0.3);
                s->a = (float)Rnd(0.4, 0.8);
                s->sx = (float)Rnd(15, 25);
                s->sy = s->sx;
                s->fa = 0.01f;
                Tobj::unlist(op);
            } else if (collide(gfx_coldot2, trunc_i(o.x), trunc_i(o.y), 0, nullptr, nullptr) > 0) {
                o.x -= dx;
                o.y -= dy;
                o.fx = o.fy = 0;
                o.idle = 1;
                o.mode = 1;
                break;
            }
        }
    }
    // A fire gone out in the water burns nobody.
    if (burn && !o.unlisted) fire_burn(o, decide);
}

// Fades out after its last turn, then leaves a grey scorch mark.
void fire_burnout(const Tobj::Ptr& op) {
    Tobj& o = *op;
    o.alpha -= 0.007f;
    if (o.alpha >= 0) return;
    int grey = Rand(0, 50);
    float strength = (float)Rnd(0.4, 0.6);
    map_alphaimage(gfx_crater25, trunc_i(o.x - 13), trunc_i(o.y - 13), strength, grey, grey, grey);
    Tobj::unlist(op);
}

// ---- Crates, items, medikits

// Cap of a crate's fall speed, in units of g.
int fall_cap() { return map_ysize < 1000 ? 50 : map_ysize < 5000 ? 100 : 200; }

bool supply_hit(const Tobj& o) {
    int x = trunc_i(o.x), y = trunc_i(o.y);
    return collide_env(gfx_supply, x, y, 0) != 0 || collide_object(gfx_supply, x, y, 0, nullptr) != 0;
}

void landing_dust(const Tobj& o) {
    for (int k = 0; k < 3; ++k) {
        int py = trunc_i(o.y + 7 + (float)Rand(1, 3));
        int px = k == 0 ? trunc_i(o.x + (float)Rand(-1, 1))
                 : k == 1 ? trunc_i(o.x + (float)Rand(4, 7))
                          : trunc_i(o.x - (float)Rand(4, 7));
        auto d = Tp::Create(1, px, py, 1);
        d->sx = d->sy = (float)Rnd(10, 12);
        d->a = (float)Rnd(0.7, 0.8);
        if (k == 1) d->fx = (float)Rnd(1, 1.5);
        if (k == 2) d->fx = -(float)Rnd(1, 1.5);
    }
}

// The decider's collection: only the record. Removal, stock, messages and
// effects (and a trap crate's area damage) come when record 71 applies, on
// every machine alike. A collection that cannot happen writes nothing.
void collect_supply(Tobj& o, int pid) {
    auto p = Tplayer::get(pid);
    if (o.data >= 0 && o.data < script_weaponcount()) {
        if (!script_weaponinfo(o.data, nullptr, nullptr) || !p) return;
        auto team = Tteam::get(p->team);
        if (!team) return;
        if (record(6, [&] { Tfb::wbyte(71), Tfb::wshort(o.id & 0xFFFF), Tfb::wshort(o.data), Tfb::wbyte(team->id & 255); }))
            o.written = 1;
        return;
    }
    if (!p) return;
    auto team = Tteam::get(p->team);
    int team_id = team ? (team->id & 255) : 255;
    if (!record(6, [&] { Tfb::wbyte(71), Tfb::wshort(o.id & 0xFFFF), Tfb::wshort(65535), Tfb::wbyte(team_id); }))
        return;
    o.written = 1;
    int x = trunc_i(o.x), y = trunc_i(o.y);
    record(12, [&] { Tfb::wbyte(52), Tfb::wint(x), Tfb::wint(y), Tfb::wshort(20), Tfb::wbyte(1); });
    record(31, [&] {
        Tfb::wbyte(54), Tfb::wshort(91), Tfb::wint(x), Tfb::wint(y), Tfb::wfloat(0.8f);
        Tfb::wint(10), Tfb::wint(10), Tfb::wint(10), Tfb::wint(0);
    });
}

void collect_medikit(Tobj& o, int pid) {
    auto p = Tplayer::get(pid);
    if (!p || !Tfb::fits(6 + 7)) return;
    record(6, [&] { Tfb::wbyte(41), Tfb::wbyte(p->id & 255), Tfb::wint(set[15]); });
    record(7, [&] { Tfb::wbyte(75), Tfb::wshort(o.id & 0xFFFF), Tfb::wint(0); });
    o.written = 1;
}

void supply_step(const Tobj::Ptr& op, int decide) {
    Tobj& o = *op;
    const float g = g_gravity;
    o.turns = 5;
    o.idle = 0;
    const float cap = (float)fall_cap() * g;
    o.fy = std::min(o.fy + (o.typ == -5 ? g : 2 * g), cap);
    int n = substeps(o);
    float dx = o.fx / (float)n, dy = o.fy / (float)n;
    for (int i = 0; i < n; ++i) {
        o.x += dx;
        if (supply_hit(o)) {
            if (std::abs(o.fx) > 1) play(sfx_supplyland, 1.0f);
            o.x -= dx;
            o.fx = -0.3f * o.fx;
            dx = -0.3f * dx;
        }
        o.y += dy;
        if (o.y > (float)g_waterlevel) {
            // Every machine alike: no record.
            hitwater_sound();
            Tobj::unlist(op);
            continue;
        }
        if (decide == 1 && !o.written) {
            int pid = collide_player(gfx_supply, trunc_i(o.x), trunc_i(o.y), 0, nullptr);
            if (pid != 0) {
                if (o.typ == -5)
                    collect_medikit(o, pid);
                else
                    collect_supply(o, pid);
            }
        }
        if (supply_hit(o)) {
            o.y -= dy;
            if (o.fy > 1) {
                play(sfx_supplyland, 1.0f);
                landing_dust(o);
            }
            o.fx = o.fy = 0;
            o.idle = 1;
            break;
        }
    }
}

// ---- Mines and bear traps

// Motion, bouncing and sinking; true when the object sank this frame.
bool hazard_motion(const Tobj::Ptr& op) {
    Tobj& o = *op;
    const float g = g_gravity;
    o.turns = 5;
    o.idle = 0;
    o.fy = std::min(o.fy + g, 50 * g);
    o.dynamiccol = 0;
    bool sank = false;
    int n = substeps(o);
    float dx = o.fx / (float)n, dy = o.fy / (float)n;
    for (int i = 0; i < n; ++i) {
        o.x += dx;
        int c = collide(gfx_coldot3, trunc_i(o.x), trunc_i(o.y), 0, nullptr, nullptr);
        if (c > 1) o.dynamiccol = 1;
        if (c > 0) {
            if (std::abs(o.fx) > 1) play(sfx_bounce, 1.0f);
            o.x -= dx;
            o.fx = -0.3f * o.fx;
            dx = -0.3f * dx;
        }
        o.y += dy;
        c = collide(gfx_coldot3, trunc_i(o.x), trunc_i(o.y), 0, nullptr, nullptr);
        if (c > 1) o.dynamiccol = 1;
        if (c > 0) {
            if (std::abs(o.fy) > 1) play(sfx_bounce, 1.0f);
            o.y -= dy;
            o.fy = -0.3f * o.fy;
            dy = -0.3f * dy;
            o.fx = 0.85f * o.fx;
            dx = 0.85f * dx;
            if (std::abs(o.fx) < 0.3f && std::abs(o.fy) < 0.3f) {
                o.idle = 1;
                break;
            }
        }
        if (o.y > (float)(g_waterlevel + 5)) {
            if (o.data != 2001) {
                Tp::Create(9, trunc_i(o.x), trunc_i(o.y), 0);
                play(sfx_hitwater[1], 1.0f);
                o.data = 2001;
            }
            sank = true;
            // Freed only by the record, so it keeps sinking until then.
            if (holds_turn()) write72(o);
        }
    }
    return sank;
}

struct MineTable {
    int radius, damage, crater, image;
};

MineTable mine_table(int setting) {
    switch (setting) {
        case 0: return {65, 20, 20, 99};
        case 1: return {85, 35, 25, 99};
        case 2: return {105, 50, 30, 99};
        case 3: return {125, 65, 35, 98};
        case 4: return {145, 80, 40, 98};
        default: return {75, 50, 30, 99};
    }
}

int fuse_value(int setting) {
    switch (setting) {
        case 0: return 1000;
        case 1: return 1020;
        case 2: return 1040;
        case 3: return 1060;
        case 4: return 1080;
        case 5: return 1100;
        case 6: return 1000 + Rand(20, 60);
        case 7: return 1000 + Rand(0, 60);
        default: return 1000 + Rand(0, 100);
    }
}

// The first living player of the list within (dx, dy) of the object, strict.
Tplayer::Ptr player_near(const Tobj& o, float rx, float ry) {
    for (auto& p : Tplayer::list)
        if (p->health > 0 && std::abs(o.x - p->x) < rx && std::abs(o.y - p->y) < ry) return p;
    return nullptr;
}

void mine_explode(Tobj& o) {
    const MineTable t = mine_table(set[12]);
    int x = trunc_i(o.x), y = trunc_i(o.y);
    arealdamage(x, y, t.radius, t.damage);
    record(12, [&] { Tfb::wbyte(52), Tfb::wint(x), Tfb::wint(y), Tfb::wshort(t.crater), Tfb::wbyte(1); });
    record(31, [&] {
        Tfb::wbyte(54), Tfb::wshort(t.image), Tfb::wint(x), Tfb::wint(y), Tfb::wfloat(0.8f);
        Tfb::wint(10), Tfb::wint(10), Tfb::wint(10), Tfb::wint(0);
    });
    write72(o);
}

void mine_step(const Tobj::Ptr& op, int decide) {
    Tobj& o = *op;
    if (hazard_motion(op)) return;
    if (o.data >= 1 && o.data <= 899) {
        o.data -= 1;
        o.idle = 0;
        g_turn_idletimer = std::max(g_turn_idletimer, 50);
    } else if (o.data <= 0) {
        if (decide == 1 && g_turn_frames % 5 == 0 && player_near(o, 30, 30)) {
            o.idle = 0;
            int fuse = fuse_value(set[10]);
            record(7, [&] { Tfb::wbyte(75), Tfb::wshort(o.id & 0xFFFF), Tfb::wint(fuse); });
        }
    } else if (o.data >= 900 && o.data <= 1999) {
        o.idle = 0;
        o.data -= 1;
        if (o.data % 10 == 0) {
            play(sfx_minebeep, 1.0f);
            o.alpha = 1;
        }
        if (o.data <= 1000 && decide == 1 && !o.written) {
            int duds = set[9];
            if (duds > 0 && Rand(1, 10) <= duds / 10)
                record(7, [&] { Tfb::wbyte(75), Tfb::wshort(o.id & 0xFFFF), Tfb::wint(2000); });
            else
                mine_explode(o);
        }
    }
}

void trap_step(const Tobj::Ptr& op, int decide) {
    Tobj& o = *op;
    if (hazard_motion(op)) return;
    if (o.data == 0) {
        if (decide == 1 && g_turn_frames % 3 == 0) {
            if (auto p = player_near(o, 15, 20)) {
                o.idle = 0;
                record(7, [&] { Tfb::wbyte(75), Tfb::wshort(o.id & 0xFFFF), Tfb::wint(2000); });
                p->sync_damage(30);
            }
        }
    } else if (o.data < 2000) {
        o.idle = 0;
        o.data -= 1;
    } else {
        o.idle = 0;
        o.alpha -= 0.03f;
        if (holds_turn() && o.alpha < 0) write72(o);
    }
}

// ---- Supply drop

bool cap_allows(int s, int count) {
    return (s == 1 && count < 1) || (s >= 2 && count < 2) || (s == 4 && count < 3);
}

bool something_to_give() {
    auto team = Tteam::get(g_turn_team);
    if (!team) return false;
    int n = std::min(script_weaponcount(), 256);
    for (int i = 1; i < n; ++i)
        if (script_weaponinfo(i, nullptr, nullptr) && script_weaponchance(i) > 0 && team->wamount[i] != 100)
            return true;
    return false;
}

bool drop_spot_ok(int x) {
    for (auto& o : Tobj::list)
        if ((o->typ == -2 || o->typ == -5) && std::abs(o->x - (float)x) < 30) return false;
    for (auto& p : Tplayer::list)
        if (p->health > 0 && std::abs(p->x - (float)x) < 45) return false;
    if (collide_env(gfx_supply, x, 6, 0)) return false;
    for (int y = 6; y <= g_waterlevel; y += 16)
        if (collide_env(gfx_supply, x, y, 0)) return true;
    return false;
}

void supply_drop() {
    const int s = set[3];
    g_supply_lastspawn -= 1;
    if (g_supply_lastspawn > -50) return;
    g_supply_lastspawn = -1;
    if (!cap_allows(s, g_supply_turncount)) return;
    int roll;
    switch (s) {
        case 1: roll = Rand(1, std::max(20, 2 * set_roundtime_tmp)); break;
        case 2: roll = Rand(1, std::max(10, set_roundtime_tmp)); break;
        case 3: roll = Rand(1, 9); break;
        case 4: roll = Rand(1, 5); break;
        default: return;
    }
    if (roll != 1) return;
    // Whatever follows, even with nothing to give (a later roll may still
    // choose a medikit).
    g_supply_lastspawn = 250;
    int m = Tobj::counttype(-5);
    bool medikit = false;
    switch (set[14]) {
        case 1: medikit = m < 1 && Rand(1, 30) == 1; break;
        case 2: medikit = m < 2 && Rand(1, 20) == 1; break;
        case 3: medikit = m < 5 && Rand(1, 2) == 1; break;
        default: break;
    }
    if (Tobj::counttype(-2) >= set[16]) return;
    if (!medikit && !something_to_give()) return;
    for (int tries = 0; tries < 10; ++tries) {
        int x = Rand(0, map_xsize);
        if (!drop_spot_ok(x)) continue;
        g_supply_turncount += 1;
        int k = medikit ? -5 : -2;
        int data = Tobj::getdata(k);
        if (!Tfb::fits(24)) return;
        int id = Tobj::getfreeid(0);
        if (id == 0) return;
        record(24, [&] {
            Tfb::wbyte(70), Tfb::wint(k), Tfb::wint(x), Tfb::wint(-150), Tfb::wint(data);
            Tfb::wshort(id), Tfb::wbyte(1), Tfb::wint(0);
        });
        return;
    }
}

}  // namespace

int Tobj::update(int decide) {
    burntimer += 1;
    if (burntimer >= 20) burntimer = 0;
    const bool burn = burntimer == 0;
    // Over a copy of the handles: objects leave the list during their own
    // step (and script callbacks may free others, which are then skipped).
    const std::vector<Ptr> walk(list.begin(), list.end());
    for (const Ptr& o : walk) {
        if (o->unlisted) continue;
        if (o->age < 5000) o->age += 1;
        if (o->turns <= 0) {
            if (o->typ == -1) fire_burnout(o);
            continue;
        }
        switch (o->typ) {
            case -1: fire_step(o, decide, burn); break;
            case -2:
            case -5:
            case -7: supply_step(o, decide); break;
            case -3: mine_step(o, decide); break;
            case -4: trap_step(o, decide); break;
            case -6: break;
            default:
                if (o->typ > 0) o->idle = lua_object_update(o->typ, o->id, o->x, o->y) == 1 ? 0 : 1;
                break;
        }
    }
    if (decide == 1 && g_turn_state <= 2 && menu != kMenuMission && set[3] > 0) supply_drop();
    return 0;
}
