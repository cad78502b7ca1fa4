// Shared state for the world tests: a clean match world (players, teams,
// objects, net players, connections, frame lists, turn globals) on a small
// empty map, restored after each test.
#pragma once

#include <gtest/gtest.h>
#include <lua.hpp>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/services.h"
#include "core/shared_state.h"
#include "core/input.h"
#include "core/settings.h"
#include "frontend/hud/hud.h"
#include "frontend/screens/console.h"
#include "match/game.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/stream.h"
#include "scripting/lua_state.h"
#include "scripting/object_calls.h"
#include "scripting/script_objects.h"
#include "terrain/tiles.h"
#include "world/collision.h"
#include "world/frame_buffer.h"
#include "world/netplayer.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/team.h"
#include "world/water.h"

using Bytes = std::vector<uint8_t>;

// Script errors of the running test (the dialog texts), oldest first.
inline std::vector<std::string> world_luaerrors;

// The scripts' projectile functions as the tests need them (the scripting
// interface provides the real ones): createprojectile(type) gives the new id,
// freeprojectile(id), projectileid() the id of the running callback.
inline int world_createprojectile(lua_State* L) {
    auto p = Tpro::Create();
    p->typ = (int)luaL_checkinteger(L, 1);
    lua_pushinteger(L, p->id);
    return 1;
}
inline int world_freeprojectile(lua_State* L) {
    Tpro::Remove((int)luaL_checkinteger(L, 1));
    return 0;
}
inline int world_projectileid(lua_State* L) {
    lua_pushinteger(L, lua_pro);
    return 1;
}
inline void world_projectile_functions() {
    lua_pushcfunction(lua, world_createprojectile);
    lua_setglobal(lua, "createprojectile");
    lua_pushcfunction(lua, world_freeprojectile);
    lua_setglobal(lua, "freeprojectile");
    lua_pushcfunction(lua, world_projectileid);
    lua_setglobal(lua, "projectileid");
}
// A registry entry at slot i of table whose script table is path ("a.b").
inline void world_define(std::vector<std::shared_ptr<Tscro>>& table, int i, const std::string& path) {
    auto e = std::make_shared<Tscro>();
    e->path = path;
    e->name = path;
    e->index = i;
    for (size_t start = 0;;) {
        size_t dot = path.find('.', start);
        e->pathtable.push_back(path.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    table[(size_t)i] = e;
}

inline void world_clear() {
    Tplayer::list.clear();
    Tteam::list.clear();
    Tobj::list.clear();
    Tobj::firelist.clear();
    Tobj::hudlist.clear();
    Tobj_fake::list.clear();
    Tpro::clear();
    Tpro::nextid = 0;
    Tp::clear();
    TColDebug::list.clear();
    obj_notice_console = 0;
    g_shake = 0, g_replay_speed = 2, g_replay_timer = 0, g_turn_team = -1;
    set_gore = 3, set_particles = 2, set_bloodcolor = 0;
    Tnetpl::list.clear();
    Tudp_con::list.clear();
    Tfb::reset();
    g_frame_data = CreateBank(0);
    g_replay = 0, g_replay_pause = 0;
    g_replay_cbuffer = CreateBank(0);
    g_server = 1, g_player = 0, g_turn_netplayer = 0, g_mode = 1;
    g_turn = 0, g_round = 0, g_turn_player = 0, g_turn_state = 1, g_turn_frames = 0;
    g_turn_deadframes = 0, g_error_deadframes = 0, g_turn_idletimer = 0, g_terrainmodify = 0;
    g_matchlenght = 0, g_frame_move = 0, g_endstep = 0, g_wpn_attacked = 0;
    g_storm = 0, g_waterlevel = 0, g_waterlevel_change = 0;
    g_gravity = 0.1f;   // a match end in an earlier test sets it from the gravity table
    g_server_ip = 0x7F000001, g_server_port = 54321;
    lua_allowplayercontrol = 1;
    lua_keyup = lua_keydown = lua_keyleft = lua_keyright = lua_keyjump = lua_keybackjump = lua_keyattack = 0;
    lua_reset();
    world_luaerrors.clear();
    lua_proceed = [](const std::string& text) {
        world_luaerrors.push_back(text);
        return 1;
    };
    game_calls.clear();
    in_console.clear();
    gui_lobby_lines.clear();
    Thud_flytext::list.clear();
    Thud_chat::list.clear();
    Thud_msg::text.clear();
    gui_in_lobby_notify = 0;
    menu = 2;
    for (auto& w : Tscro::weapon) w = nullptr;
    for (auto& o : Tscro::obj) o = nullptr;
    for (auto& o : Tscro::projectile) o = nullptr;
    fb_trace = nullptr;
}

struct WorldTest : ::testing::Test {
    void SetUp() override {
        world_clear();
        map_setup(3, 3, 1);
    }
    void TearDown() override { world_clear(); }

    static BankPtr bank(const Bytes& b) {
        auto k = CreateBank(0);
        k->Bytes() = b;
        return k;
    }
    static std::shared_ptr<Tplayer> player(int id, int team, int health, float x, float y) {
        auto p = Tplayer::add(id, team);
        p->health = health;
        p->x = x;
        p->y = y;
        return p;
    }
    // Bytes of every packet a connection queued, one entry per packet.
    static std::vector<Bytes> packets(const std::shared_ptr<Tudp_con>& con) {
        std::vector<Bytes> out;
        for (auto& p : con->out) out.push_back(p->d->Bytes());
        return out;
    }
    static std::shared_ptr<Tudp_con> server_con() { return Tudp_con::Get(g_server_ip, g_server_port, 1); }
};

// Little-endian byte builder for records.
struct Rec {
    Bytes b;
    Rec& u8(int v) { b.push_back((uint8_t)v); return *this; }
    Rec& u16(int v) { u8(v & 255); return u8((v >> 8) & 255); }
    Rec& i32(int32_t v) { for (int i = 0; i < 4; ++i) u8((int)(((uint32_t)v >> (8 * i)) & 255)); return *this; }
    Rec& f32(float f) { uint32_t v; std::memcpy(&v, &f, 4); return i32((int32_t)v); }
};
