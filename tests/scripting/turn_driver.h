// A headless turn as the match step drives it, for tests: the machine that
// holds the turn runs its own frames (AI callbacks, keys, world step, its own
// records after the step, the drawing pass) and records each frame's key byte
// and records; a follower rebuilt from the same start is fed only those frames
// through Tfb::process. Both hash their shared world after every frame.
//
// Interface functions still missing in this build get quiet stand-ins (the
// terrain ones write their records), so the game's own scripts run whole.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/resources.h"
#include "frontend/weaponset.h"
#include "scripting/script_loading.h"
#include "scripting/script_objects.h"
#include "scripting/turn_state.h"
#include "terrain/edit.h"
#include "world/weapon.h"
#include "world_script_fixture.h"
#include "../support/world_hash.h"

namespace turn_driver {

struct Frame {
    int frame, key;
    BankPtr data;
};

inline uint64_t world_hash() { return shared_world_hash(); }

// Stand-ins for interface functions not built in this build: terrain
// records 52 and 53 as the turn owner writes them, everything else quiet.
inline int stand_terrainexplosion(lua_State* L) {
    int x = lua_checkint(L, 1), y = lua_checkint(L, 2), r = lua_checkint(L, 3), style = lua_optint(L, 4, 0);
    if (r < 0) r = -r;
    if (g_player == g_turn_netplayer && Tfb::fits(12)) {
        Tfb::wbyte(52), Tfb::wint(x), Tfb::wint(y), Tfb::wshort(r), Tfb::wbyte(style);
        Tfb::copyloc(12);
    }
    return 0;
}
inline int stand_terrainimage(lua_State* L) {
    int img = lua_checkint(L, 1), x = lua_checkint(L, 2), y = lua_checkint(L, 3);
    int mode = lua_optint(L, 4, 0), rot = lua_optint(L, 5, 0);
    if (img >= 0 && Tres::getimage(img) && g_player == g_turn_netplayer && Tfb::fits(16)) {
        Tfb::wbyte(53), Tfb::wshort(img + 100), Tfb::wint(x), Tfb::wint(y), Tfb::wbyte(mode), Tfb::wint(rot);
        Tfb::copyloc(16);
    }
    return 0;
}
inline int stand_quiet(lua_State* L) {
    lua_pushinteger(L, 0);
    return 1;
}
inline void install_stand_ins() {
    for (const Tlua_function& f : lua_interface_functions()) {
        if (f.fn) continue;
        std::string n = f.name;
        lua_pushcfunction(lua, n == "terrainexplosion" ? stand_terrainexplosion
                               : n == "terrainimage"   ? stand_terrainimage
                                                       : stand_quiet);
        lua_setglobal(lua, f.name);
    }
}

// The match's start on every machine: the game's own scripts and weapon set,
// a flat map 800 x 500 with the ground at y 300, the shooter (player 1, team
// 0, net player 0) at x 300 and the target (player 2, team 1) at x 450.
inline void build_world() {
    static bool loaded = false;
    if (!loaded) {
        register_builtin_images();
        catalogue_load();
        loaded = true;
    }
    world_clear();
    host_settings_init();
    menu = 2;
    menu_wpns_loadset("weaponsets/GF Original.gfws");
    menu_wpns_listfromset();
    lua_weaponscripts();
    world_luaerrors.clear();
    lua_proceed = [](const std::string& text) {
        world_luaerrors.push_back(text);
        return 1;
    };
    install_stand_ins();
    map_setup(8, 5, 1);
    map_rect(0, 300, 800, 200, (int)0xFF806040u);
    g_gravity = 0.1f;
    g_storm = 0;
    g_waterlevel = g_waterlevel_change = 480;
    set[5] = 1;
    set[6] = 2;
    for (int t = 0; t < 2; ++t) {
        auto team = std::make_shared<Tteam>();
        team->id = t;
        team->color = t;
        team->netplayer = t;
        team->players = 1;
        for (int w = 1; w < 256; ++w) team->wamount[w] = Tscro::weapon[(size_t)w] ? 5 : 0;
        Tteam::list.push_back(team);
    }
    for (int i = 1; i <= 2; ++i) {
        auto p = Tplayer::add(i, i - 1);
        p->health = 100;
        p->x = i == 1 ? 300.0f : 450.0f;
        p->y = 287.5f;
        p->dir = i == 1 ? 1 : -1;
        p->wpn = 1;
    }
    g_player = g_turn_netplayer = 0;
    g_server = 1;
    g_turn_player = 1;
    g_turn_team = 0;
    g_turn_state = 1;
    g_turn_frames = 0;
    g_round = 1;
    g_mode = 1;
    lua_resetturn();
    lua_p = 1;
    g_frame_data = CreateBank(0);
    Tfb::loc = CreateBank(0);
}

// The drawing pass every machine runs once per match-step frame.
inline void draw_pass() {
    Tplayer::draw();
    Tpro::draw(1, 0);
}

struct Holder {
    bool ai = false;
    int aiframes = 0;

    // One frame: key is the human key byte (ignored in an AI turn).
    Frame step(int key) {
        g_frame_data = CreateBank(0);
        Tfb::loc = CreateBank(0);
        auto p = Tplayer::get(g_turn_player);
        const int prev[7] = {lua_keyup, lua_keydown, lua_keyleft, lua_keyright, lua_keyjump, lua_keybackjump,
                             lua_keyattack};
        if (ai) {
            lua_keyup = lua_keydown = lua_keyleft = lua_keyright = lua_keyjump = lua_keybackjump = lua_keyattack = 0;
            lua_timersetto = 0;
            hud_wpnsel = 0;
            lua_ai_call(g_turn_player, aiframes++ == 0 ? "ai_init" : g_turn_state == 1 ? "ai_move" : "ai_back");
            key = lua_keyleft | lua_keyright << 1 | lua_keyup << 2 | lua_keydown << 3 | lua_keyjump << 4 |
                  lua_keybackjump << 5 | lua_keyattack << 6;
            // The choice travels as record 10, applied here after the step too.
            if (p && hud_wpnsel > 0 && hud_wpnsel != p->wpn && Tfb::fits(2)) {
                Tfb::wbyte(10), Tfb::wbyte(hud_wpnsel);
                Tfb::copyloc(2);
            }
        }
        lua_keyup = (key & 4) ? 1 : 0;
        lua_keydown = (key & 8) ? 1 : 0;
        lua_keyleft = (key & 1) ? 1 : 0;
        lua_keyright = (key & 2) ? 1 : 0;
        lua_keyjump = (key & 16) ? 1 : 0;
        lua_keybackjump = (key & 32) ? 1 : 0;
        lua_keyattack = (key & 64) ? 1 : 0;
        if (p && g_turn_state < 3) keys(*p, key);
        lua_keyhitreleaseupdate(prev[0], prev[1], prev[2], prev[3], prev[4], prev[5], prev[6]);
        if (g_turn_state < 99) {
            Tobj::update(0);
            Tpro::draw(0, 1);
            Tplayer::update();
            if (g_terrainmodify > 0) g_terrainmodify--;
        }
        Frame out{g_turn_frames, key, CopyBank(*g_frame_data)};
        Tfb::process_additional(CopyBank(*Tfb::loc), p);
        Tplayer::turnaction();
        g_turn_frames++;
        draw_pass();
        return out;
    }

    // The turn player's keys, as a frame's key byte moves it everywhere.
    static void keys(Tplayer& p, int key) {
        const bool control = lua_allowplayercontrol == 1;
        const bool move = control && p.state_frozen == 0;
        if ((key & 1) && move) p.move(p.state_confused ? 1 : 0, 1);
        if ((key & 2) && move) p.move(p.state_confused ? 0 : 1, 1);
        if ((key & 4) && control) {
            p.wpnrot = p.dir == 1 ? std::max(0, (p.wpnrot - 1) % 360) : std::min(0, (p.wpnrot + 1) % 360);
        } else if ((key & 8) && control) {
            p.wpnrot = p.dir == 1 ? std::min(180, (p.wpnrot + 1) % 360) : std::max(-180, (p.wpnrot - 1) % 360);
        }
        if ((key & 16) && move) p.jump1();
        if ((key & 32) && move) p.jump2();
        p.attack((key & 64) && control ? 1 : 0);
    }
};

// A turn of `frames` frames. setup runs on both machines after the world is
// built (the weapon in hand, a chosen spot); keys gives the human key byte of
// each frame; after runs on the holder after each frame. Returns the first
// frame where the follower's world differs, -1 for none; the follower's
// world (the holder's, when they agree) is left as it ended.
struct Turn {
    std::function<void()> setup;
    std::function<int(int)> keys = [](int) { return 0; };
    bool ai = false;
    int frames = 400;
};

inline int run_twin(const Turn& t, const std::function<void(int)>& after = nullptr) {
    build_world();
    t.setup();
    Holder holder;
    holder.ai = t.ai;
    std::vector<Frame> frames;
    std::vector<uint64_t> hashes;
    for (int f = 0; f < t.frames; ++f) {
        frames.push_back(holder.step(t.keys(f)));
        hashes.push_back(world_hash());
        if (after) after(f);
    }
    // The follower: the same start, only the holder's frames.
    build_world();
    t.setup();
    g_player = 1;
    g_server = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        Tfb::add(frames[i].frame, frames[i].key, frames[i].data, Tfb::fin);
        Tfb::process();
        draw_pass();
        if (world_hash() != hashes[i]) return (int)i;
    }
    return -1;
}

}  // namespace turn_driver
