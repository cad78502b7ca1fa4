// Match set-up: clearing what a previous match left, the host's start (place
// the teams, hand the placements to every joined machine) and a joined
// machine's start from those parts, then the steps every machine shares.
#include "match/setup.h"

#include <algorithm>
#include <set>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/recent_values.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/sound.h"
#include "core/text.h"
#include "match/game.h"
#include "match/presets.h"
#include "match/replay.h"
#include "match/statistics.h"
#include "net/udp/packet.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"
#include "terrain/shapes.h"
#include "terrain/spawns.h"
#include "terrain/tiles.h"
#include "world/frame_buffer.h"
#include "world/stuff_setup.h"
#include "world/netplayer.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/team.h"
#include "world/water.h"

int g_gamemode_score = 0;
std::string set_gamemode, set_gameender;

namespace {

// The weapon at index i of the script weapon table, or null.
Tscro* weapon_at(int i) {
    if (i < 1 || i >= (int)Tscro::weapon.size()) return nullptr;
    return Tscro::weapon[(size_t)i].get();
}

void clear_world_lists() {
    Tpro::list.clear();
    Tobj_fake::list.clear();
    Tobj::list.clear();
    Tobj::firelist.clear();
    Tobj::hudlist.clear();
}


void team_weapons(int amounts) {
    for (auto& t : Tteam::list)
        for (int i = 1; i < 256; ++i) {
            Tscro* w = weapon_at(i);
            if (amounts) t->wamount[i] = w ? (uint8_t)std::clamp(w->amount, 0, 255) : 0;
            t->wlocked[i] = w ? (uint8_t)(w->initiallock & 255) : 0;
            t->recentcol[i] = 0;
        }
}

void save_recent_teams() {
    if (g_server_hotseat == 0) {
        for (auto& t : Tteam::list)
            if (t->netplayer == 0) {
                Trec::clear();
                Trec::setkey("recent_playercount", std::to_string(t->players));
                Trec::savekeys("recent_playercount.cfg");
                break;
            }
        return;
    }
    Trec::clear();
    for (auto& t : Tteam::list) {
        const std::string n = std::to_string(t->id);
        Trec::setkey("recent_team_slot" + n, t->name);
        Trec::setkey("recent_count_slot" + n, std::to_string(t->players));
        Trec::setkey("recent_color_slot" + n, std::to_string(t->color));
        Trec::setkey("recent_extra_slot" + n, std::to_string(t->extra));
    }
    Trec::savekeys("recent_hotseatteams.cfg");
}

void apply_locks() {
    for (int i = 0; i < kHostSettings; ++i)
        if (!setfreeze[i].empty()) set[i] = std::atoi(setfreeze[i].c_str());
}

void save_weaponset() {
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 9; ++r)
            for (int x = 0; x < 14; ++x) {
                Tscro* w = weapon_at(g_weaponseti[c][x][r]);
                g_weaponset[c][x][r] = w ? w->filename : "";
            }
    menu_wpns_saveset("weaponsets/GF Download.gfws");
}

void read_players(Tudp_p& pk) {
    if (pk.avail() < 1) return;
    int n = pk.rbyte();
    for (int k = 0; k < n && pk.avail() >= 16; ++k) {
        int id = pk.rbyte(), team = pk.rbyte(), health = pk.rint();
        float x = pk.rfloat(), y = pk.rfloat();
        int dir = pk.rbyte() - 1;
        std::string name = pk.rsstr();
        int accessory = pk.rbyte();
        auto p = Tplayer::add_received(id, team);
        if (!p) continue;
        p->health = health;
        p->x = x, p->y = y;
        p->dir = dir;
        p->wpnrot = dir * 90;
        p->name = name;
        p->accessory = accessory;
    }
}

void read_objects(Tudp_p& pk) {
    if (pk.avail() < 1) return;
    int n = pk.rbyte();
    for (int k = 0; k < n && pk.avail() >= 18; ++k) {
        int id = pk.rshort(), typ = pk.rint(), data = pk.rint(), x = pk.rint(), y = pk.rint();
        // Id 0 would ask for a fresh id: a received object keeps the host's.
        if (id > 0) Tobj::Create(typ, x, y, data, id, 0);
    }
}

}  // namespace

int game_start_send(const std::shared_ptr<Tudp_con>& con) {
    int i = 0;
    const int players = (int)Tplayer::list.size();
    for (auto& p : Tplayer::list) {
        if (i % 10 == 0) {
            auto pk = con->Createpacket(1, 1);
            pk->wbyte(241), pk->wbyte(20), pk->wbyte(1), pk->wbyte(std::min(10, players - i));
        }
        auto& pk = con->lp;
        pk->wbyte(p->id);
        pk->wbyte(p->team);
        pk->wint(p->health);
        pk->wfloat(p->x);
        pk->wfloat(p->y);
        pk->wbyte(p->dir + 1);
        pk->wsstr(p->name);
        pk->wbyte(p->accessory);
        i++;
    }
    i = 0;
    const int objects = (int)Tobj::list.size();
    for (auto& o : Tobj::list) {
        if (i % 50 == 0) {
            auto pk = con->Createpacket(1, 1);
            pk->wbyte(241), pk->wbyte(20), pk->wbyte(2), pk->wbyte(std::min(50, objects - i));
        }
        auto& pk = con->lp;
        pk->wshort(o->id);
        pk->wint(o->typ);
        pk->wint(o->data);
        pk->wint((int)o->x);   // truncated toward zero
        pk->wint((int)o->y);
        i++;
    }
    auto pk = con->Createpacket(1, 1);
    pk->wbyte(241), pk->wbyte(20), pk->wbyte(254), pk->wshort(Tscro::primaryweapon);
    pk = con->Createpacket(1, 1);
    pk->wbyte(241), pk->wbyte(20), pk->wbyte(255);
    return 0;
}

int game_gamemode_names() {
    set_gamemode = valueatindex(g_gamemodes, set[19]);
    set_gameender = valueatindex(g_gameenders, set[18]);
    g_gamemode_score = 0;
    if (set[19] >= 0 && set[19] < (int)g_gamemodess.size()) {
        auto items = text_split(g_gamemodess[(size_t)set[19]], ",");
        if (!items.empty()) g_gamemode_score = std::atoi(items[0].c_str());
    }
    return 0;
}

int game_startstate() {
    game_maxhealth();
    g_roundgong = 0, g_roundchangefx = 0;
    g_waterlevel = g_waterlevel_change = map_ysize - 10;
    map_x = (float)(set_scrxh - map_xsize / 2);
    map_y = (float)(set_scryh - map_ysize / 2);
    if (sfx_musicchan) sfx_musicchan->SetPaused(true);
    Tp::list[0].clear();
    Tp::list[1].clear();
    Tpro::list.clear();
    stats_reset();
    hud_match_reset(1);
    return 0;
}

int game_resetstart() {
    clear_world_lists();
    Tp::list[0].clear();
    Tp::list[1].clear();
    hud_match_reset(0);
    hud_currentmenu = 0, hud_wpnsel = -1, hud_rmenu = 0, hud_menualpha = 0;
    gui_in_lobby_notify = 0;
    g_turn = 0, g_turn_state = 0, g_turn_frames = 0, g_turn_player = -1, g_turn_netplayer = -1, g_turn_team = -1;
    g_turn_deadframes = 0, g_turn_idletimer = 0, g_turn_selfaction = 0, g_turn_selfaction_done = 0;
    g_shake = 0, g_round = 0, g_matchlenght = 0, g_endstep = 0, g_gamemode_started = 0;
    for (auto& np : Tnetpl::list) np->conerror = 0;
    g_error_deadframes = 0;
    if (lua) lua_runchunk("projectiles=nil; projectiles={}; objects=nil; objects={};", "reset");
    return 0;
}

int game_reset() {
    Tnetpl::list.clear();
    Tteam::list.clear();
    Tteam::random = -1;
    Tplayer::list.clear();
    clear_world_lists();
    hud_match_reset(1);
    hud_currentmenu = 0, hud_wpnsel = -1, hud_rmenu = 0, hud_menualpha = 0;
    gui_in_lobby_notify = 0;
    g_turn = 0, g_turn_state = 0, g_turn_frames = 0, g_turn_player = -1, g_turn_netplayer = -1, g_turn_team = -1;
    g_turn_deadframes = 0, g_turn_idletimer = 0, g_turn_selfaction = 0, g_round = 0, g_gamemode_started = 0;
    Tp::clear();
    Tfb::reset();
    return 0;
}

int game_start(Tudp_p* packet) {
    if (g_server != 0) {
        // The mode's locks come first, so the placement sees the locked
        // health, positioning, mines and traps; the host's own values are
        // what Recent.cfg keeps.
        int own[kHostSettings];
        std::copy(set, set + kHostSettings, own);
        apply_locks();
        if (map_stuffsetup() == 1) {
            gui_addcon("Starting game");
            for (auto& np : Tnetpl::list)
                if (np->con) game_start_send(np->con);
            team_weapons(1);
            menu = kMenuMatch;
            g_singleplayer = 0;
            std::set<int> colours;
            for (auto& t : Tteam::list)
                if (t->id >= 0 && t->id <= 7) colours.insert(t->color);
            if (colours.size() == 1) {
                g_singleplayer = 1;
                gui_addcon("There is only one team! Using singleplayer mode!");
            }
        } else {
            menu_error("Failed to spawn players! Check your map!", kSubLobby);
            if (Tnetpl::getlobbyready(g_player)) Tnetpl::lobbyready(g_player, 0, 1);
        }
        int locked[kHostSettings];
        std::copy(set, set + kHostSettings, locked);
        std::copy(own, own + kHostSettings, set);
        settings_save_host("sys/gamesettings/Recent.cfg");
        std::copy(locked, locked + kHostSettings, set);
        save_recent_teams();
        set_gamemode = valueatindex(g_gamemodes, set[19]);
        set_gameender = valueatindex(g_gameenders, set[18]);
    } else {
        if (!packet || packet->avail() < 1) return 0;
        switch (packet->rbyte()) {
            case 1: read_players(*packet); return 0;
            case 2: read_objects(*packet); return 0;
            case 254:
                if (packet->avail() >= 2) {
                    Tscro::primaryweapon = packet->rshort();
                    for (auto& p : Tplayer::list) p->wpn = Tscro::primaryweapon;
                }
                return 0;
            case 255: break;
            default: return 0;   // never sent: ignored
        }
        menu = kMenuMatch;
        auto con = Tudp_con::Get(g_server_ip, g_server_port, 1);
        auto pk = con->Createpacket(1, 1);
        pk->wbyte(100), pk->wbyte(2), pk->wshort(0);
        if (set_saveres == 1) save_weaponset();
        Tmap_shape::postperform_leaves();
    }
    return game_start_common();
}

int game_start_common() {
    game_maxhealth();
    if (g_server_hotseat == 0) {
        for (auto& t : Tteam::list)
            if (t->netplayer == g_player) {
                Trec::clear();
                Trec::setkey("recent_team", t->name);
                Trec::savekeys("recent_team.cfg");
                break;
            }
    }
    game_startstate();
    team_weapons(0);
    game_checksettings();
    if (g_replay == 0 && set_record == 1) Treplay::recordinitial();
    game_gamemode_names();
    Tmap_spawn::perform();
    Tteam::sort();
    return 0;
}
