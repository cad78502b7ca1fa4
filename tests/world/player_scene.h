// A recorded scene for the player determinism checks: two players on a floor
// with a ledge, random keys for the turn player and push records for both, fed
// through the frame buffer as a follower applies them. The trace of every
// player's floats (as bits), health and action after each frame is folded into
// one 64-bit hash. No test framework here: the -O0 and -O2 trace programs
// build it too.
#pragma once

#include "tests/support/builtins.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "match/game.h"
#include "platform/bank.h"
#include "platform/image.h"
#include "terrain/edit.h"
#include "terrain/tiles.h"
#include "world/frame_buffer.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/team.h"
#include "world/water.h"

namespace scene {

inline void put_f32(std::vector<uint8_t>& b, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    for (int i = 0; i < 4; ++i) b.push_back((uint8_t)(v >> (8 * i)));
}

// The frames of the scene: key bytes and push records from a fixed seed.
struct Frame {
    int key;
    std::vector<uint8_t> data;
};
inline std::vector<Frame> frames(int count, uint32_t seed) {
    std::mt19937 gen(seed);
    std::vector<Frame> out;
    int held = 0;
    for (int i = 0; i < count; ++i) {
        Frame f{0, {}};
        if (gen() % 12 == 0) held = (int)(gen() % 4);   // 0 none, 1 left, 2 right
        f.key = held == 1 ? 1 : held == 2 ? 2 : 0;
        if (gen() % 40 == 0) f.key |= 16;
        if (gen() % 60 == 0) f.key |= 32;
        if (gen() % 25 == 0) {
            int id = 1 + (int)(gen() % 2);
            float x = 100.0f + (float)(gen() % 200), y = 300.0f + (float)(gen() % 200);
            float fx = (float)((int)(gen() % 1300) - 650) / 100.0f, fy = (float)((int)(gen() % 1800) - 1200) / 100.0f;
            f.data.push_back(73);
            f.data.push_back((uint8_t)id);
            put_f32(f.data, x);
            put_f32(f.data, y);
            put_f32(f.data, fx);
            put_f32(f.data, fy);
        }
        out.push_back(std::move(f));
    }
    return out;
}

inline void reset_world() {
    Tplayer::list.clear();
    Tteam::list.clear();
    Tobj::list.clear();
    Tpro::clear();
    Tp::clear();
    Tfb::reset();
    g_frame_data = CreateBank(0);
    g_replay = 0, g_replay_pause = 0;
    g_server = 1, g_player = 0, g_turn_netplayer = 0, g_mode = 1;
    g_turn_player = 1, g_turn_team = 0, g_turn_state = 1, g_turn_frames = 0, g_turn_idletimer = 0;
    lua_allowplayercontrol = 1;
    g_gravity = 0.1f;
    set[5] = 1;
    set[6] = 2;
    set_gore = 3;
    menu = 2;
    map_setup(4, 10, 1);   // water line at 990
    map_rect(0, 600, 400, 400, (int)0xFF808080u);
    map_rect(60, 520, 90, 10, (int)0xFF808080u);   // a ledge to fall from
    SetMaskColor(255, 0, 255);
    register_builtin_images();
    gfx_pl_col = LoadImage("incbin::incgfx/playercol.bmp", -1);
    if (gfx_pl_col) MidHandleImage(gfx_pl_col);
    Tteam::add(0, 0, "left", 0, 1, 0);
    Tteam::add(1, 0, "right", 1, 1, 0);
    auto a = Tplayer::add(1, 0);
    a->health = 100, a->x = 200, a->y = 540, a->dir = 1;   // falls onto player 2
    auto b = Tplayer::add(2, 1);
    b->health = 100, b->x = 200, b->y = 588, b->dir = -1;
    SeedRnd(1234);
}

inline void fold(uint64_t& h, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        h ^= (v >> (8 * i)) & 255;
        h *= 1099511628211ull;
    }
}

inline uint32_t bits(float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    return v;
}

// Runs the scene, drawing once every `per_draw` frames (0: never). Returns the
// hash of the trace; `actions` gets the turn player's action after each frame.
inline uint64_t run(int count, int per_draw, std::vector<int>* actions = nullptr) {
    reset_world();
    const std::vector<Frame> script = frames(count, 77);
    for (int i = 0; i < count; ++i) {
        BankPtr data;
        if (!script[(size_t)i].data.empty()) {
            data = CreateBank(0);
            data->Bytes() = script[(size_t)i].data;
        }
        Tfb::add(i, script[(size_t)i].key, data, Tfb::fin);
    }
    uint64_t h = 1469598103934665603ull;
    for (int i = 0; i < count; ++i) {
        Tfb::process();
        for (auto& p : Tplayer::list) {
            fold(h, bits(p->x));
            fold(h, bits(p->y));
            fold(h, bits(p->fx));
            fold(h, bits(p->fy));
            fold(h, (uint32_t)p->health);
            fold(h, (uint32_t)p->action);
        }
        if (actions) actions->push_back(Tplayer::get(1)->action);
        if (per_draw > 0 && i % per_draw == per_draw - 1) Tplayer::draw();
    }
    return h;
}

}  // namespace scene
