// Game-start placement: players on spawn points or random places, mines and
// bear traps on surface nodes, the shape map's leaves and fires.
#include "world/stuff_setup.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/input.h"
#include "core/random.h"
#include "core/shared_state.h"
#include "core/text.h"
#include "platform/system.h"
#include "terrain/nodes.h"
#include "terrain/shapes.h"
#include "terrain/spawns.h"
#include "terrain/tiles.h"
#include "world/objects.h"
#include "world/player.h"
#include "world/team.h"
#include "world/water.h"

namespace {

// The integer value of a spawn point's parameter ("" and text give 0).
int param_value(const Tmap_spawn& s) { return text_toint_saturating(s.getparam()); }

// Up to 1000 passes over the candidates in order, each drawing Rand(0, 2n)
// per candidate; the first that draws 0 is taken. Null when none is.
Tmap_spawn::Ptr draw_spawn(const std::list<Tmap_spawn::Ptr>& candidates) {
    const int n = (int)candidates.size();
    if (n == 0) return nullptr;
    for (int pass = 0; pass < 1000; ++pass)
        for (const auto& c : candidates)
            if (Rand(0, 2 * n) == 0) return c;
    return nullptr;
}

int hazard_count(int setting) {
    const int peak = Tmap_tn::peak;
    switch (setting) {
        case 1: return peak / 500;
        case 2: return peak / 300 + Rand(0, 1);
        case 3: return peak / 150 + Rand(0, 2);
        case 4: return peak / 50 + Rand(0, 2);
        default: return 0;
    }
}

// A surface node for a mine or trap: above the water, free of terrain and
// 40 pixels from every player (placed or not) and every object.
bool hazard_spot(int& x, int& y) {
    if (Tmap_tn::getrand() != 1) return false;
    const int rx = Tmap_tn::rx, ry = Tmap_tn::ry;
    if (ry >= g_waterlevel - 15) return false;
    if (collide(gfx_coldot3, rx, ry - 2, 0, nullptr, nullptr) != 0) return false;
    const float fx = (float)rx, fy = (float)(ry - 2);
    for (auto& p : Tplayer::list)
        if (std::abs(p->x - fx) < 40 && std::abs(p->y - fy) < 40) return false;
    for (auto& o : Tobj::list)
        if (std::abs(o->x - fx) < 40 && std::abs(o->y - fy) < 40) return false;
    x = rx;
    y = ry - 2;
    return true;
}

// Returns false once no id can be had: the block is full, so every later
// mine or trap would make nothing but another notice.
bool scatter(int typ, int setting) {
    const int n = hazard_count(setting);
    for (int i = 0; i < n; ++i)
        for (int tries = 0; tries < 100; ++tries) {
            int x, y;
            if (!hazard_spot(x, y)) continue;
            if (!Tobj::Create(typ, x, y, 0, -1, 0)) return false;
            break;
        }
    return true;
}

void name_player(Tplayer& p, const Tteam& team, int index) {
    if (index >= 0 && index <= 5) {
        std::vector<std::string> parts = text_split(team.playernames[(size_t)index], ",");
        p.name = trimstr(parts[0]);
        p.accessory = parts.size() >= 2 ? text_toint_saturating(parts[1]) : 0;
    } else {
        p.name = "Grombat";
        p.accessory = 0;
    }
    switch (team.extra) {
        case 3: p.health += 25; break;
        case 4: p.health += 50; break;
        case 5: p.health += 75; break;
        case 6: p.health -= 25; break;
        case 7: p.health -= 50; break;
        case 8: p.health -= 75; break;
        default: break;
    }
}

}  // namespace

int map_shapefires() {
    const int half = ImageWidth(gfx_tile[26]) / 2;
    for (const auto& s : Tmap_shape::list)
        if (s->id == 26)
            Tobj::Create(-1, (int)std::clamp<int64_t>((int64_t)s->x + half, INT32_MIN, INT32_MAX),
                         (int)std::clamp<int64_t>((int64_t)s->y + 2, INT32_MIN, INT32_MAX), -1, -1, 0);
    return 0;
}

int map_stuffsetup() {
    in_seed = MilliSecs();
    SeedRnd(in_seed);
    Tplayer::list.clear();

    std::vector<int> order;
    for (int t = 0; t <= 7; ++t)
        if (auto team = Tteam::get(t))
            for (int k = 0; k < team->players; ++k) order.push_back(t);
    if (order.size() > 1) {
        const int len = (int)order.size();
        for (int k = 0; k < 3 * len; ++k) {
            int a = Rand(0, len - 1), b = Rand(0, len - 1);
            if (a != b) std::swap(order[(size_t)a], order[(size_t)b]);
        }
    }
    // (No drawing-transform reset: collision takes rotation and scale as
    // arguments, never from the drawing state.)

    std::list<Tmap_spawn::Ptr> free_points;
    Tmap_spawn::preparespawns(free_points);
    std::array<int, 8> group_size{};
    int group_count = 0;
    for (const auto& s : free_points) {
        int g = param_value(*s);
        if (g < 0 || g > 7) continue;
        if (group_size[(size_t)g]++ == 0) ++group_count;
    }
    std::array<int, 8> team_group{};
    if (group_count >= 2)
        for (int t = 0; t <= 7; ++t) {
            team_group[(size_t)t] = -1;
            auto team = Tteam::get(t);
            if (!team) continue;
            const int r = Rand(0, 7);
            for (int k = 0; k < 8; ++k) {
                const int g = (k + r) % 8;
                if (group_size[(size_t)g] >= team->players) {
                    team_group[(size_t)t] = g + 1;
                    group_size[(size_t)g] = 0;
                    break;
                }
            }
        }

    std::array<int, 8> placed{};
    const int health = set[0], positioning = set[7];
    for (int t : order) {
        auto p = Tplayer::add(0, t);
        p->dir = 1;
        if (Rand(0, 1) == 1) p->dir = -1;
        p->wpnrot = p->dir * 90;
        p->health = health;
        if (auto team = Tteam::get(t)) name_player(*p, *team, placed[(size_t)t]);
        p->health = std::clamp(p->health, 1, 1000);
        if (positioning != 0) {
            p->x = p->y = -5000;
            p->health = 0;
            placed[(size_t)t] += 1;
            continue;
        }
        Tmap_spawn::Ptr point;
        if (!free_points.empty()) {
            if (group_count >= 2) {
                if (team_group[(size_t)t] > 0) {
                    std::list<Tmap_spawn::Ptr> candidates;
                    for (const auto& s : free_points)
                        if ((int64_t)param_value(*s) + 1 == team_group[(size_t)t]) candidates.push_front(s);
                    point = draw_spawn(candidates);
                }
            } else {
                point = draw_spawn(free_points);
            }
        }
        bool ok;
        if (point) {
            p->x = (float)point->x;
            p->y = (float)point->y;
            free_points.remove(point);
            ok = true;
        } else {
            ok = p->randomspawn() == 1;
        }
        placed[(size_t)t] += 1;
        if (!ok) return 0;
    }

    free_points.clear();
    Tobj_fake::list.clear();
    Tobj::list.clear();
    Tobj::firelist.clear();
    Tobj::hudlist.clear();
    const std::vector<std::string> type = text_split(map_type, "|");
    if (text_toint_wrapping(type[0]) != 3) Tmap_tn::setup(1);
    if (scatter(-3, set[8])) scatter(-4, set[13]);
    Tmap_shape::postperform_leaves();
    map_shapefires();
    return 1;
}
