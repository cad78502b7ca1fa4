// Headless match driver: sets a hotseat match up on a generated map with our
// game modes, game enders and AI, starts it through the host's game_start
// (followers take the host's start message), plays it through the real match step with
// scripted keys (human teams) or the AI script (computer teams) and an
// injected clock, and checks a twin that follows the host's wire stream.
//
// One process holds one world, so a twin run is two passes from the same
// start: the holder plays and keeps, per call, the messages it sent to a
// watching joined machine (frames, message 30; turn starts, message 100 sub 1)
// and a hash of the shared world after each frame it queued; the world is
// then rebuilt and the follower takes the same messages call by call,
// comparing its hash after each frame it applies (also the frames a turn
// start applies before its reset). The host's own replay records, played
// back through the same match step, are compared the same way.
//
// Used by tests/match and bench/match.cpp; no test framework here.
#pragma once

#include <lua.hpp>

#include "../support/temp_dir.h"
#include "../support/world_hash.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/input.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "frontend/weaponset.h"
#include "match/game.h"
#include "match/replay.h"
#include "match/setup.h"
#include "match/turn.h"
#include "net/udp/packet.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "platform/system.h"
#include "scripting/lua_state.h"
#include "scripting/script_loading.h"
#include "scripting/script_objects.h"
#include "scripting/turn_state.h"
#include "terrain/generate.h"
#include "terrain/pack.h"
#include "terrain/spawns.h"
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

namespace match_driver {

struct Options {
    uint32_t seed = 1;
    int teams = 2;             // 2..3
    int players = 2;           // per team
    int ai_teams = 1;          // the first teams play by the AI script
    int xsize = 800, ysize = 400;
    std::string ender = "<flood+laser-top>";
    int roundtime = 5;
    int max_calls = 30000;
    int twin = 1;              // 1: a joined machine follows and is compared
    int positioning = 0;       // 1: manual placement by clicks before the first turn
    int health = 0;            // playerhealth; 0 keeps the default
};

struct Result {
    int ended = 0;             // 1 when game_postgame ended the match
    int winner = -1;           // the postgame value: colour + 1, 0 none
    int calls = 0, frames = 0, turns = 0;
    int endsteps = 0;          // steps the game ender took
    int compared = 0;          // follower frames compared
    int mismatch_turn = -1, mismatch_frame = -1;
    int script_errors = 0;
    std::string first_error;
};

// One message of the host's wire stream to the watching machine.
struct Msg {
    int id = 0;                // 30 frame, 100 turn start
    int frame = 0, key = 0;
    BankPtr data;
    int mode = 0, player = 0, roundtime = 0, backingtime = 0, round = 0, done = 0, all = 0;
    float storm = 0;
    float x = 0, y = 0;        // a placement (message 100 sub 4)
};

// The shared world after a frame; the terrain's solid cells only on every
// 50th frame (the costly part). The turn control goes in as every machine's
// world step reads it: the idle count not at all (only the holder counts it
// down, and only its own turn logic reads it), the turn state with the closing
// states as one (the holder walks 99, 100, 101, 102 by its turn logic, the
// others go from 99 to 102 with the end synchronisation; nothing is stepped
// from 99 on).
inline uint64_t world_hash(bool terrain) {
    WorldHasher h;
    add_shared_world(h, {.terrain = terrain, .turn_control = false});
    h.add(std::min(g_turn_state, 99));
    return h.h;
}

// ---- The AI's view of the world. The interface functions of the players'
// family are not built yet; these small bindings give the AI script what it
// reads and the keys it presses, acting for lua_p as the real ones will.
inline int ai_key(lua_State* L, int& flag) {
    (void)L;
    if (lua_ailock == 1) flag = 1;
    return 0;
}
inline std::shared_ptr<Tplayer> ai_player(lua_State* L) {
    int id = (int)luaL_optinteger(L, 1, 0);
    return Tplayer::get(id > 0 ? id : lua_p);
}
inline void ai_bindings() {
    auto reg = [](const char* name, lua_CFunction f) {
        lua_pushcfunction(lua, f);
        lua_setglobal(lua, name);
    };
    reg("ai_up", [](lua_State* L) { return ai_key(L, lua_keyup); });
    reg("ai_down", [](lua_State* L) { return ai_key(L, lua_keydown); });
    reg("ai_left", [](lua_State* L) { return ai_key(L, lua_keyleft); });
    reg("ai_right", [](lua_State* L) { return ai_key(L, lua_keyright); });
    reg("ai_jump", [](lua_State* L) { return ai_key(L, lua_keyjump); });
    reg("ai_backjump", [](lua_State* L) { return ai_key(L, lua_keybackjump); });
    reg("ai_attack", [](lua_State* L) { return ai_key(L, lua_keyattack); });
    reg("ai_settimer", [](lua_State* L) {
        lua_timersetto = (int)luaL_checkinteger(L, 1);
        return 0;
    });
    reg("ai_weapon", [](lua_State* L) {
        lua_pushinteger(L, 0);   // no weapon scripts in the driver's matches
        return 1;
    });
    reg("playercurrent", [](lua_State* L) {
        lua_pushinteger(L, lua_p);
        return 1;
    });
    reg("getplayerx", [](lua_State* L) {
        auto p = ai_player(L);
        lua_pushnumber(L, p ? p->x : 0);
        return 1;
    });
    reg("getplayery", [](lua_State* L) {
        auto p = ai_player(L);
        lua_pushnumber(L, p ? p->y : 0);
        return 1;
    });
    reg("getplayerdirection", [](lua_State* L) {
        auto p = ai_player(L);
        lua_pushinteger(L, p ? p->dir : 1);
        return 1;
    });
    reg("getplayerrotation", [](lua_State* L) {
        auto p = ai_player(L);
        lua_pushinteger(L, p ? p->wpnrot : 0);
        return 1;
    });
    // playertable(3, 0): the living players of other colours than the acting one.
    reg("playertable", [](lua_State* L) {
        auto me = Tplayer::get(lua_p);
        auto myteam = me ? Tteam::get(me->team) : nullptr;
        lua_newtable(L);
        int n = 0;
        for (auto& p : Tplayer::list) {
            auto t = Tteam::get(p->team);
            if (p->health <= 0 || !t || (myteam && t->color == myteam->color)) continue;
            lua_pushinteger(L, p->id);
            lua_rawseti(L, -2, ++n);
        }
        return 1;
    });
}

// The collision mask of a player: solid in columns 9..22 and rows 4..27 of
// 32 x 32, handle at the centre (as incgfx/playercol.bmp).
inline ImagePtr player_mask() {
    ImagePtr img = CreateImage(32, 32);
    auto pix = LockImage(img);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) pix->WritePixel(x, y, x >= 9 && x <= 22 && y >= 4 && y <= 27 ? 0xFF000000u : 0u);
    pix.reset();
    MidHandleImage(img);
    return img;
}

// The driver's working folder for its lifetime: a temporary one holding
// links to the data folders of the old one (graphics, scripts, sounds), so
// what a match writes (replays, recent values, settings) never piles up in
// the build folder.
struct Scratch {
    std::filesystem::path from = std::filesystem::current_path();
    TempDir dir{{"replays", "sys", "sys/gamesettings", "weaponsets"}};
    Scratch() {
        std::error_code ec;
        for (auto& e : std::filesystem::directory_iterator(from, ec)) {
            const std::string name = e.path().filename().string();
            if (!e.is_directory(ec) || name == "replays" || name == "sys" || name == "weaponsets") continue;
            std::filesystem::create_directory_symlink(e.path(), dir.path() / name, ec);
        }
    }
};

struct Driver {
    Scratch scratch;
    Options o;
    std::vector<std::vector<Msg>> stream;             // per holder call
    std::map<std::pair<int, int>, uint64_t> hashes;   // (turn, frame) -> hash
    Result r;
    std::function<void(int call)> before_call;        // test hook per follower call
    std::vector<std::shared_ptr<Tudp_p>> start_parts; // the host's start message to the watcher

    explicit Driver(const Options& options) : o(options) {}

    // Everything a match starts from, the same for both passes. `as_host`:
    // this machine hosts (net player 0); otherwise it is net player 1, the
    // watching joined machine. `holder_np`: the net player owning the teams
    // (0 for hotseat).
    void setup(int as_host, int holder_np = 0) {
        clear();
        SeedRnd((int)(o.seed & 0x7FFFFFFF));
        host_settings_init();
        set[1] = o.roundtime;
        set[2] = 2;
        set[3] = 0, set[8] = 0, set[13] = 0, set[14] = 0;   // no crates, mines, traps, medikits
        // The ender from round 1 on, so it acts at the end of the first turn
        // already: its bands kill at once and its flood takes low ground, so
        // now and then that first step (with a turn player drowned or fallen)
        // leaves one colour or none, and the match ends after one turn.
        set[17] = 1;
        set[19] = 0;
        set[7] = o.positioning;
        if (o.health > 0) set[0] = o.health;
        lua_reset();
        lua_proceed = [this](const std::string& text) {
            if (r.script_errors++ == 0) r.first_error = text;
            return 1;
        };
        lua_notify = [](const std::string&, bool) {};
        for (auto& g : g_weaponset)
            for (auto& c : g)
                for (auto& s : c) s.clear();
        lua_weaponscripts();
        ai_bindings();
        set[18] = 0;
        for (size_t i = 0; i < g_gameendersi.size(); ++i)
            if (g_gameendersi[i] == o.ender) set[18] = (int)i;
        game_mode_load();
        game_checksettings();
        map_generate(o.xsize, o.ysize, (int)(o.seed % 100000), (int)(o.seed % 5), (int)(o.seed % 2));
        g_waterlevel = g_waterlevel_change = map_ysize - 20;
        gfx_pl_col = player_mask();
        spawn_points();
        Tnetpl::add(0, "Host", as_host ? nullptr : Tudp_con::Get(g_server_ip, g_server_port, 1));
        if (o.twin || holder_np != 0)
            Tnetpl::add(1, "Watcher", as_host ? Tudp_con::Get(0x0A000001, 4001, 1) : nullptr);
        for (int t = 0; t < o.teams; ++t) {
            auto team = Tteam::add(t * 2 + 1, holder_np == 0 ? 0 : (t == 0 ? holder_np : 0), "Team" + std::to_string(t),
                                   t, o.players, t < o.ai_teams ? 9 : 0);
            for (int i = 0; i < o.players; ++i) team->playernames[(size_t)i] = "F" + std::to_string(t * 10 + i);
        }
        g_server = as_host;
        g_player = as_host ? 0 : 1;
        g_server_hotseat = holder_np == 0 ? 1 : 0;
        g_server_name = "Driver";
        // The map pack goes into the replay.
        map_compress();
        if (as_host) {
            // The host's full start: placement (its generator seeded from
            // the clock, here fixed per seed), the start message, the
            // common steps. The watcher's copy of the start message is kept
            // for the other passes.
            SetClockSource([s = (int)(o.seed & 0x7FFFFFFF)] { return s; });
            game_start(nullptr);
            SetClockSource(nullptr);
            start_parts.clear();
            if (auto w = Tnetpl::get(1); w && w->con) {
                start_parts.assign(w->con->out.begin(), w->con->out.end());
                w->con->out.clear();
                w->con->lp = nullptr;
            }
        } else {
            const int record = set_record;
            set_record = 0;   // the host's recording is the one kept
            for (auto& pk : start_parts) {
                pk->readpos = 0;
                while (pk->avail() >= 2 && pk->rbyte() == 241 && pk->rbyte() == 20) game_start(pk.get());
            }
            set_record = record;
        }
        // Both passes go on from the same generator state.
        SeedRnd((int)(o.seed & 0x7FFFFFFF));
    }

    // Spawn points on dry ground, found as random placement would find
    // places: a fighter that drowns at once makes no match. Both passes
    // make the same points (same map, same seed), and the map pack carries
    // them into the replay.
    void spawn_points() {
        Tplayer probe;
        std::vector<std::pair<int, int>> spots;
        for (int tries = 0; tries < 400 && (int)spots.size() < o.teams * o.players + 2; ++tries) {
            if (!probe.randomspawn() || probe.y >= (float)(map_ysize - 60)) continue;
            bool apart = true;
            for (auto& s : spots) apart = apart && std::abs(s.first - (int)probe.x) >= 40;
            if (apart) spots.emplace_back((int)probe.x, (int)probe.y);
        }
        for (auto& s : spots) Tmap_spawn::add(s.first, s.second, "{Spawnpoint}");
    }

    static void clear() {
        Tplayer::list.clear();
        Tteam::list.clear();
        Tteam::random = -1;
        Tobj::list.clear();
        Tobj::firelist.clear();
        Tobj::hudlist.clear();
        Tobj_fake::list.clear();
        Tpro::list.clear();
        Tpro::nextid = 0;
        Tp::clear();
        TColDebug::list.clear();
        Tnetpl::list.clear();
        Tudp_con::list.clear();
        Tfb::reset();
        g_frame_data = CreateBank(0);
        g_replay = 0, g_replay_pause = 0;
        g_replay_cbuffer = CreateBank(0);
        Treplay::recorded.clear();
        Treplay::list.clear();
        g_turn_state = 0, g_turn_netplayer = -1, g_turn_player = -1, g_turn_team = -1, g_mode = 1;
        g_turn = 0, g_round = 0, g_turn_frames = 0, g_turn_deadframes = 0, g_error_deadframes = 0;
        g_turn_idletimer = 0, g_terrainmodify = 0, g_matchlenght = 0, g_endstep = 0, g_enddone = 0;
        g_turn_blankframes = 0, g_gamemode_started = 0, g_wpn_attacked = 0, g_shake = 0;
        g_roundgong = 0, g_singleplayer = 0, g_storm = 0;
        g_server_ip = 0x7F000001, g_server_port = 54321;
        hud_turnbardone = hud_turnbarall = 0;
        hud_chatprompt = 0, hud_rmenu = 0, hud_currentmenu = 0, hud_wpnsel = -1, hud_drawposset = 0;
        game_results.clear();
        set[7] = 0;
        in_sec = 0, in_m1 = 0, in_suspended = 0, in_ms = 0;
        set_record = 1;
        lua_resetturn();
        ResetInput();
        fb_trace = nullptr;
        game_drain_hook = nullptr;
    }

    // Keys of a human turn: held walking, aiming, now and then a jump, from
    // a generator of the driver's own (input is local, never shared).
    std::mt19937 keys{1};
    int walk = 0, walkdir = 0;
    void human_keys() {
        for (int k : {37, 39, 38, 40, 162, 160, 32}) InjectKey(k, false);
        auto p = Tplayer::get(g_turn_player);
        auto t = p ? Tteam::get(p->team) : nullptr;
        if (!t || t->extra == 9 || g_turn_state > 2) return;
        if (walk <= 0) {
            walk = (int)(keys() % 60);
            walkdir = (int)(keys() % 3);
        }
        walk--;
        if (walkdir == 1) InjectKey(37, true);
        if (walkdir == 2) InjectKey(39, true);
        if (keys() % 40 == 0) InjectKey(162, true);
        if (keys() % 90 == 0) InjectKey(160, true);
        if (keys() % 3 == 0) InjectKey(keys() % 2 ? 38 : 40, true);
    }

    static std::vector<Msg> take_messages(const std::shared_ptr<Tudp_con>& con) {
        std::vector<Msg> out;
        if (!con) return out;
        for (auto& pk : con->out) {
            pk->readpos = 0;
            while (pk->avail() > 0) {
                Msg m;
                m.id = pk->rbyte();
                if (m.id == 30) {
                    m.frame = pk->rshort();
                    m.key = pk->rbyte();
                    m.data = pk->rbank();
                } else if (m.id == 100) {
                    int sub = pk->rbyte();
                    if (sub == 2) {
                        pk->rshort();
                        continue;
                    }
                    if (sub == 4) {
                        m.id = 104;
                        m.player = pk->rbyte(), m.x = pk->rfloat(), m.y = pk->rfloat();
                        out.push_back(m);
                        continue;
                    }
                    m.mode = pk->rbyte(), m.player = pk->rbyte(), m.storm = pk->rfloat();
                    m.roundtime = pk->rbyte(), m.backingtime = pk->rbyte(), m.round = pk->rshort();
                    m.done = pk->rbyte(), m.all = pk->rbyte();
                } else {
                    break;   // nothing else is sent in a match
                }
                out.push_back(m);
            }
        }
        con->out.clear();
        con->lp = nullptr;
        return out;
    }

    // The turn message as the joined machine's handler applies it.
    static void turn_message(const Msg& m) {
        game_turn_drain();
        g_storm = m.storm;
        set_roundtime_tmp = m.roundtime;
        set_backingtime_tmp = m.backingtime;
        g_round = m.round;
        hud_turnbardone = m.done;
        hud_turnbarall = m.all;
        game_turn_start(m.player, m.mode);
    }

    static void deliver(const std::vector<Msg>& msgs) {
        for (auto& m : msgs) {
            if (m.id == 30)
                Tfb::add(m.frame, m.key, m.data, Tfb::fin);
            else if (m.id == 104)
                game_setposition(m.player, (int)m.x, (int)m.y, 0);
            else
                turn_message(m);
        }
    }

    // The hotseat host plays the match to its end (or max_calls).
    Result play() {
        setup(1);
        auto watcher = Tnetpl::get(1);
        for (r.calls = 0; r.calls < o.max_calls && menu == 2; ++r.calls) {
            in_ms += 20;
            in_sec = in_ms % 1000 == 0;
            human_keys();
            // A positioning turn: a click somewhere over the map.
            in_m1 = g_mode == 0 ? 1 : 0;
            if (in_m1) {
                in_mx = (int)(map_x + (float)(keys() % (unsigned)(map_xsize - 40) + 20));
                in_my = (int)(map_y + (float)(keys() % (unsigned)(map_ysize / 2)));
            }
            int before = g_turn_frames, turn = g_turn;
            game();
            r.turns = std::max(r.turns, g_turn);   // the match end clears g_turn
            r.endsteps = g_endstep;
            if (g_turn == turn && g_turn_frames == before + 1) {
                r.frames++;
                if (o.twin) hashes[{g_turn, before}] = world_hash(before % 50 == 0);
            }
            if (watcher) {
                stream.push_back(take_messages(watcher->con));
                // The watcher confirms once it has the end synchronisation.
                // (after the last frames went out: forced sending flushes them).
                if (g_turn_state >= 101 && watcher->frameout.empty()) watcher->turnready = 1;
            }
        }
        if (!game_results.empty()) {
            r.ended = 1;
            r.winner = game_results.back();
        }
        return r;
    }

    // Checks the follower's frame against the holder's.
    std::pair<int, int> last_compared{-1, -1};
    void compare() {
        std::pair<int, int> key{g_turn, g_turn_frames - 1};
        auto it = hashes.find(key);
        if (it == hashes.end() || key == last_compared) return;
        last_compared = key;
        r.compared++;
        if (r.mismatch_frame < 0 && it->second != world_hash((g_turn_frames - 1) % 50 == 0)) {
            r.mismatch_turn = g_turn;
            r.mismatch_frame = g_turn_frames - 1;
        }
    }

    // The watching joined machine takes the host's stream call by call.
    // Plays the host's own replay records back (the replay stand-in keeps
    // them in memory) and compares every frame it applies.
    // Saved as replays/driver.gfrp and loaded back, which rebuilds the match
    // from the file alone.
    Result replay(int speed = 2) {
        Treplay::savereplay("driver", r.winner);
        setup(0);
        if (Treplay::loadreplay("driver", -1) != 1) return r;
        in_m1 = 0;
        Treplay::setspeed(speed);
        g_replay_timer = 0;
        game_drain_hook = [this] { compare(); };
        for (int call = 0; call < o.max_calls * 2 && menu == 2; ++call) {
            int before = g_turn_frames, turn = g_turn;
            game();
            if (g_turn == turn && g_turn_frames != before) compare();
        }
        game_drain_hook = nullptr;
        g_replay = 0;
        return r;
    }

    // as_host: the follower is the host of a joined holder (holder_np 1),
    // which starts the turn itself in its first call.
    Result follow(int as_host = 0, int holder_np = 0, const std::function<void()>& after_setup = {}) {
        setup(as_host, holder_np);
        if (after_setup) after_setup();
        if (as_host) game();
        game_drain_hook = [this] { compare(); };
        for (size_t call = 0; call < stream.size() + 100 && menu == 2; ++call) {
            if (before_call) before_call((int)call);
            if (call < stream.size()) deliver(stream[call]);
            int before = g_turn_frames, turn = g_turn;
            game();
            if (g_turn == turn && g_turn_frames != before) compare();
        }
        game_drain_hook = nullptr;
        return r;
    }
};

}  // namespace match_driver
