// The turn cycle: the holder's timers and end synchronisation, the host's
// decision when the next turn starts, the choice of the next team and player,
// and the turn-start work every machine does.
#include "match/turn.h"

#include <algorithm>
#include <set>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/input.h"
#include "core/random.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/sound.h"
#include "match/game.h"
#include "match/replay.h"
#include "match/statistics.h"
#include "net/udp/connection.h"
#include "net/udp/packet.h"
#include "platform/draw.h"
#include "scripting/callbacks.h"
#include "scripting/turn_state.h"
#include "world/frame_buffer.h"
#include "world/netplayer.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/team.h"
#include "world/water.h"

std::function<void()> game_drain_hook;

int g_roundgong = 0, g_roundchangefx = 0, g_singleplayer = 0;

namespace {

void trace(const std::string& line) {
    if (fb_trace) fb_trace(line);
}

// A record the holder applies too: written whole, mirrored into Tfb::loc.
void turn_record(int sub) {
    if (!Tfb::fits(2)) return;
    Tfb::wbyte(1);
    Tfb::wbyte(sub);
    Tfb::copyloc(2);
}

bool settled() {
    return g_turn_idletimer == 0 && g_waterlevel == g_waterlevel_change && Tpro::list.empty() &&
           Tplayer::allidle() == 1 && Tobj::allidle() == 1;
}

void end_synchronisation(Tplayer& turnplayer) {
    for (auto& q : Tplayer::list)
        if (q->state_poisoned && q->health > 1) q->health = std::max(1, q->health - 2);
    turnplayer.state_confused = 0;
    turnplayer.state_frozen = 0;
    turnplayer.state_sleeping = 0;
    // The list's length travels as one byte; players have ids 1..255, so
    // a longer list cannot happen, but a cut list must not lie about n.
    int n = (int)std::min<size_t>(Tplayer::list.size(), 255);
    if (!Tfb::fits(3 + 14 * n)) return;
    Tfb::wbyte(1);
    Tfb::wbyte(1);
    Tfb::wbyte(n);
    int i = 0;
    for (auto& q : Tplayer::list) {
        if (i++ == n) break;
        Tfb::wbyte(q->id);
        Tfb::wint(q->health);
        Tfb::wfloat(q->x);
        Tfb::wfloat(q->y);
        Tfb::wbyte(q->getstates());
    }
}

void netplayer_message(const std::shared_ptr<Tudp_con>& con, int mode) {
    auto pk = con->Createpacket(1, 0);
    pk->wbyte(100);
    pk->wbyte(1);
    pk->wbyte(mode);
    pk->wbyte(g_turn_player);
    pk->wfloat(g_storm);
    pk->wbyte(set_roundtime_tmp);
    pk->wbyte(set_backingtime_tmp);
    pk->wshort(g_round);
    pk->wbyte(hud_turnbardone);
    pk->wbyte(hud_turnbarall);
}

void send_turn(int mode) {
    for (auto& np : Tnetpl::list)
        if (np->con) netplayer_message(np->con, mode);
}

void record_turn_start(int mode, int player) {
    auto b = CreateBank(13);
    b->PokeByte(0, 1);
    b->PokeByte(1, mode);
    b->PokeByte(2, player & 255);
    b->PokeFloat(3, g_storm);
    b->PokeByte(7, set_roundtime_tmp & 255);
    b->PokeByte(8, set_backingtime_tmp & 255);
    b->PokeShort(9, g_round & 0xFFFF);
    b->PokeByte(11, hud_turnbardone & 255);
    b->PokeByte(12, hud_turnbarall & 255);
    Treplay::recordrawdata(b);
}

void announce(const Tteam& team) {
    auto np = Tnetpl::get(team.netplayer);
    if (g_turn_netplayer == g_player && g_replay == 0 && g_server_hotseat == 0) {
        play(sfx_turn_you, 1.0f);
        hud_msg_add("Your Turn!", -1, -1, -1, -1);
        return;
    }
    play(sfx_turn_next, 1.0f);
    teamcolor(team.color);
    int r = 255, g = 255, b = 255;
    GetColor(r, g, b);
    std::string text = g_server_hotseat == 1 || !np ? team.name : np->name + ", " + team.name;
    hud_msg_add(text, r, g, b, -1);
}

// The effects of a turn start; positioning turns only announce.
void turn_effects(Tplayer& p, const Tteam& team, int mode) {
    if (mode == 1) {
        in_auto = 1;
        in_autotemp = 0;
        in_autotx = (int)((float)set_scrxh - p.x);
        in_autoty = (int)((float)set_scryh - p.y);
    }
    announce(team);
    if (mode != 1) return;
    if (g_round != g_roundgong) {
        g_roundgong = g_round;
        play(sfx_turn_roundgong, 1.0f);
        g_roundchangefx = 200;
    }
    const int px = (int)p.x, py = (int)p.y;
    if (auto f = Tp::Create(6, px, py, 0)) {
        f->sx = 0.8f, f->sy = 2.0f, f->rot = 0, f->a = 1, f->fa = 0.04f;
        f->r = 255, f->g = 255, f->b = 0;
    }
    for (int i = 0; i < 10; ++i) {
        double dy = Rnd(-10, 10);
        double dx = Rnd(-10, 10);
        double s = Rnd(2, 5);
        double sfy = Rnd(0.2, 1.5);
        double sfa = Rnd(0.01, 0.02);
        if (auto k = Tp::Create(16, (int)(px + dx), (int)(py + dy), 0)) {
            k->sx = k->sy = (float)s;
            k->fx = 0;
            k->fy = -(float)sfy;
            k->fa = (float)sfa;
            k->r = 255, k->g = 255, k->b = 0;
        }
    }
    Ts_turn::addturndata();
}

void next_turn_line(const Tnetpl& np, const Tteam& team, const Tplayer& p) {
    gui_lobby_addline("*** Next Turn: " + np.name + ", Team " + team.name + ", " + p.name + " ***");
}

// The host's choice of a normal turn (returns after starting it or ending
// the match).
void host_normal_turn() {
    // Living colours, and the last of them in id order.
    std::set<int> colours;
    int last = -1;
    for (int id = 0; id < 8; ++id) {
        auto t = Tteam::get(id);
        if (t && t->livingplayers() > 0) {
            colours.insert(t->color);
            last = t->color;
        }
    }
    int winner = -1;
    if (lua_gm_endturn((int)colours.size(), last, g_singleplayer == 1, winner) == 1) {
        game_postgame(winner + 1);
        return;
    }
    const bool complete = g_turn_team > -1 && hud_turnbarall > -1 && hud_turnbardone >= hud_turnbarall;
    if (g_turn_team == -1) {
        g_turn_team = Tteam::randomid();
        g_round = 1;
        hud_turnbarall = -1;
    } else {
        g_turn_team = (g_turn_team + 1) % 8;
        if (complete) {
            g_round++;
            hud_turnbarall = -1;
        } else {
            hud_turnbardone++;
        }
    }
    if (hud_turnbarall <= 0) {
        int n = 0, m = 0;
        for (auto& t : Tteam::list)
            if (Tnetpl::get(t->netplayer) && t->livingplayers() > 0) {
                n++;
                m = std::max(m, t->livingplayers());
            }
        hud_turnbarall = m * n;
        hud_turnbardone = 1;
    }
    std::shared_ptr<Tteam> team;
    for (int i = 0; i < 10 && !team; ++i) {
        auto t = Tteam::get(g_turn_team);
        if (t && t->livingplayers() > 0 && Tnetpl::get(t->netplayer))
            team = t;
        else
            g_turn_team = (g_turn_team + 1) % 8;
    }
    std::shared_ptr<Tplayer> player;
    for (int i = 0; team && i < 60 && !player; ++i) {
        team->turn_lastplayer++;
        if (team->turn_lastplayer > 50) team->turn_lastplayer = 0;
        auto p = Tplayer::get(team->turn_lastplayer);
        if (p && p->health > 0 && p->team == team->id) player = p;
    }
    if (!team || !player) {
        gui_addcon("failed to find next player!");
        return;
    }
    auto np = Tnetpl::get(team->netplayer);
    g_turn_state = 1;
    g_turn_netplayer = team->netplayer;
    g_turn_team = team->id;
    g_turn_player = player->id;
    game_setstorm();
    player->wpn = script_primaryweapon();
    set_roundtime_tmp = set[1] + (team->extra == 1 ? 15 : team->extra == 2 ? -15 : 0);
    if (set_roundtime_tmp < 5) set_roundtime_tmp = 5;
    set_backingtime_tmp = set[2];
    next_turn_line(*np, *team, *player);
    if (hud_turnbarall <= 0) hud_turnbarall = 1;
    send_turn(1);
    for (auto& q : Tnetpl::list) q->turnready = 0;
    turn_effects(*player, *team, 1);
    if (g_replay == 0) record_turn_start(1, g_turn_player);
}

void host_positioning_turn() {
    int living = 0, all = 0;
    for (auto& t : Tteam::list) {
        living += t->livingplayers();
        all += t->players;
    }
    hud_turnbardone = std::min(living, all);
    hud_turnbarall = all;
    g_turn_team = g_turn_team == -1 ? Tteam::randomid() : (g_turn_team + 1) % 8;
    std::shared_ptr<Tteam> team;
    for (int i = 0; i < 10 && !team; ++i) {
        auto t = Tteam::get(g_turn_team);
        if (t && t->needspawnplayers() > 0 && Tnetpl::get(t->netplayer))
            team = t;
        else
            g_turn_team = (g_turn_team + 1) % 8;
    }
    if (!team) return;
    std::shared_ptr<Tplayer> player;
    for (auto& p : Tplayer::list)
        if (p->team == team->id && p->health <= 0) {
            player = p;
            break;
        }
    if (!player) return;
    g_turn_state = 1;
    g_turn_netplayer = team->netplayer;
    g_turn_team = team->id;
    g_turn_player = player->id;
    game_setstorm();
    player->wpn = script_primaryweapon();
    set_roundtime_tmp = 10;
    set_backingtime_tmp = 0;
    send_turn(0);
    turn_effects(*player, *team, 0);
}

void joined_turn(int player, int mode) {
    auto p = Tplayer::get(player);
    auto t = p ? Tteam::get(p->team) : nullptr;
    auto np = t ? Tnetpl::get(t->netplayer) : nullptr;
    if (p && t && np) {
        g_turn_state = 1;
        g_turn_player = p->id;
        g_turn_team = t->id;
        g_turn_netplayer = np->id;
        p->wpn = script_primaryweapon();
        if (mode == 1) next_turn_line(*np, *t, *p);
        turn_effects(*p, *t, mode);
    }
    // The mode actually started, so a positioning turn plays back as one.
    if (g_replay == 0) record_turn_start(mode, player);
}

}  // namespace

int game_turn_logic(Tplayer& p, int ai) {
    int left = 0;
    if (g_turn_state == 2)
        left = set_backingtime_tmp * 50 - (g_turn_frames - g_turn_backingstart);
    else if (g_turn_state <= 1)
        left = set_roundtime_tmp * 50 - g_turn_frames;
    const int control = g_turn_state == 1 || g_turn_state == 2;
    if (!control || hud_chatprompt == 1 || ai || lua_allowplayercontrol != 1) g_turn_selfaction = 500;
    if (g_turn_blankframes > 0) g_turn_blankframes--;
    if (g_turn_idletimer > 0) g_turn_idletimer--;
    int requested = 0;
    if (g_turn_state < 99) {
        // Frame numbers travel as 16 bits: a turn that never ends by itself
        // ends before they run out.
        if (left <= 0 || p.health <= 0 || g_turn_frames >= Tfb::kEndTurnFrame) {
            game_ender();
            if (settled() || g_turn_frames >= Tfb::kEndTurnFrame) {
                g_turn_blankframes = 50;
                turn_record(2);
                requested = 1;
            } else if (g_turn_state < 3) {
                turn_record(3);
            }
        }
        if (!requested && p.state_sleeping) {
            g_turn_blankframes = 50;
            turn_record(2);
        }
    } else if (g_turn_state == 99) {
        if (g_turn_blankframes <= 0) {
            g_turn_state = 100;
            end_synchronisation(p);
        }
    } else if (g_turn_state == 100) {
        g_turn_state = 101;
    }
    return control;
}

int game_turn_confirm() {
    if (g_server == 1) return 0;
    auto con = Tudp_con::Get(g_server_ip, g_server_port, 1);
    auto pk = con->Createpacket(1, 1);
    pk->wbyte(100);
    pk->wbyte(2);
    pk->wshort(g_turn);
    con->lp = nullptr;
    return 0;
}

int game_turn_drain() {
    if (game_drain_hook) game_drain_hook();
    for (;;) {
        bool waiting = false;
        for (auto& f : Tfb::fin)
            if (f->frame == g_turn_frames) waiting = true;
        if (!waiting) return 0;
        Tfb::process();
        if (game_drain_hook) game_drain_hook();
    }
}

int game_turn_update() {
    if (g_server != 1) return 0;
    if (!Tnetpl::get(g_turn_netplayer)) {
        trace("player left!");
        return game_turn_start(0, 1 - game_positioningphase());
    }
    if (g_turn_state == 0 || g_turn_state >= 101) {
        for (auto& np : Tnetpl::list)
            if (np->con && np->turnready != 1) return 0;
        trace("next turn!");
        return game_turn_start(0, 1 - game_positioningphase());
    }
    return 0;
}

int game_turn_start(int player, int mode) {
    // Frames of the ending turn that have arrived are applied first: the
    // host relays every frame before the turn message, so every machine
    // then holds the same turn.
    if (g_replay == 0) game_turn_drain();
    debugwrite("start turn");
    if (g_mode == 0 && mode == 1) g_turn_team = -1;
    g_mode = mode;
    lua_resetturn();
    if (mode == 1) g_turn++;
    g_turn_frames = g_turn_backingstart = g_turn_deadframes = g_turn_idletimer = 0;
    g_turn_selfaction = g_turn_selfaction_done = 0;
    g_wpn_attacked = 0;
    g_supply_turncount = 0;
    g_supply_lastspawn = 150;
    g_enddone = 0;
    hud_rmenu = 0;
    hud_menualpha = 0;
    hud_wpnsel = -1;
    hud_drawpos = hud_drawposset = hud_drawposx = hud_drawposy = 0;
    hud_drawtimerval = hud_drawtimermin = hud_drawtimermax = hud_drawtimertemp = 0;
    hud_drawtimer = -1;
    hud_turnbaralpha = 2.5f;
    Tfb::reset();
    for (auto& np : Tnetpl::list) np->frameout.clear();
    Tpro::nextid = 0;
    Tpro::clear();
    if (mode == 1) Tobj::turnupdate();
    for (auto& p : Tplayer::list) {
        p->action = 0;
        p->fx = p->fy = 0;
        p->idle = 0;
        p->idletimer = 5;
    }
    input_flush();
    if (g_server == 1) {
        if (mode == 1)
            host_normal_turn();
        else
            host_positioning_turn();
    } else {
        joined_turn(player, mode);
    }
    return 0;
}
