// Player damage and death: the game mode's say, the fly text, the hurt face,
// the statistics, and the gore of a death.
#include <algorithm>

#include "core/catalogue.h"
#include "core/random.h"
#include "core/det_math.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "platform/draw.h"
#include "world/collision.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/team.h"

namespace {

constexpr double kRad = 3.14159265358979323846 / 180.0;

struct Gore {
    int drops, meat, dirt;
};

// Blood drops, meat and dirt per gore level; smoke and body parts follow from
// the level in the steps below.
Gore gore(int level) {
    switch (level) {
        case 0: return {0, 0, 0};
        case 1: return {20, 0, 0};
        case 2: return {40, 0, 6};
        case 3: return {80, 5, 9};
        case 4: return {120, 10, 13};
        case 5: return {200, 20, 17};
        default: return {40, 40, 41};
    }
}

// Smoke of one of the two kinds of a death, drawn around the body.
std::shared_ptr<Tp> smoke(const Tplayer& p, double& a) {
    a = Rand(0, 360);
    double ry = Rnd(-5, 5), rx = Rnd(-5, 5);
    double sa = det_sin(a * kRad), ca = det_cos(a * kRad);
    return Tp::Create(1, (int)((double)p.x + rx + 3.0 * sa), (int)((double)(p.y - 5.0f) + ry - 3.0 * ca), 0);
}

}  // namespace

int Tplayer::damage(int amount, int flag) {
    if (health <= 0 || amount <= 0) return 0;
    int decided = lua_gm_playerdamage(id, amount);
    if (decided == -1) return 0;
    if (decided > 0) amount = decided;
    const int shown = std::min(amount, health);
    hud_flytext_add("-" + std::to_string(shown), (int)x, (int)(y - 18.0f), 255, 0, 0);
    health -= amount;   // health > 0 and amount > 0: no overflow
    face = 5;
    facestay = Rand(20, 40);
    facenext = 0;
    auto own = Tteam::get(team);
    auto turn = flag == 1 ? Tteam::get(g_turn_team) : nullptr;
    if (own) stats_add(own->stats_dmg_suffered, shown);
    if (turn) stats_add(turn->stats_dmg_caused, shown);
    if (health > 0) return 0;

    const Gore g = gore(set_gore);
    for (int i = 0; i < g.drops; ++i) {
        double ry = Rnd(-5, 5), rx = Rnd(-5, 5);
        auto d = Tp::Create(4, (int)((double)x + rx), (int)((double)(y - 5.0f) + ry), 0);
        int a = Rand(1, 360);
        double s = Rnd(2, 10);
        d->fx = (float)(det_sin(a * kRad) * s);
        d->fy = (float)(det_cos(a * kRad) * s);
        if (Rand(1, 3) == 1) d->typ = 5;   // a drop that stains the map
    }
    if (set_gore > 1) {
        for (int i = 0; i < g.drops / 3; ++i) {
            double a;
            auto d = smoke(*this, a);
            double s = Rnd(0.5, 3);
            d->fx = (float)(det_sin(a * kRad) * s);
            d->fy = (float)(-det_cos(a * kRad) * s);
            d->a = (float)Rnd(0.4, 0.8);
            d->bloodcolor();
        }
        for (int i = 0; i < g.drops / 5; ++i) {
            double a;
            auto d = smoke(*this, a);
            double s = Rnd(0.4, 1.3);
            d->fx = (float)(det_sin(a * kRad) * s);
            d->fy = (float)(-det_cos(a * kRad) * s);
            d->a = (float)Rnd(0.4, 0.6);
            d->fa = (float)Rnd(0.0073, 0.0078);
            d->sx = d->sx * (float)Rnd(2.5, 3);
            d->sy = d->sx;
            d->fr = (float)Rnd(-2, 2);
            d->bloodcolor();
        }
    }
    if (own) teamcolor(own->color);
    int r, gr, b;
    GetColor(r, gr, b);
    if (set_gore > 1) {
        struct Part {
            int frame;
            float sx;
            bool dressed;
        };
        for (const Part& part : {Part{8, 0, true}, Part{9, 0, true}, Part{10, 0, false}, Part{10, -1, false},
                                 Part{11, 0, false}, Part{11, -1, false}}) {
            auto d = Tp::Create(10, (int)x, (int)y, 0);
            d->r = r;
            d->g = gr;
            d->b = b;
            d->frame = part.frame;
            if (part.dressed) d->data = accessory;
            if (part.sx != 0) d->sx = part.sx;
        }
    }
    auto scatter = [&](int kind, int count) {
        for (int i = 0; i < count; ++i) {
            double ry = Rnd(-5, 5), rx = Rnd(-5, 5);
            Tp::Create(kind, (int)((double)x + rx), (int)((double)y + ry), 0);
        }
    };
    if (set_gore > 2) scatter(27, g.meat);
    if (set_gore >= 2) scatter(28, g.dirt);
    play(sfx_splatter[Rand(0, 1)], 1.0f);
    if (own) stats_add(own->stats_deaths, 1);
    // A player whose team is gone counts as an enemy of the turn team.
    if (turn) stats_add(own && own->color == turn->color ? turn->stats_suicides : turn->stats_kills, 1);
    g_turn_idletimer = std::max(g_turn_idletimer, 150);
    collide_update();
    return 0;
}
