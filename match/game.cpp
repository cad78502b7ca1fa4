// Match state (stand-in until the match flow exists).
#include "match/game.h"

#include "core/host_settings.h"
#include "match/presets.h"
#include "world/objects.h"
#include "world/projectile.h"

#include <string>
#include <vector>

int g_server = 0;
float g_storm = 0;
int g_turn_state = 0, g_wpn_attacked = 0, g_round = 0, g_turn_player = 0;
float g_gravity = 0.1f;
int g_shake = 0;
int g_bgcol[3];
float g_bgcola = 0, g_bgfadeout = 0.1f;

// Stand-in. The holder's step, like Tfb::process on the other machines, ends
// each simulated frame with Tplayer::turnaction() after its own records.
int game() { return 0; }
int game_leave(int) { return 0; }
int game_mode_load() {
    for (auto& f : setfreeze) f.clear();
    return settings_check_host();
}
int game_checksettings() { return 0; }
int game_setstorm() { return 0; }

// ---- Turn state and match-flow calls that the frame buffer and the
// world-event records use (stand-ins until the match flow exists; declared for
// world code in core/shared_state.h).
int g_player = 0, g_turn_netplayer = 0, g_mode = 1, g_turn = 0, g_turn_team = -1;
int g_turn_frames = 0, g_turn_deadframes = 0, g_error_deadframes = 0;
int g_turn_idletimer = 0, g_terrainmodify = 0, g_matchlenght = 0, g_frame_move = 0, g_endstep = 0;
int set_roundtime_tmp = 0, set_backingtime_tmp = 0;
int g_turn_backingstart = 0;
int g_server_hotseat = 0;
int g_turn_selfaction = 0, g_turn_selfaction_done = 0;
std::vector<std::string> game_calls;

namespace {
int note(const std::string& call) {
    // Kept short: a record stream from a peer may call these every frame.
    if (game_calls.size() >= 256) game_calls.erase(game_calls.begin());
    game_calls.push_back(call);
    return 0;
}
}  // namespace

int game_scroll() { return 0; }
int game_mode_update(int, int) { return 0; }
int game_turn_start(int player, int mode) {
    g_turn_player = player;
    g_mode = mode;
    // Projectile ids count from 1 in every turn; object reservations end.
    Tpro::clear();
    Tpro::nextid = 0;
    Tobj::turnupdate();
    return note("turn_start " + std::to_string(player) + " " + std::to_string(mode));
}
int game_setposition(int player, int x, int y, int local) {
    return note("setposition " + std::to_string(player) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
                std::to_string(local));
}
int game_switchplayer(int player) { return note("switchplayer " + std::to_string(player)); }
int game_freeplayer(int netplayer, int reason, int flag) {
    return note("freeplayer " + std::to_string(netplayer) + " " + std::to_string(reason) + " " + std::to_string(flag));
}
int game_killteam(int team) { return note("killteam " + std::to_string(team)); }
int game_resetstart() { return note("resetstart"); }
