// Match state (stand-in until the match flow exists).
#include "match/game.h"

#include "core/host_settings.h"
#include "match/presets.h"

int g_server = 0;
float g_storm = 0;
int g_turn_state = 0, g_wpn_attacked = 0, g_round = 0, g_turn_player = 0;
float g_gravity = 0;
int g_bgcol[3];
float g_bgcola = 0, g_bgfadeout = 0;

int game() { return 0; }
int game_leave(int) { return 0; }
int game_mode_load() {
    for (auto& f : setfreeze) f.clear();
    return settings_check_host();
}
int game_checksettings() { return 0; }
int game_setstorm() { return 0; }
