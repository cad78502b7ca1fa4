// The players' part of the in-game HUD: name and health labels, the turn
// player's crosshair, the action icon, the turn reminders and the placement
// cursor that takes the click for weapons placing something on the map.
//
// Runs once per match-step frame on every machine after the world is drawn.
// It writes no lockstep state: a clicked spot is handed to the match step
// (hud_drawposset 2), which records it for every machine.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/det_math.h"
#include "core/host_settings.h"
#include "core/input.h"
#include "core/resources.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "core/text.h"
#include "platform/draw.h"
#include "terrain/view.h"
#include "world/collision.h"
#include "world/frame_buffer.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/team.h"

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;
constexpr int kSetBuildBlock = 20;

int trunc_int(double v) {
    if (!(v > -2e9 && v < 2e9)) return v > 0 ? 2000000000 : -2000000000;
    return (int)v;
}

// The placement image, looked up without drawing from the shared generator
// (the blood stains give their first shape): only the controlling machine
// tests spots, and its own random choices should not depend on how often
// the cursor moved.
ImagePtr place_image() {
    int id = hud_drawposimg;
    if (id == 0) return nullptr;
    if (id <= -4 && id >= -6) {
        ImagePtr* stains[3] = {gfx_blood25, gfx_blood50, gfx_blood75};
        return stains[-id - 4][0];
    }
    return Tres::getimage(id);
}

// The turn reminder's yellow flash, made without Tp::Create's random start
// values: it appears on the turn owner's machine only.
void flash(const Tplayer& p) {
    auto& layer = Tp::list[0];
    if (layer.size() >= Tp::kLayerMax) return;
    auto f = std::make_shared<Tp>();
    f->typ = 6;
    f->x = (float)trunc_int(p.x);
    f->y = (float)trunc_int(p.y);
    f->sx = f->sy = 0.8f;
    f->rot = 0;
    f->a = 0.7f;
    f->fa = 0.04f;
    f->r = 255, f->g = 255, f->b = 0;
    f->frame = 1;
    layer.push_back(f);
}

struct Placement {
    const Tplayer& p;
    int control;
    int mx, my;       // the pointer in map pixels
    ImagePtr image;

    bool free_spot() const {
        if (!image) return true;
        if (hud_drawposcolterrain != 0 && collide_env(image, mx, my, 0) != 0) return false;
        if (hud_drawposcolplayers != 0 && collide_player(image, mx, my, 0, nullptr) != 0) return false;
        if (hud_drawposcolobjects != 0 && collide_object(image, mx, my, 0, nullptr) != 0) return false;
        return true;
    }
    bool in_range() const {
        return dist(in_mx, in_my, trunc_int(map_x + p.x), trunc_int(map_y + p.y)) <= (double)hud_drawposrange;
    }
    void click(bool valid) const {
        if (control != 1 || !valid || in_m1 == 0 || hud_currentmenu > 0 || hud_rmenu != 0) return;
        if (!(in_mx < set_scrx - 40 || in_my < set_scry - 184)) return;   // the corner block of HUD buttons
        hud_drawposset = 2;
        hud_drawposx = mx;
        hud_drawposy = my;
    }
    static void disc(float x, float y, int r) {
        float d = (float)(2 * (int64_t)r);
        DrawOval(x - (float)r, y - (float)r, d, d);
    }
    void range_disc() const {
        SetBlend(LIGHTBLEND);
        SetRotation(0);
        SetScale(1, 1);
        SetAlpha(0.15f);
        SetColor(0, 255, 0);
        disc(map_x + (float)trunc_int(p.x), map_y + (float)trunc_int(p.y), hud_drawposrange);
    }
    void border(int style) const {
        hud_drawmapborder = 1;
        hud_borderstyle = style;
    }
};

int block_radius() {
    switch (set[kSetBuildBlock]) {
        case 1: return 50;
        case 2: return 100;
        case 3: return 150;
        case 4: return 200;
        default: return 100;
    }
}

void placement(const Tplayer& p, const std::shared_ptr<Tteam>& team, int control) {
    Placement pl{p, control, trunc_int(in_mx - map_x), trunc_int(in_my - map_y), place_image()};
    const int mode = hud_drawpos;
    switch (mode) {
        case 1: case 2: case 5:
            if (mode == 1 && hud_drawposset == 1 && gfx_icon_x) {
                SetBlend(ALPHABLEND);
                SetRotation(0);
                SetScale(1, 1);
                SetAlpha(1);
                SetColor(255, 0, 0);
                DrawImage(gfx_icon_x, map_x + (float)hud_drawposx - (float)(gfx_icon_x->width / 2),
                          map_y + (float)hud_drawposy - (float)(gfx_icon_x->height / 2), 0);
            }
            if (mode == 5) {
                pl.border(1);
                hud_borderoffset = hud_drawposrange;
            }
            if (control == 1) pl.click(pl.free_spot());
            break;
        case 4:
            pl.range_disc();
            SetBlend(ALPHABLEND);
            SetAlpha(0.5f);
            if (control == 1) pl.click(pl.in_range() && pl.free_spot());
            break;
        case 3: case 6: {
            pl.border(0);
            pl.range_disc();
            const bool blocking = mode == 3 && set[kSetBuildBlock] > 0;
            const int b = block_radius();
            std::vector<const Tplayer*> blockers;
            if (blocking) {
                SetColor(255, 0, 0);
                SetAlpha(0.1f);
                for (auto& q : Tplayer::list) {
                    if (q->health <= 0 || q->state_invisible != 0) continue;
                    auto qt = Tteam::get(q->team);
                    if (!qt || !team || qt == team || qt->color == team->color) continue;
                    Placement::disc(map_x + (float)trunc_int(q->x), map_y + (float)trunc_int(q->y), b);
                    blockers.push_back(q.get());
                }
            }
            SetBlend(ALPHABLEND);
            SetAlpha(0.5f);
            if (control != 1) break;
            SetColor(255, 0, 0);
            bool valid = false;
            if (pl.in_range() && pl.free_spot()) {
                SetColor(0, 255, 0);
                valid = true;
            }
            for (const Tplayer* q : blockers) {
                if (dist(in_mx, in_my, trunc_int(map_x + q->x), trunc_int(map_y + q->y)) <= (double)b) {
                    SetColor(255, 0, 0);
                    valid = false;
                    break;
                }
            }
            if (pl.image) DrawImage(pl.image, (float)in_mx, (float)in_my, 0);
            pl.click(valid);
            break;
        }
        default:
            break;
    }
}

void labels(const Tplayer& p, const std::shared_ptr<Tteam>& team) {
    const int mode = hud_shownamehealth;
    if (mode != 1 && mode != 2) return;
    const std::string health = std::to_string(p.health);
    if (set_textshadows == 1) {
        SetColor(0, 0, 0);
        SetAlpha(0.5f);
        const int sx = trunc_int(map_x + p.x + 1);
        const int s1 = trunc_int(map_y + p.y + 25 + 1), s2 = trunc_int(map_y + p.y + 35 + 1);
        if (mode == 2) {
            DrawTextC(p.name, sx, s1);
            DrawTextC(health, sx, s2);
        } else {
            DrawTextC(health, sx, s1);
        }
    }
    SetAlpha(1);
    if ((p.id == g_turn_player && in_cursor) || !team)
        SetColor(255, 255, 255);
    else
        teamcolor(team->color);
    const int cx = trunc_int(map_x + p.x);
    const int y1 = trunc_int(map_y + p.y + 25), y2 = trunc_int(map_y + p.y + 35);
    if (mode == 2) {
        DrawTextC(p.name, cx, y1);
        DrawTextC(health, cx, y2);
    } else {
        DrawTextC(health, cx, y1);
    }
}

void reminders(const Tplayer& p) {
    if (g_turn_selfaction > 0) {
        --g_turn_selfaction;
        return;
    }
    if (g_turn_frames % 25 != 0 || g_turn_selfaction_done != 0) return;
    flash(p);
    if (g_server_hotseat == 0) hud_msg_add("Your Turn!", -1, -1, -1, -1);
    if (in_suspended == 0 && g_turn_frames % 100 == 0 && g_turn_frames > 250) play(sfx_v_yourturn, 1.0f);
}

}  // namespace

int Tplayer::drawhud(int control) {
    SetImageFont(font_small);
    auto players = list;
    for (auto& pp : players) {
        const Tplayer& p = *pp;
        if (p.health <= 0) continue;
        auto team = Tteam::get(p.team);
        const bool seen = p.state_invisible == 0 || (team && team->netplayer == g_player);
        const bool turn = p.id == g_turn_player;
        SetBlend(ALPHABLEND);
        SetRotation(0);
        SetScale(1, 1);

        if (turn && seen && hud_drawaim == 1) {
            hud_drawaim = 0;
            if (g_turn_state == 1 || g_turn_state == 2) {
                SetAlpha(1);
                SetColor(255, trunc_int(std::fabs(det_sin((in_ms / 3) * kDeg) * 255)), 0);
                const double rot = p.wpnrot * kDeg;
                const double cx = trunc_int(map_x + p.x + (double)hud_drawaimxo * p.dir + 50 * det_sin(rot)) + 0.5;
                const double cy = trunc_int(map_y + p.y + (float)hud_drawaimyo - 50 * det_cos(rot)) + 0.5;
                DrawImage(gfx_crosshair, (float)cx, (float)cy, 0);
            }
        }
        if (seen && menu != kMenuMission) labels(p, team);
        if (!turn) continue;

        if (team && g_replay == 0 && team->netplayer == g_player && menu != kMenuMission) reminders(p);
        if (Tfb::action > 0 && seen) {
            SetAlpha(1);
            SetBlend(ALPHABLEND);
            SetColor(255, 255, 255);
            DrawImage(gfx_action, map_x + p.x + 13, map_y + p.y - 35, 0);
        }
        if (hud_drawpos != 0 && g_replay == 0) {
            placement(p, team, control);
            hud_drawpos = 0;
        }
    }
    return 0;
}
