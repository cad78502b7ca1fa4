// The twin tests' hash of the shared world: what a turn holder and a follower
// must agree on after every frame. Left out, as the game lets them differ
// between machines: terrain colours, particles, scenery, the shared random
// state, and an object's anim, rot and alpha. A test with more shared state
// of its own (Lua globals of its scripts) adds it to the hasher after
// add_shared_world.
#pragma once

#include <cstdint>

#include "core/shared_state.h"
#include "golden_hash.h"
#include "terrain/tiles.h"
#include "world/objects.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/team.h"

using WorldHasher = GoldenHash;

struct WorldHashOptions {
    // Terrain solidity is the costly part; a long match hashes it now and then.
    bool terrain = true;
    // A map crate naming no content draws it from each machine's own
    // generator; a world holding such crates leaves crate contents out.
    bool crate_content = true;
    // The turn state and the idle count. Through the match step only the
    // turn holder counts the idle count down and walks the closing states
    // 100 and 101 (the others go from 99 to 102), so the match driver leaves
    // them out and adds the turn state its own way.
    bool turn_control = true;
};

inline void add_shared_world(WorldHasher& h, const WorldHashOptions& opt = {}) {
    if (opt.terrain)
        for (int tx = 0; tx < map_xtiles; ++tx)
            for (int ty = 0; ty < map_ytiles; ++ty) {
                const uint32_t* pix = map_tile_pixels(tx, ty, false);
                h.add(pix != nullptr);
                if (!pix) continue;
                uint64_t acc = 0;
                for (int i = 0; i < kTileSize * kTileSize; ++i) acc = acc * 31 + (pix[i] >> 24);
                h.add(acc);
            }
    for (auto& p : Tplayer::list) {
        h.add(p->id), h.add(p->health), h.add(p->x), h.add(p->y), h.add(p->fx), h.add(p->fy);
        h.add(p->dir), h.add(p->wpn), h.add(p->wpnrot), h.add(p->action), h.add(p->firetimer);
        h.add(p->getstates());
    }
    for (auto& o : Tobj::list) {
        h.add(o->id), h.add(o->typ), h.add(o->x), h.add(o->y), h.add(o->fx), h.add(o->fy);
        if (o->typ != -2 || opt.crate_content) h.add(o->data);
        // A fire's idle decides whether it moves; the others' only tells the
        // turn holder that the world rests (a trigger sets it there alone).
        if (o->typ == -1) h.add(o->idle);
        h.add(o->turns), h.add(o->mode), h.add(o->age);
    }
    h.add(Tpro::list.size());
    for (auto& p : Tpro::list) h.add(p->id), h.add(p->typ), h.add(p->active);
    h.add(g_waterlevel), h.add(g_waterlevel_change), h.add(g_storm);
    if (opt.turn_control) h.add(g_turn_state), h.add(g_turn_idletimer);
    h.add(g_turn_frames), h.add(g_wpn_attacked), h.add(g_endstep);
    h.add(lua_allowplayercontrol), h.add(lua_allowweaponswitch);
    // (g_supply_turncount is the deciding machine's own count.)
    for (auto& t : Tteam::list) h.bytes(t->wamount, 256), h.bytes(t->wlocked, 256);
}

inline uint64_t shared_world_hash(const WorldHashOptions& opt = {}) {
    WorldHasher h;
    add_shared_world(h, opt);
    return h.h;
}
