// Match state read outside the match and the match step entry points.
#pragma once

#include <string>
#include <vector>

#include "core/shared_state.h"

// 1 when this machine hosts (or plays alone), 0 on a joining machine.
extern int g_server;
extern float g_storm;
extern int g_turn_state, g_wpn_attacked, g_round, g_turn_player;
extern float g_gravity;
// Sky tint set by scripts.
extern int g_bgcol[3];
extern float g_bgcola, g_bgfadeout;

int game();                       // one frame of a match or replay
int game_leave(int announce);
int game_mode_load();
int game_checksettings();
int game_setstorm();

// ---- Turn state used by the frame buffer and world-event records (stand-ins;
// world code sees them through core/shared_state.h).
// Stand-in record of the match-flow calls made by records, oldest first.
extern std::vector<std::string> game_calls;
