// Player movement and physics: walking, jumping, the per-frame physics step
// with friction, sub-steps, water, landings, pushes, gravity and rest.
//
// Lockstep state: every machine runs these steps on the same 32-bit floats in
// the same order. Arithmetic stays in float (constants are float literals), the
// build keeps -ffp-contract=off so no fused multiply-add changes a rounding,
// and every real-to-int conversion truncates toward zero.
#include <algorithm>
#include <climits>
#include <cmath>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/random.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "platform/draw.h"
#include "world/collision.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/team.h"
#include "world/water.h"
#include "world/weapon.h"

namespace {

int trunc_int(float v) {
    if (!(v > -2e9f && v < 2e9f)) return v > 0 ? 2000000000 : -2000000000;
    return (int)v;
}

float friction() {
    switch (set[6]) {
        case 0: return 0.999f;
        case 1: return 0.99f;
        case 2: return 0.9f;
        case 3: return 0.45f;
        case 4: return 0.1f;
        default: return 0.9f;
    }
}

}  // namespace

int Tplayer::move(int direction, int steps) {
    if ((direction == 0 && dir == 1) || (direction != 0 && dir == -1)) {
        // Turning round takes the whole call; the aim is mirrored.
        wpnrot = (-wpnrot) % 360;
        dir = -dir;
        return 0;
    }
    walk(steps);
    idletimer = std::max(idletimer, 50);
    idle = 0;
    actualmovement = std::max(actualmovement, 3);
    movementinrow = 5;
    viewrequest();
    return 0;
}

int Tplayer::walk(int steps) {
    laststep = 5;
    if (++steptimer >= 5) {
        stepframe = 1 - stepframe;
        steptimer = 0;
    }
    for (int s = 0; s < steps; ++s) {
        x += (float)dir;
        bool placed = false;
        if (query(1) != 0) {
            // Standing: climb or descend up to 3 pixels, up first.
            for (int k = 1; k <= 3 && !placed; ++k) {
                if (query(-k) == 0) {
                    y = (float)(trunc_int(y) - k);
                    placed = true;
                } else if (query(k) == 0) {
                    y = (float)(trunc_int(y) + k);
                    placed = true;
                }
            }
        } else if (query(0) == 0) {
            placed = true;
        } else {
            for (int k = 1; k <= 3 && !placed; ++k)
                if (query(k) == 0) {
                    y = (float)(trunc_int(y) + k);
                    placed = true;
                }
        }
        if (!placed) {
            x -= (float)dir;
            break;
        }
    }
    return 0;
}

int Tplayer::jump1() {
    if (action != 0 || query(2) == 0) return 0;
    fx = 3.0f * (float)dir;
    fy = -3.0f;
    action = 10;
    return 0;
}

int Tplayer::jump2() {
    if (action != 0 || query(3) == 0) return 0;
    fx = -(float)dir;
    fy = -5.0f;
    action = 10;
    return 0;
}

int Tplayer::attack(int pressed) { return weapon_attack(*this, pressed); }

int Tplayer::update() {
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetAlpha(1);
    // A copy: nothing here should add or drop players, but a step must not
    // walk a list that changed under it.
    auto players = list;
    for (auto& p : players)
        if (p->id == g_turn_player) p->updateself();
    for (auto& p : players)
        if (p->id != g_turn_player) p->updateself();
    return 0;
}

namespace {

// Fall damage and its effects, shared by landings and side contacts.
void fall_damage(Tplayer& p, float v) {
    if (!(v > 8.0f) || set[5] <= 0) return;
    p.damage(set[5] == 3 ? p.health : (int)std::ceil(v - 8.0f), 1);
    play(sfx_splatter[0], 1.0f);
    int px = trunc_int(p.x), py = trunc_int(p.y + 5.0f);
    auto ring = Tp::Create(11, px, py, 0);
    ring->r = 255;
    ring->g = 0;
    ring->b = 0;
    Tp::Create(5, px, py, 0);
    if (set[5] == 2 && p.id == g_turn_player) g_turn_state = 3;
}

bool loud_landing(const Tplayer& p, float v) { return (v > 2.0f && p.action != 0) || (p.action == 0 && v > 5.0f); }

void drown(Tplayer& p) {
    auto own = Tteam::get(p.team);
    if (own) {
        stats_add(own->stats_dmg_suffered, p.health);
        stats_add(own->stats_deaths, 1);
    }
    if (auto turn = Tteam::get(g_turn_team)) {
        stats_add(turn->stats_dmg_caused, p.health);
        if (own && own->color == turn->color)
            stats_add(turn->stats_suicides, 1);
        else
            stats_add(turn->stats_kills, 1);
    }
    hud_flytext_add("-" + std::to_string(p.health), trunc_int(p.x), trunc_int(p.y - 40.0f), 0, 150, 255);
    p.health = INT_MIN;
    Tp::Create(9, trunc_int(p.x), trunc_int(p.y), 0);
    play(sfx_hitwater[0], 1.0f);
    collide_update();
    g_turn_idletimer = std::max(g_turn_idletimer, 50);
}

}  // namespace

int Tplayer::updateself() {
    if (health <= 0) return 0;
    if (firetimer > 0) firetimer--;
    const int was_idle = idle;
    idle = 0;
    if (idletimer > 0) idletimer--;
    if (actualmovement > 0) actualmovement--;
    const float x0 = x, y0 = y;
    const float f = friction();
    int n = trunc_int(std::max(fx, fy)) / 2;
    if (n < 1) n = 1;
    float sx = fx / (float)n, sy = fy / (float)n;

    if (was_idle == 1 && idletimer <= 0 && fx == 0.0f && fy == 0.0f) {
        idle = 1;
        // The player or object it stood on went away.
        if (dynamiccol == 1 && query(1) == 0) idle = 0;
    } else {
        dynamiccol = 0;
        int vertical = 1, horizontal = 1;
        bool drowned = false;
        for (int step = 0; step < n && !drowned; ++step) {
            if (vertical == 1) {
                y += sy;
                bool checked = false;
                if (y > (float)g_waterlevel) {
                    if (std::fabs(fx) > 1.5f * std::fabs(fy) && std::fabs(fx) > 8.0f && fy > 0.0f) {
                        // Skipping off the water.
                        fy = -fy;
                        sy = -sy;
                        play(sfx_splish, 1.0f);
                        Tp::Create(9, trunc_int(x), trunc_int(y), 0);
                    } else {
                        drown(*this);
                        drowned = true;
                        checked = true;
                    }
                }
                if (!checked) {
                    int c = query(0);
                    if (c > 1) dynamiccol = 1;
                    if (c >= 100 && c < 200 && action != 10) {
                        // Landing on a player pushes it.
                        if (auto other = get(c - 100)) {
                            other->fx = fx * 0.5f;
                            other->fy = fy;
                            other->idle = 0;
                        }
                        y -= sy;
                        fx *= f;
                        fy = 0.0f;
                        if (std::fabs(fx) <= 0.3f && sy > 0.0f) {
                            fx = 0.0f;
                            action = 0;
                            idle = 1;
                            horizontal = 0;
                        }
                        vertical = 0;
                    } else if (c != 0) {
                        if (health > 0) {
                            const float v = std::fabs(fy);
                            fall_damage(*this, v);
                            if (loud_landing(*this, v) && fy > 0.0f) {
                                if (y + 28.0f > (float)g_waterlevel) {
                                    play(sfx_hitwater[4], 1.0f);
                                    int r1 = Rand(1, 3), r2 = Rand(-5, 5);
                                    auto s = Tp::Create(9, trunc_int(x + (float)r2), trunc_int(y + 15.0f + (float)r1), 0);
                                    s->sx = (float)Rnd(0.9, 1.1);
                                    s->sy = s->sx / 2.0f;
                                } else {
                                    play(sfx_fall[Rand(0, 3)], 1.0f);
                                    int r1 = Rand(1, 3), r2 = Rand(-5, 5);
                                    auto d = Tp::Create(1, trunc_int(x + (float)r2), trunc_int(y + 15.0f + (float)r1), 1);
                                    d->sx = (float)Rnd(10, 12);
                                    d->sy = d->sx;
                                    d->a = (float)Rnd(0.7, 0.8);
                                }
                            }
                        }
                        y -= sy;
                        if (id == g_turn_player) {
                            fx = 0.0f;   // the turn player stops dead
                        } else {
                            fx *= f;
                        }
                        fy = 0.0f;
                        if (std::fabs(fx) <= 0.3f && sy > 0.0f) {
                            fx = 0.0f;
                            action = 0;
                            idle = 1;
                            horizontal = 0;
                        }
                        vertical = 0;
                    }
                }
            }
            if (drowned) break;
            if (horizontal == 1) {
                x += sx;
                int c = query(0);
                if (c > 1) dynamiccol = 1;
                if (c >= 100 && c < 200 && action != 10) {
                    if (auto other = get(c - 100)) {
                        other->fx = fx;
                        other->fy = fy;
                    }
                    x -= sx;
                    fx *= 0.7f;
                    horizontal = 0;
                } else if (c != 0) {
                    if (health > 0) {
                        const float v = std::fabs(fy);
                        fall_damage(*this, v);
                        if (loud_landing(*this, v)) play(sfx_fall[Rand(0, 3)], 1.0f);
                    }
                    x -= sx;
                    fx *= -0.5f;
                    horizontal = 0;
                }
            }
        }
        if (idle == 0) {
            fy = std::min(fy + 3.0f * g_gravity, 200.0f * g_gravity);
            fx *= 0.99f;
        }
    }
    if (x != x0 || y != y0) {
        if (movementinrow < 5) movementinrow++;
        actualmovement = std::max(actualmovement, 3);
    } else if (movementinrow > 0) {
        movementinrow--;
    }
    if (was_idle == 0 && idle == 1) g_turn_idletimer = std::max(g_turn_idletimer, 22);
    return 0;
}
