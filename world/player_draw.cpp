// Player drawing: bodies with team overlays, faces, accessories, snorkels and
// status glows, the animation counters, footsteps, the camera request and the
// turn weapon's draw callback.
//
// The pass runs on every match-step frame on every machine, drawn or not, so
// its counters and random draws advance alike everywhere. It writes no
// lockstep field: the fall rule that sets action lives in Tplayer::turnaction.
#include "core/catalogue.h"
#include "core/input.h"
#include "core/random.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "platform/draw.h"
#include "terrain/view.h"
#include "world/collision.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/team.h"
#include "world/water.h"

namespace {

int trunc_int(float v) {
    if (!(v > -2e9f && v < 2e9f)) return v > 0 ? 2000000000 : -2000000000;
    return (int)v;
}

bool owned_here(const Tplayer& p) {
    auto t = Tteam::get(p.team);
    return t && t->netplayer == g_player;
}

void footstep(Tplayer& p) {
    if (p.y + 28.0f > (float)g_waterlevel) {
        play(sfx_watermove, 1.0f);
        int ry = Rand(1, 3), rx = Rand(-5, 5);
        auto s = Tp::Create(9, trunc_int(p.x + (float)rx), trunc_int(p.y + 15.0f + (float)ry), 0);
        s->sx = (float)Rnd(0.4, 0.6);
        s->sy = s->sx / 15.0f;
    } else if (collide(gfx_pl_col, trunc_int(p.x), trunc_int(p.y) + 5, 0, &p, nullptr) != 0) {
        play(sfx_move[Rand(0, 2)], 1.0f);
        int ry = Rand(1, 3), rx = Rand(-5, 5);
        auto d = Tp::Create(1, trunc_int(p.x + (float)rx), trunc_int(p.y + 15.0f + (float)ry), 1);
        d->sx = (float)Rnd(5, 8);
        d->sy = d->sx;
        d->a = (float)Rnd(0.4, 0.6);
    }
}

void face_cycle(Tplayer& p) {
    if (--p.facestay > 0) return;
    if (p.facenext == 0) {
        p.face = 0;
        p.facestay = Rand(1, 6) * 25;
        p.facenext = 1;
        return;
    }
    int r = Rand(0, 13);
    p.facenext = 0;
    if (r == 0) {
        p.face = 0;
        p.facestay = Rand(1, 6) * 25;
        p.facenext = 1;
    } else if (r <= 9) {
        p.face = 1;
        p.facestay = Rand(10, 20);
    } else if (r <= 12) {
        p.face = r - 8;
        p.facestay = Rand(2, 5) * 50;
    } else {
        p.face = 5;
        p.facestay = Rand(1, 2) * 25;
    }
}

void flare(int r, int g, int b, float alpha, float scx, float scy, float x, float y) {
    SetBlend(LIGHTBLEND);
    SetColor(r, g, b);
    SetAlpha(alpha);
    SetScale(scx, scy);
    DrawImage(gfx_flare[1], x, y, 0);
}

void status_effects(Tplayer& p, float sx, float sy) {
    const bool live = g_replay_pause == 0;
    if (p.state_poisoned == 1) {
        if (live && Rand(1, 10) == 1) {
            int rx = Rand(-4, 4);
            auto d = Tp::Create(2, trunc_int(p.x + (float)rx), trunc_int(p.y - 5.0f), 0);
            d->r = 0;
            d->g = (int)Rnd(100, 255);
            d->b = 0;
            d->fx = (float)Rnd(-0.1, 0.1);
            d->fy = (float)Rnd(-0.8, -0.2);
        }
        flare(0, 255, 0, 1.0f, 0.2f, 0.2f, sx, (float)trunc_int(map_y + p.y - 3.0f));
    }
    if (p.state_confused == 1 && live && Rand(1, 5) == 1) {
        double ry = Rnd(10, 20);
        int rx = Rand(-10, 10);
        auto d = Tp::Create(11, trunc_int(p.x + (float)rx), (int)((double)p.y - ry), 0);
        d->r = 255;
        d->g = (int)Rnd(50, 255);
        d->b = 0;
        d->sx = (float)Rnd(0.015, 0.03);
        d->sy = d->sx;
    }
    if (p.state_frozen == 1) {
        flare(255, 255, 255, 0.5f, 0.4f, 0.5f, sx, sy);
        DrawImage(gfx_flare[1], sx, sy, 0);
    }
    if (p.state_sleeping == 1) {
        p.face = 1;
        p.facestay = 10;
        p.facenext = 0;
        SetRotation(0);
        SetScale(1, 1);
        if (in_cursor)
            gui_stext("z", trunc_int(map_x + p.x + 15.0f), trunc_int(map_y + p.y - 20.0f), 0, 255, 255, 255, 1.0f);
        else
            gui_stext("Z", trunc_int(map_x + p.x + 17.0f), trunc_int(map_y + p.y - 25.0f), 0, 255, 255, 255, 1.0f);
        if (live && Rand(1, 7) == 1) {
            double ry = Rnd(10, 20);
            int rx = Rand(-10, 10);
            auto d = Tp::Create(11, trunc_int(p.x + (float)rx), (int)((double)p.y - ry), 0);
            d->r = 200;
            d->g = 200;
            d->b = 255;
            d->sx = (float)Rnd(0.015, 0.02);
            d->sy = d->sx;
        }
    }
    if (p.state_invisible == 1 && owned_here(p)) flare(160, 0, 255, 1.0f, 0.4f, 0.5f, sx, sy);
}

}  // namespace

int Tplayer::draw() {
    Ptr turn_player;
    int request = 0, rx = 0, ry = 0;
    auto players = list;   // a weapon or face step never changes the list, but a copy costs little
    for (auto& pp : players) {
        Tplayer& p = *pp;
        if (p.health <= 0) {
            p.idle = 1;
            continue;
        }
        const bool seen = p.state_invisible == 0 || owned_here(p);
        const bool onscreen = map_x + p.x > -50.0f && map_y + p.y > -50.0f && map_x + p.x < (float)(set_scrx + 50) &&
                              map_y + p.y < (float)(set_scry + 50);
        bool turn = p.id == g_turn_player;
        int f = 0;
        if (p.action == 1 || p.action == 10) {
            f = p.fy <= 0.0f ? 3 : 4;
            // The frame the fall rule set action still shows the weapon; it
            // shrinks from the next pass on.
            if (!(turn && p.actionpass == 1)) turn = false;
        } else if (turn) {
            if (p.fy >= 5.0f) {
                f = 4;
            } else if (p.fy <= -5.0f) {
                f = 3;
            } else {
                f = p.stepframe + 1;
                if (p.stepframe == 0 && p.steptimer == 4 && p.laststep == 5) footstep(p);
            }
        }
        p.actionpass = 0;
        if (p.laststep > 0 && --p.laststep == 0) p.stepframe = 0;
        if (p.forceframe > -1) {
            f = p.forceframe;
            p.forceframe = -1;
        }
        const float sx = (float)trunc_int(map_x + p.x), sy = (float)trunc_int(map_y + p.y);
        const bool body = onscreen && p.state_invisible == 0;
        if (body) {
            SetBlend(ALPHABLEND);
            SetScale((float)p.dir, 1);
            SetRotation(p.rot);
            SetColor(255, 255, 255);
            SetAlpha(1);
            DrawImage(gfx_pl, sx, sy, f);
            if (auto t = Tteam::get(p.team)) teamcolor(t->color);
            DrawImage(gfx_pl_t, sx, sy, f);
            SetColor(255, 255, 255);
            DrawImage(gfx_pl_f, sx, f == 2 ? sy + 1 : sy, p.face);
        }
        if (g_replay_pause == 0) face_cycle(p);
        const float ay = f == 2 ? sy - 3 : sy - 4;
        if (body) {
            SetColor(255, 255, 255);
            SetBlend(ALPHABLEND);
            const int frames = gfx_pl_accessory_head ? gfx_pl_accessory_head->Frames() : 38;
            if (p.accessory >= 1 && p.accessory <= frames) {
                DrawImage(gfx_pl_accessory_body, sx, ay, p.accessory - 1);
                DrawImage(gfx_pl_accessory_head, sx, ay, p.accessory - 1);
            }
            if (p.y > (float)(g_waterlevel - 15)) {
                if (p.facesnorkel < 60) p.facesnorkel++;
            } else if (p.facesnorkel > 0) {
                p.facesnorkel--;
            }
            if (p.facesnorkel > 50) {
                SetAlpha((float)(p.facesnorkel - 50) / 10.0f);
                DrawImage(gfx_pl_snorkel, sx, ay, 0);
            }
        }
        if (onscreen) status_effects(p, sx, sy);
        if (g_replay_pause == 0) {
            if (turn) {
                if (p.wpnsize < 1.0f) p.wpnsize += 0.2f;
            } else if (p.wpnsize > 0.0f) {
                p.wpnsize -= 0.2f;
            }
            if (p.wpnsize > 0.0f) {
                if (p.wpnrecoil > 0.0f) {
                    p.wpnrecoil -= 0.5f;
                    if (p.wpnrecoil < 0.0f) p.wpnrecoil = 0.0f;
                }
            } else {
                p.wpnrecoil = 0.0f;
            }
        }
        if (p.id == g_turn_player) turn_player = pp;
        if (g_replay_pause == 0 && seen && p.actualmovement > 0 && p.movementinrow >= 3) {
            const int tx = trunc_int((float)set_scrxh - p.x), ty = trunc_int((float)set_scryh - p.y);
            if (p.id == g_turn_player && p.idle == 0) {
                request = 1, rx = tx, ry = ty;
            } else if (p.idle <= 0 && request == 0 && g_turn_frames > 100) {
                request = 2, rx = tx, ry = ty;
            }
        }
    }
    if (turn_player && script_weaponinfo(turn_player->wpn, nullptr, nullptr)) {
        bool allowed = turn_player->state_invisible == 0 || owned_here(*turn_player);
        if (menu == 3) allowed = mission_weaponempty() == 0;
        if (allowed) {
            SetBlend(ALPHABLEND);
            SetRotation(0);
            SetScale(1, 1);
            SetColor(255, 255, 255);
            SetAlpha(1);   // scripts start from a known alpha, whatever glow came before
            lua_p = turn_player->id;
            lua_weapon_draw(turn_player->wpn);
        }
    }
    if (request == 1 || (request == 2 && in_autotemp != 1)) {
        in_autotemp = request;
        in_autotempx = rx;
        in_autotempy = ry;
    }
    return 0;
}
