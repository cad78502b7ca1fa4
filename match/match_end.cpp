// Match end: a result or a cancel saves the replay, tells the joined
// machines, freezes the statistics, clears the match and opens the Game
// Over screen.
#include "core/host_settings.h"
#include "core/settings.h"
#include "core/sound.h"
#include "match/game.h"
#include "match/replay.h"
#include "match/statistics.h"
#include "net/udp/packet.h"
#include "terrain/pack.h"
#include "world/netplayer.h"
#include "world/objects.h"
#include "world/player.h"
#include "world/projectile.h"
#include "world/team.h"

std::string menu_winstring;
int menu_wincol = -1;
std::vector<int> game_results;

namespace {

void finish(const std::string& line) {
    stats_finalize();
    Tnetpl::reset();
    Tplayer::list.clear();
    Tpro::list.clear();
    Tobj::list.clear();
    Tobj_fake::list.clear();
    Tobj::firelist.clear();
    Tobj::hudlist.clear();
    hud_match_reset(1);
    g_turn = 0, g_turn_state = 0, g_turn_frames = 0, g_turn_player = -1, g_turn_netplayer = -1, g_turn_team = -1;
    gui_lobby_addline(line);
    gui_lobby_addline("");
    TChan::stopall();
    menu = kMenuFrontEnd;
    menu_setsub(kSubGameOver);
    g_gravity = g_gravityArray[0];
}

}  // namespace

int game_postgame(int winner) {
    if (game_results.size() >= 256) game_results.erase(game_results.begin());
    game_results.push_back(winner);
    if (g_replay == 0 && set_record == 1) Treplay::savereplay("", winner);
    if (g_server != 0) {
        map_uncompress();
        for (auto& np : Tnetpl::list)
            if (np->con) {
                auto pk = np->con->Createpacket(1, 0);
                pk->wbyte(100), pk->wbyte(3), pk->wbyte(winner);
            }
    } else if (g_replay == 1) {
        map_uncompress(1);
    }
    menu_winstring.clear();
    menu_wincol = 0;
    if (winner == 0) {
        menu_wincol = -1;
    } else {
        for (int id = 0; id < 8; ++id) {
            auto t = Tteam::get(id);
            if (!t || t->color != winner - 1) continue;
            menu_winstring += (menu_winstring.empty() ? "Winner: " : " & ") + t->name;
            menu_wincol = t->color;
        }
    }
    finish("*** GAME OVER ***");
    return 0;
}

int game_cancelgame() {
    if (g_replay == 0 && set_record == 1) Treplay::savereplay("", 0);
    if (g_server != 0) {
        map_uncompress();
        for (auto& np : Tnetpl::list)
            if (np->con) {
                auto pk = np->con->Createpacket(1, 1);
                pk->wbyte(240), pk->wbyte(200);
            }
    }
    menu_winstring = "CANCELED";
    menu_wincol = -1;
    finish("*** GAME CANCELED ***");
    return 0;
}
