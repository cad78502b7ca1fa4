// The match step: one frame of a match or of replay playback. The machine
// that holds the turn reads the input (or runs the AI), steps the world,
// applies its own records and hands the frame on; every other machine, and
// playback, takes its frames from the frame buffer.
#include "match/game.h"

#include <algorithm>
#include <cmath>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/input.h"
#include "core/random.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/sound.h"
#include "match/replay.h"
#include "match/turn.h"
#include "platform/input.h"
#include "scripting/callbacks.h"
#include "scripting/turn_state.h"
#include "terrain/draw.h"
#include "terrain/view.h"
#include "world/collision.h"
#include "world/frame_buffer.h"
#include "world/netplayer.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/team.h"
#include "world/water.h"
#include "world/weapon.h"

int g_server = 0, g_server_hotseat = 0;
std::string g_server_name;
float g_storm = 0;
int g_turn_state = 0, g_wpn_attacked = 0, g_round = 0, g_turn_player = 0;
float g_gravity = 0.1f;
int g_shake = 0;
int g_bgcol[3];
float g_bgcola = 0, g_bgfadeout = 0.1f;
int g_player = 0, g_turn_netplayer = 0, g_mode = 1, g_turn = 0, g_turn_team = -1;
int g_turn_frames = 0, g_turn_deadframes = 0, g_error_deadframes = 0;
int g_turn_idletimer = 0, g_terrainmodify = 0, g_matchlenght = 0, g_frame_move = 0, g_endstep = 0;
int set_roundtime_tmp = 0, set_backingtime_tmp = 0;
int g_turn_backingstart = 0, g_turn_blankframes = 0, g_turn_selfaction = 0, g_turn_selfaction_done = 0;
int hud_yourturntimer = 0;

namespace {

// Frame number of the last replay frame the holder recorded in state 102
// (chat and leave records ride on frames numbered one above it).
int s_lastrecorded = -1;

// A target the holder's input chose this frame (record 13), for its script
// globals to change after the world step, where every other machine applies
// the record.
struct {
    int set = 0, x = 0, y = 0;
} s_target;

void voice(bool wanted) {
    if (wanted && in_suspended == 1) {
        if (in_ms - hud_yourturntimer >= 1500) {
            hud_yourturntimer = in_ms;
            play(sfx_v_yourturn, 1.0f);
        }
    } else {
        hud_yourturntimer = in_ms;
    }
}

int keys_down(std::initializer_list<int> keys) {
    for (int k : keys)
        if (KeyDown(k)) return 1;
    return 0;
}

int keys_hit(std::initializer_list<int> keys) {
    int hit = 0;
    // Every key is asked, so no stale hit survives into a later frame.
    for (int k : keys)
        if (KeyHit(k)) hit = 1;
    return hit;
}

int aim(int rot, int dir, int up) {
    if (up) {
        if (dir == 1) return std::max(0, (rot - 1) % 360);
        return std::min(0, (rot + 1) % 360);
    }
    if (dir == 1) return std::min(180, (rot + 1) % 360);
    return std::max(-180, (rot - 1) % 360);
}

}  // namespace

int game_aim(int rot, int dir, int up) { return aim(rot, dir, up); }

int game_simstep(int decide) {
    g_frame_move = 1;
    if (g_waterlevel_change > g_waterlevel) {
        g_waterlevel++;
        collide_update();
    } else if (g_waterlevel_change < g_waterlevel) {
        g_waterlevel--;
        collide_update();
    }
    game_mode_update(0, 1);
    Tobj::update(decide);
    Tpro::draw(0, 1);
    Tplayer::update();
    if (g_terrainmodify > 0) g_terrainmodify--;
    return 0;
}

int game_input(Tplayer& p, int ai) {
    int key = 0;
    if (ai) {
        // The first input frame of the turn runs ai_init only.
        const char* hook = lua_ai_init == 0   ? "ai_init"
                           : g_turn_state == 1 ? "ai_move"
                           : g_turn_state == 2 ? "ai_back"
                                               : "";
        if (lua_ai_init == 0) lua_ai_init = 1;
        if (*hook) lua_ai_call(p.id, hook);
    }
    if (hud_chatprompt == 0 || ai) {
        const int control = lua_allowplayercontrol == 1;
        const int move = control && p.state_frozen == 0;
        auto take = [&](int& flag, int human, int bit) {
            if (!ai) flag = human;
            if (flag) {
                g_turn_selfaction = 500;
                key |= bit;
            }
            return flag;
        };
        if (take(lua_keyleft, keys_down({37, 65, 100}), 1)) {
            lua_keyright = 0;   // left excludes right, as the key byte says
            if (move) p.move(p.state_confused ? 1 : 0, 1);
        } else if (take(lua_keyright, keys_down({39, 68, 102}), 2)) {
            if (move) p.move(p.state_confused ? 0 : 1, 1);
        }
        if (take(lua_keyup, keys_down({38, 87, 104}), 4)) {
            lua_keydown = 0;
            if (control) p.wpnrot = aim(p.wpnrot, p.dir, 1);
        } else if (take(lua_keydown, keys_down({40, 83, 98}), 8)) {
            if (control) p.wpnrot = aim(p.wpnrot, p.dir, 0);
        }
        if (take(lua_keyjump, keys_hit({162, 163}), 16) && move) p.jump1();
        if (take(lua_keybackjump, keys_hit({160, 161, 164, 165, 8}), 32) && move) p.jump2();
        if (take(lua_keyattack, keys_down({32}), 64))
            p.attack(control ? 1 : 0);
        else
            p.attack(0);
        if (!ai && hud_rmenu > 0) key |= 128;
        // Weapon pick: applied with the frame's own records after the world
        // step, where every other machine and replay playback apply record
        // 10, so that the step sees the same weapon everywhere.
        int picked = 0;
        if (hud_wpnsel > -1) {
            int pick = hud_wpnsel;
            if (lua_allowweaponswitch == 1 && pick < 256 && Tfb::fits(2) && weapon_selectable()) {
                Tfb::wbyte(10);
                Tfb::wbyte(pick);
                Tfb::copyloc(2);
                g_turn_selfaction_done = 1;
                picked = 1;
            }
            hud_wpnsel = -1;
        }
        // Target chosen with the placement cursor; a pick clears it (and the
        // timer bar below) when applied.
        if (!picked && hud_drawposset == 2) {
            hud_drawposset = 1;
            if (Tfb::fits(9)) {
                Tfb::wbyte(13);
                Tfb::wint(hud_drawposx);
                Tfb::wint(hud_drawposy);
            }
            s_target = {1, hud_drawposx, hud_drawposy};
        }
        // Timer value: digits 1..9 then 0 (10), the last hit winning.
        int value = -1;
        if (ai) {
            value = lua_timersetto;
        } else {
            for (int k = 49; k <= 57; ++k)
                if (KeyHit(k)) value = k - 48;
            if (KeyHit(48)) value = 10;
        }
        if (!picked && hud_drawtimertemp == 1) {
            hud_drawtimertemp = 0;
            if (hud_drawtimermax > 0 && value > -1 && value >= hud_drawtimermin && value <= hud_drawtimermax &&
                value != hud_drawtimerval && Tfb::fits(5)) {
                Tfb::wbyte(14);
                Tfb::wint(value);
                Tfb::copyloc(5);
            }
        }
    } else {
        key |= 128;
        p.attack(0);
    }
    return key;
}

namespace {

// The holder's frame of a normal turn (steps 2-15); returns 1 for an AI turn.
int holder_frame(const std::shared_ptr<Tplayer>& p, const std::shared_ptr<Tteam>& team) {
    const int ai = team->extra == 9;
    if (ai) g_turn_selfaction = 500;
    voice(!ai && g_turn_state == 1);
    if (!g_frame_data) g_frame_data = CreateBank(0);
    g_frame_data->Resize(0);
    const int control = game_turn_logic(*p, ai);
    game_scroll();
    const int prev[7] = {lua_keyup,   lua_keydown,     lua_keyleft,  lua_keyright,
                         lua_keyjump, lua_keybackjump, lua_keyattack};
    lua_keyup = lua_keydown = lua_keyleft = lua_keyright = lua_keyjump = lua_keybackjump = lua_keyattack = 0;
    lua_timersetto = 0;
    int key = 0;
    if (control && g_turn_state < 3) key = game_input(*p, ai);
    lua_keyhitreleaseupdate(prev[0], prev[1], prev[2], prev[3], prev[4], prev[5], prev[6]);
    if (g_turn_state < 99) game_simstep(1);
    if (s_target.set) {
        s_target.set = 0;
        lua_setglobalint("weapon_x", s_target.x);
        lua_setglobalint("weapon_y", s_target.y);
        lua_setglobalint("weapon_position", 1);
    }
    // Own records, as every other machine applies the frame's records after
    // its step; then the fall rule, as Tfb::process ends a frame.
    if (Tfb::loc && Tfb::loc->Size() > 0) {
        Tfb::process_additional(Tfb::loc, p);
        Tfb::loc->Resize(0);
    }
    const int queued = g_turn_state <= 100;
    if (queued) Tplayer::turnaction();
    // The replay copy is taken after the own records were applied (script
    // callbacks may have written records meanwhile) and before record 12.
    if (g_replay == 0 && set_record == 1) {
        if (g_turn_state < 102) {
            Treplay::recordframe(g_turn_frames, key, g_frame_data);
            s_lastrecorded = g_turn_frames;
        } else if (g_replay_cbuffer && g_replay_cbuffer->Size() > 0) {
            // Waiting for the next turn: a frame only to carry chat, leave
            // and team-kill records, each under a number of its own.
            s_lastrecorded++;
            Treplay::recordframe(s_lastrecorded, 0, CreateBank(0));
        }
    }
    if (g_turn_frames % 50 == 0 && Tfb::fits(22)) {
        Tfb::wbyte(12);
        Tfb::wint(p->health);
        Tfb::wfloat(p->x);
        Tfb::wfloat(p->y);
        Tfb::wfloat(p->fx);
        Tfb::wfloat(p->fy);
        Tfb::wbyte(p->dir + 1);
    }
    if (queued) {
        if (g_server == 1) {
            for (auto& np : Tnetpl::list)
                if (np->con) Tfb::add(g_turn_frames, key, g_frame_data, np->frameout);
        } else {
            Tfb::add(g_turn_frames, key, g_frame_data, Tfb::fout);
        }
    }
    Tfb::send(g_turn_state >= 100 ? 1 : 0);
    if (g_turn_state <= 100) {
        g_turn_frames++;
        g_matchlenght++;
    } else if (g_turn_state == 101) {
        game_turn_confirm();
        g_turn_state = 102;
    }
    return ai;
}

void process_frames() {
    if (g_replay == 1 && g_replay_pause == 0) {
        // Used up: the playback ends; frames already fed still apply below.
        if (Treplay::list.empty() && menu != 1) game_postgame(Treplay::wincolor);
        g_replay_timer++;
        switch (g_replay_speed) {
            case 0: if (g_replay_timer % 4 == 0) Treplay::playframe(); break;
            case 1: if (g_replay_timer % 2 == 0) Treplay::playframe(); break;
            case 2: Treplay::playframe(); break;
            default: {
                int extra = g_replay_speed == 3 ? 1 : g_replay_speed == 4 ? 3 : 7;
                Treplay::playframe();
                for (int i = 0; i < extra; ++i) {
                    Tfb::process();
                    Treplay::playframe();
                }
            }
        }
        Tfb::process();
    } else {
        Tfb::process();
    }
}

void view_and_draw(int localhuman) {
    if (KeyDown(81)) Tplayer::scrolltocurrent();
    input_mapscroll();
    const float keepx = map_x, keepy = map_y;
    if (g_shake > 0) {
        g_shake = std::min(g_shake, 30);
        map_x += (float)Rand(-g_shake, g_shake);
        map_y += (float)Rand(-g_shake, g_shake);
        g_shake--;
    }
    map_draw_bg();
    map_draw(0, 1);
    Tplayer::draw();
    game_mode_update(1, 0);
    Tp::draw(0);
    Tpro::draw(1, 0);
    map_draw_water(1);
    Tp::draw(1);
    if (hud_drawmapborder == 1) {
        hud_mapborder();
        hud_drawmapborder = 0;
    }
    Tp::draw(2);
    game_turn_update();
    TColDebug::draw();
    if (hud_chatprompt == 0) {
        if (KeyHit(78)) hud_shownamehealth = (hud_shownamehealth + 1) % 3;
        if (KeyHit(80)) hud_showarrows = 1 - hud_showarrows;
        if (KeyHit(72)) hud_show = 1 - hud_show;
    }
    hud_match_draw(localhuman);
    if (g_replay == 1) {
        if (KeyHit(32)) {
            g_replay_pause = 1 - g_replay_pause;
            TChan::pauseAll(g_replay_pause);
        }
        if (KeyHit(187) | KeyHit(107)) {
            if (g_replay_speed < 5) Treplay::setspeed(g_replay_speed + 1);
            g_replay_goto = -1;
        }
        if (KeyHit(189) | KeyHit(109)) {
            if (g_replay_speed > 0) Treplay::setspeed(g_replay_speed - 1);
            g_replay_goto = -1;
        }
    }
    if (KeyHit(36)) screenshot();
    map_x = keepx;
    map_y = keepy;
}

}  // namespace

int game() {
    if (in_sec == 1) {
        if (g_server == 1)
            qvgn_update(1, 1, 0, 1, g_server_port, set_host_name);
        else
            qvgn_update(1, 0, 0, g_server_ip, g_server_port, "");
    }
    g_frame_move = 0;
    auto p = Tplayer::get(g_turn_player);
    std::shared_ptr<Tteam> team = p ? Tteam::get(p->team) : nullptr;
    const int holder = p && g_replay == 0 && team && team->netplayer == g_player;
    int localhuman = 0, writes = 0;
    if (holder && g_mode == 0) {
        hud_setinfo("Click to set the initial position for " + p->name + "!", 255, 255, 255);
        voice(true);
        if (in_m1 && hud_currentmenu <= 0 && hud_rmenu <= 0)
            game_setposition(g_turn_player, (int)((float)in_mx - map_x), (int)((float)in_my - map_y), 1);
    } else if (holder) {
        localhuman = team->extra != 9;
        writes = 1;
        holder_frame(p, team);
    } else {
        hud_yourturntimer = in_ms;
    }
    // The machine that wrote this frame takes none, AI turn or not: on a
    // joined machine every call of process without a frame counts a dead
    // frame against the host. Decided before the holder's frame; a new turn
    // starts in the drawing phase only, so it holds for this whole step.
    if (!writes) process_frames();
    view_and_draw(localhuman);
    return 0;
}

int game_leave(int) {
    g_gravity = g_gravityArray[0];
    return 0;
}

// ---- Stand-ins of the removal of net players and teams (their own issue
// replaces the bodies).
std::vector<std::string> game_calls;

namespace {
int note(const std::string& call) {
    // Kept short: a record stream from a peer may call these every frame.
    if (game_calls.size() >= 256) game_calls.erase(game_calls.begin());
    game_calls.push_back(call);
    return 0;
}
}  // namespace

int game_freeplayer(int netplayer, int reason, int flag) {
    return note("freeplayer " + std::to_string(netplayer) + " " + std::to_string(reason) + " " + std::to_string(flag));
}
int game_killteam(int team) { return note("killteam " + std::to_string(team)); }
